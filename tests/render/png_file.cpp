// RGB frames to and from PNG files through Cairo's image surfaces, which hold a pixel as
// one native 32-bit word with alpha on top (opaque here, so nothing is premultiplied).
#include "tests/render/png_file.h"

#include <cairo.h>

#include <cstddef>
#include <cstdint>

namespace rt {

bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb) {
    if (rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3) return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(surface));
    for (int y = 0; y < height; ++y) {
        // The file's rows run from the top.
        const unsigned char* in = rgb.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * 3;
        auto* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = 0xFF000000u | uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | in[2];
    }
    cairo_surface_mark_dirty(surface);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

bool readPng(const std::string& path, int* width, int* height, std::vector<unsigned char>* rgb) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)) {
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_surface_flush(surface);
    *width = cairo_image_surface_get_width(surface);
    *height = cairo_image_surface_get_height(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(surface));
    rgb->assign(static_cast<size_t>(*width) * static_cast<size_t>(*height) * 3, 0);
    for (int y = 0; y < *height; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(*height - 1 - y) * stride);
        unsigned char* out = rgb->data() + static_cast<size_t>(y) * static_cast<size_t>(*width) * 3;
        for (int x = 0; x < *width; ++x, out += 3) {
            out[0] = static_cast<unsigned char>(in[x] >> 16);
            out[1] = static_cast<unsigned char>(in[x] >> 8);
            out[2] = static_cast<unsigned char>(in[x]);
        }
    }
    cairo_surface_destroy(surface);
    return true;
}

}  // namespace rt

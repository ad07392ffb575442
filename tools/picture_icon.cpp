// The game's icon, a red three-reel cabinet with its marquee, reels and lever: drawn once,
// written as the SVG icon the desktop entry names, as the PNG sizes installed beside it
// and as the pixel sizes the game's window carries.
#include "picture_icon.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "picture_kit.h"

namespace {

constexpr double kIconUnits = 128;  // the drawing's own square, scaled to each size

constexpr Colour kLeverGrey = rgb(0x5f, 0x6b, 0x6b);
constexpr Colour kKnobTeal = rgb(0x2b, 0xb3, 0xa3);
constexpr Colour kKnobLine = rgb(0x1d, 0x6f, 0x66);
constexpr Colour kCabinet = rgb(0xd8, 0x32, 0x2b);
constexpr Colour kCabinetLine = rgb(0x5a, 0x0d, 0x0b);
constexpr Colour kMarquee = rgb(0xf6, 0xc4, 0x45);
constexpr Colour kMarqueeLine = rgb(0x8a, 0x5a, 0x00);
constexpr Colour kMarqueeText = rgb(0x8a, 0x1a, 0x12);
constexpr Colour kWindowBlack = rgb(0x11, 0x11, 0x11);
constexpr Colour kReelWhite = rgb(0xfa, 0xfa, 0xfa);
constexpr Colour kSevenRed = rgb(0xd0, 0x23, 0x1c);
constexpr Colour kSlotYellow = rgb(0xf6, 0xe0, 0x00);

// Text in bold with its advance centred on x and its baseline on y.
void centredOnBaseline(cairo_t* cr, const char* text, double x, double baseline, double size, const Colour& c) {
    selectFont(cr, size);
    cairo_new_path(cr);
    cairo_move_to(cr, x - textWidth(cr, text) / 2, baseline);
    cairo_text_path(cr, text);
    setColour(cr, c);
    cairo_fill(cr);
}

// Puts a file written whole in its place: a failed build never leaves half a file behind
// that the next build would take as made.
bool finishFile(const std::string& part, const char* path, std::string& error) {
    if (std::rename(part.c_str(), path) == 0) return true;
    error = "cannot rename " + part;
    std::remove(part.c_str());
    return false;
}

}  // namespace

void drawIcon(cairo_t* cr, double size) {
    cairo_save(cr);
    cairo_scale(cr, size / kIconUnits, size / kIconUnits);

    // The lever on the right, behind the cabinet's edge, with its knob lit from the top left.
    roundedRect(cr, 104, 30, 6, 52, 3);
    setColour(cr, kLeverGrey);
    cairo_fill(cr);
    circle(cr, 107, 26, 10);
    cairo_pattern_t* knob = cairo_pattern_create_radial(104, 23, 0, 104, 23, 13);
    cairo_pattern_add_color_stop_rgb(knob, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(knob, 1, kKnobTeal.r, kKnobTeal.g, kKnobTeal.b);
    cairo_set_source(cr, knob);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(knob);
    setColour(cr, kKnobLine);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);

    // The cabinet and the marquee on top of it.
    roundedRect(cr, 10, 30, 92, 88, 10);
    fillStroke(cr, kCabinet, kCabinetLine, 3);
    roundedRect(cr, 18, 10, 76, 26, 13);
    fillStroke(cr, kMarquee, kMarqueeLine, 3);
    centredOnBaseline(cr, "SLOTS", 56, 29, 15, kMarqueeText);

    // The black reel window with three reels showing sevens.
    roundedRect(cr, 18, 46, 76, 40, 4);
    setColour(cr, kWindowBlack);
    cairo_fill(cr);
    for (double left : {22.0, 45.5, 69.0}) {
        roundedRect(cr, left, 50, 21, 32, 2);
        setColour(cr, kReelWhite);
        cairo_fill(cr);
        centredOnBaseline(cr, "7", left + 10.5, 74, 20, kSevenRed);
    }

    // The two bet buttons and the coin slot.
    for (double x : {66.0, 84.0}) {
        circle(cr, x, 102, 7);
        fillStroke(cr, kWhite, kCabinetLine, 2);
    }
    roundedRect(cr, 22, 98, 26, 8, 2);
    fillStroke(cr, kSlotYellow, kCabinetLine, 1.5);
    cairo_rectangle(cr, 26, 101, 18, 2);
    setColour(cr, kWindowBlack);
    cairo_fill(cr);

    cairo_restore(cr);
}

bool writeIconSvg(const char* path, std::string& error) {
    const std::string part = std::string(path) + ".part";
    cairo_surface_t* surface = cairo_svg_surface_create(part.c_str(), kIconUnits, kIconUnits);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr, kIconUnits);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);  // writes the file
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(status);
        std::remove(part.c_str());
        return false;
    }
    return finishFile(part, path, error);
}

// The icon drawn at `size` x `size` pixels (premultiplied ARGB32), or nullptr when Cairo
// fails; the caller destroys it.
static cairo_surface_t* drawnIcon(int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr, size);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (drawn && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) return surface;
    cairo_surface_destroy(surface);
    return nullptr;
}

std::vector<uint32_t> iconPixels(int size) {
    std::vector<uint32_t> pixels;
    cairo_surface_t* surface = drawnIcon(size);
    if (surface == nullptr) return pixels;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    pixels.reserve(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < size; ++x) {
            // Cairo premultiplies by alpha; a window icon does not.
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            auto channel = [a](uint32_t c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
            pixels.push_back(a << 24 | channel((p >> 16) & 0xFF) << 16 | channel((p >> 8) & 0xFF) << 8 |
                             channel(p & 0xFF));
        }
    }
    cairo_surface_destroy(surface);
    return pixels;
}

bool writeIconPngs(const char* dir, const char* name, std::string& error) {
    for (int size : kInstalledIconSizes) {
        const std::string side = std::to_string(size);
        std::string square = side;
        square.append("x").append(side);
        const std::filesystem::path folder = std::filesystem::path(dir) / square / "apps";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            error = "cannot create " + folder.string() + ": " + ec.message();
            return false;
        }
        const std::string path = (folder / (std::string(name) + ".png")).string();
        const std::string part = path + ".part";
        cairo_surface_t* surface = drawnIcon(size);
        if (surface == nullptr) {
            error = "drawing the icon at " + side + " px failed";
            return false;
        }
        // Cairo writes straight, not premultiplied, alpha and no time stamp: the same bytes every build.
        const cairo_status_t status = cairo_surface_write_to_png(surface, part.c_str());
        cairo_surface_destroy(surface);
        if (status != CAIRO_STATUS_SUCCESS) {
            error = path + ": " + cairo_status_to_string(status);
            std::remove(part.c_str());
            return false;
        }
        if (!finishFile(part, path.c_str(), error)) return false;
    }
    return true;
}

bool writeIconSource(const char* path, std::string& error) {
    const std::string part = std::string(path) + ".part";
    std::FILE* file = std::fopen(part.c_str(), "w");
    if (file == nullptr) {
        error = "cannot open the file";
        return false;
    }
    std::fprintf(file,
                 "// Made by make-pictures --icon: the game's icon at the sizes its window carries.\n"
                 "#include \"app/desktop_window.h\"\n\n"
                 "const uint32_t windowIcon[] = {\n");
    bool drawn = true;
    for (int size : kWindowIconSizes) {
        const std::vector<uint32_t> pixels = iconPixels(size);
        if (pixels.empty()) {
            drawn = false;
            break;
        }
        std::fprintf(file, "    %d, %d,", size, size);
        for (size_t i = 0; i < pixels.size(); ++i)
            std::fprintf(file, "%s0x%08x,", i % 8 == 0 ? "\n    " : " ", static_cast<unsigned>(pixels[i]));
        std::fprintf(file, "\n");
    }
    std::fprintf(file, "};\nconst size_t windowIconWords = sizeof windowIcon / sizeof windowIcon[0];\n");
    const bool written = std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!drawn || !written || !closed) {
        error = drawn ? "writing the file failed" : "drawing the icon failed";
        std::remove(part.c_str());
        return false;
    }
    return finishFile(part, path, error);
}

// make-pictures OUTDIR: draws the game's nineteen bitmaps and writes them into OUTDIR.
// make-pictures --icon SVG SOURCE PNGDIR: writes the game's icon as an SVG file, as the
// C++ source of the pixel sizes its window carries, and as PNGs named as the SVG is in
// PNGDIR/NxN/apps.
// Silent on success; one message and a non-zero exit status on any failure.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "bmp_writer.h"
#include "picture_icon.h"
#include "pictures.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

// Cairo and fontconfig keep caches for the life of the process; hand them back so a leak
// checker sees a clean exit (Cairo's first: it still holds fontconfig objects).
int releaseCaches(int status) {
    cairo_debug_reset_static_data();
    FcFini();
    return status;
}

int writeIcon(const char* svgPath, const char* sourcePath, const char* pngDir) {
    std::string error;
    if (!writeIconSvg(svgPath, error)) {
        std::fprintf(stderr, "make-pictures: writing the icon %s failed: %s\n", svgPath, error.c_str());
        return 1;
    }
    if (!writeIconSource(sourcePath, error)) {
        std::fprintf(stderr, "make-pictures: writing the icon source %s failed: %s\n", sourcePath, error.c_str());
        return 1;
    }
    // Named as the SVG is, which is the name the desktop entry's Icon= gives.
    const std::string name = std::filesystem::path(svgPath).stem().string();
    if (!writeIconPngs(pngDir, name.c_str(), error)) {
        std::fprintf(stderr, "make-pictures: writing the icon's PNGs failed: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--icon") return releaseCaches(writeIcon(argv[2], argv[3], argv[4]));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n       %s --icon SVG SOURCE PNGDIR\n",
                     argc > 0 ? argv[0] : "make-pictures", argc > 0 ? argv[0] : "make-pictures");
        return 2;
    }
    const std::filesystem::path outDir(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "make-pictures: cannot create %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }

    int status = 0;
    for (const PictureEntry& picture : kPictures) {
        std::string error;
        const std::vector<uint8_t> rgb = renderPictureRgb(picture, error);
        if (rgb.empty()) {
            std::fprintf(stderr, "make-pictures: drawing %s failed: %s\n", picture.fileName(), error.c_str());
            status = 1;
            break;
        }
        const std::filesystem::path path = outDir / picture.fileName();
        if (!writeFile(path, encodeBmp(rgb, picture.width, picture.height))) {
            std::fprintf(stderr, "make-pictures: cannot write %s\n", path.string().c_str());
            status = 1;
            break;
        }
    }
    return releaseCaches(status);
}

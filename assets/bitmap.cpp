// The bitmap reader: 24-bit uncompressed Windows bitmaps into packed RGB rows. Every
// byte of the file is treated as hostile: sizes are checked against the file first.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "assets/assets.h"

// ---------------------------------------------------------------------------------
// Layout of the header
// ---------------------------------------------------------------------------------

static const long DataOffsetField = 10;
static const long WidthField = 18;
static const long HeaderSize = 54;

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

uint32_t readLE32(FILE* file) {
    uint32_t b0 = static_cast<uint32_t>(getc(file));
    uint32_t b1 = static_cast<uint32_t>(getc(file));
    uint32_t b2 = static_cast<uint32_t>(getc(file));
    uint32_t b3 = static_cast<uint32_t>(getc(file));
    return b0 + (b1 << 8) + (b2 << 16) + (b3 << 24);
}

uint16_t readLE16(FILE* file) {
    uint32_t b0 = static_cast<uint32_t>(getc(file));
    uint32_t b1 = static_cast<uint32_t>(getc(file));
    return static_cast<uint16_t>(b0 + (b1 << 8));
}

// Closes the file and reports failure: every refusal ends here.
static int refuse(FILE* file) {
    std::fclose(file);
    return 0;
}

// Reads `height` rows of `rowBytes` from `offset` on, each stored in `storedRow`
// bytes, into the packed block. Rows without padding come in one read; otherwise the
// padding between rows is read past (the last row may lack its own).
static bool readRows(FILE* file, uint32_t offset, uint64_t rowBytes, uint64_t storedRow, Image* image) {
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
    if (storedRow == rowBytes)
        return std::fread(image->pixels, static_cast<size_t>(rowBytes * image->height), 1, file) == 1;
    unsigned char padding[3];
    const size_t paddingBytes = static_cast<size_t>(storedRow - rowBytes);
    for (uint32_t row = 0; row < image->height; ++row) {
        if (row > 0 && std::fread(padding, paddingBytes, 1, file) != 1) return false;
        if (std::fread(image->pixels + rowBytes * row, static_cast<size_t>(rowBytes), 1, file) != 1) return false;
    }
    return true;
}

// The file stores blue, green, red; the GL is handed red, green, blue. `size` is a
// whole number of pixels.
static void swapRedAndBlue(unsigned char* pixels, size_t size) {
    for (unsigned char *pixel = pixels, *end = pixels + size; pixel != end; pixel += 3) {
        const unsigned char blue = pixel[0];
        pixel[0] = pixel[2];
        pixel[2] = blue;
    }
}

// Opens a regular file for reading; anything else is refused before it is read: a FIFO
// or a device could keep the game waiting for ever, a directory has no pixels. It is
// looked at before the open, which a device may act on, and again once open: the open
// cannot wait (O_NONBLOCK), and what is read is the very file checked.
static FILE* openRegularFile(const char* name) {
    struct stat status {};
    if (stat(name, &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
    const int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || fcntl(fd, F_SETFL, 0) != 0) {
        close(fd);
        return nullptr;
    }
    FILE* file = fdopen(fd, "rb");
    if (!file) close(fd);
    return file;
}

int loadBitmap(const char* name, Image* image) {
    FILE* file = openRegularFile(name);
    if (!file) {
        std::printf("File Not Found : %s\n", name);
        return 0;
    }

    std::fseek(file, DataOffsetField, SEEK_CUR);
    const uint32_t dataOffset = readLE32(file);
    std::fseek(file, WidthField, SEEK_SET);
    image->width = readLE32(file);
    image->height = readLE32(file);
    const uint64_t size = uint64_t{image->width} * image->height * 3u;

    const uint16_t planes = readLE16(file);
    if (planes != 1) {
        std::printf("Planes from %s is not 1: %u\n", name, static_cast<unsigned>(planes));
        return refuse(file);
    }
    const uint16_t bpp = readLE16(file);
    if (bpp != 24) {
        std::printf("Bpp from %s is not 24: %u\n", name, static_cast<unsigned>(bpp));
        return refuse(file);
    }
    // Also refuses a negative height, the mark of a top-down bitmap.
    if (size > UINT32_MAX) {
        std::printf("Image size from %s is not supported: %u x %u\n", name, image->width, image->height);
        return refuse(file);
    }

    // Nothing is allocated for pixels the file does not hold. Stored rows are padded
    // to whole 4-byte words; the last row may come without its padding.
    const uint64_t rowBytes = uint64_t{image->width} * 3u;
    const uint64_t storedRow = (rowBytes + 3u) & ~uint64_t{3};
    std::fseek(file, 0, SEEK_END);
    const long end = std::ftell(file);
    const uint64_t fileSize = end < 0 ? 0 : static_cast<uint64_t>(end);
    const uint64_t needed = image->height == 0 ? 0 : storedRow * (image->height - 1u) + rowBytes;
    if (size == 0 || dataOffset < HeaderSize || dataOffset > fileSize || needed > fileSize - dataOffset) {
        std::printf("Error reading image data from %s.\n", name);
        return refuse(file);
    }

    image->pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    if (!image->pixels) {
        std::printf("Error allocating memory for color-corrected image data");
        return refuse(file);
    }

    // One seek, then the rows in file order: a seek per row costs a system call or two
    // per row, thousands for the nineteen pictures.
    if (!readRows(file, dataOffset, rowBytes, storedRow, image)) {
        std::printf("Error reading image data from %s.\n", name);
        return refuse(file);
    }
    swapRedAndBlue(image->pixels, static_cast<size_t>(size));

    std::fclose(file);
    return 1;
}

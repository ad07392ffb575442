// Assets: the reader of 24-bit bitmap files and the twenty fixed texture slots.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>

// ---------------------------------------------------------------------------------
// Bitmap reader
// ---------------------------------------------------------------------------------

// A decoded bitmap: rows bottom first, three bytes a pixel in red, green, blue order,
// tightly packed. The pixel block belongs to the record's owner.
struct Image {
    uint32_t width;
    uint32_t height;
    unsigned char* pixels;
};

// Reads a 24-bit uncompressed bitmap into `image`. Returns 1, or 0 after printing why.
int loadBitmap(const char* name, Image* image);
// Little-endian fields; the end of the file enters the sum as -1, like any byte.
uint32_t readLE32(FILE* file);
uint16_t readLE16(FILE* file);

// ---------------------------------------------------------------------------------
// Texture slots
// ---------------------------------------------------------------------------------

// The fixed texture names: the plain slot, then one slot a picture.
enum TextureSlot : GLuint {
    TexPlain = 0,
#define PICTURE(slot, enumerator, file) enumerator = (slot),
#include "assets/picture_table.h"
#undef PICTURE
};

// The file each loaded slot wears, indexed by slot; slot 0 has none.
inline constexpr const char* const textureFiles[] = {
    nullptr,
#define PICTURE(slot, enumerator, file) file,
#include "assets/picture_table.h"
#undef PICTURE
};

constexpr int PictureCount = static_cast<int>(std::size(textureFiles)) - 1;

// The table's rows stand in slot order, which is the order of loading and of the names.
constexpr bool picturesInSlotOrder() {
    const GLuint slots[] = {
        TexPlain,
#define PICTURE(slot, enumerator, file) enumerator,
#include "assets/picture_table.h"
#undef PICTURE
    };
    for (size_t i = 0; i < std::size(slots); ++i)
        if (slots[i] != i) return false;
    return true;
}
static_assert(picturesInSlotOrder(), "the pictures' rows out of slot order");

constexpr int CheckerSize = 64;

// What loading takes from the free store, kept until the process ends: the checker's
// pixels, the image record of the latest load, and every picture's record (which the
// latest alone would leave lost to a leak checker).
struct TextureMemory {
    unsigned char* checkerImage;
    Image* loadImageRecord;
    Image* keptImages[PictureCount + 1];
};
extern TextureMemory textureMemory;

// Fills one slot from one bitmap file, or ends the process with status 1.
void loadTexture(const char* fileName, TextureSlot slot);
// Loads the nineteen pictures into slots 1 to 19, in slot order.
void loadAllTextures();
void makeChecker(int width, int height);
// Gives the plain slot its one white texel; once, at start-up, before any drawing.
void fillPlainSlot();
// Binds the plain slot: what follows shows its own colour, as if untextured.
void bindPlainTexture();

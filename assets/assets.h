// Assets: the reader of 24-bit bitmap files and the twenty fixed texture slots.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>

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

enum TextureSlot : GLuint {
    TexPlain = 0,
    TexBackdrop = 1,
    TexReel = 2,
    TexBetOne = 3,
    TexBetFive = 4,
    TexMarqueeOne = 5,
    TexMarqueeFive = 6,
    TexWinTwo = 7,
    TexWinThree = 8,
    TexWinZero = 9,
    TexCoin = 10,
    TexTicket = 11,
    TexMenu = 12,
    TexTokenBackdrop = 13,
    TexDollarOne = 14,
    TexDollarTwo = 15,
    TexDollarFive = 16,
    TexPrizeBackdrop = 17,
    TexWinner = 18,  // the loser sign must stay right after it
    TexLoser = 19,
};

constexpr int PictureCount = 19;

// The file each loaded slot wears, indexed by slot; slot 0 has none.
extern const char* const textureFiles[PictureCount + 1];

constexpr int CheckerSize = 64;

extern unsigned char* checkerImage;
extern Image* loadImageRecord;

// Fills one slot from one bitmap file, or ends the process with status 1.
void loadTexture(const char* fileName, TextureSlot slot);
// Loads the nineteen pictures into slots 1 to 19, in slot order.
void loadAllTextures();
void makeChecker(int width, int height);
// Gives the plain slot its one white texel; once, at start-up, before any drawing.
void fillPlainSlot();
// Binds the plain slot: what follows shows its own colour, as if untextured.
void bindPlainTexture();

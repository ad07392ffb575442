// The twenty fixed texture slots: the plain slot 0 (one white texel) and the nineteen
// pictures loaded into slots 1 to 19 at start-up. After start-up slots are only ever bound.
#include <cstdlib>
#include <iostream>

#include "assets/assets.h"

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

TextureMemory textureMemory{};

static const int CheckerSquare = 8;

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

void loadTexture(const char* fileName, TextureSlot slot) {
    Image* const image = static_cast<Image*>(std::malloc(sizeof(Image)));
    textureMemory.loadImageRecord = image;
    if (!image) {
        std::printf("Error allocating space for image");
        std::exit(1);
    }
    *image = Image{0, 0, nullptr};
    textureMemory.keptImages[slot] = image;
    std::cout << "trying to load " << fileName << std::endl;
    if (!loadBitmap(fileName, image)) std::exit(1);

    glBindTexture(GL_TEXTURE_2D, slot);
    // Rows are tightly packed: the GL must not expect them padded to 4 bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, static_cast<GLsizei>(image->width), static_cast<GLsizei>(image->height), 0,
                 GL_RGB, GL_UNSIGNED_BYTE, image->pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

void loadAllTextures() {
    for (int slot = 1; slot <= PictureCount; ++slot) loadTexture(textureFiles[slot], static_cast<TextureSlot>(slot));
}

void makeChecker(int width, int height) {
    unsigned char* const checkerImage = new unsigned char[static_cast<size_t>(width) * static_cast<size_t>(height) * 3];
    textureMemory.checkerImage = checkerImage;
    for (int i = 0; i < width; ++i) {
        for (int j = 0; j < height; ++j) {
            const unsigned char v = ((i / CheckerSquare + j / CheckerSquare) % 2 == 1) ? 255 : 0;
            unsigned char* pixel = checkerImage + (static_cast<size_t>(i) + static_cast<size_t>(height) * j) * 3;
            pixel[0] = pixel[1] = pixel[2] = v;
        }
    }
}

// The plain slot holds one white texel, sampled like every picture (nearest, repeating):
// modulating by white leaves a piece its own colour, so a piece drawn under it looks
// untextured while it shares the textured pieces' GL state. llvmpipe compiles a shader
// for each combination of state a frame uses; one combination for all spares the first
// frame most of those compiles.
static const unsigned char PlainTexel[3] = {255, 255, 255};

void fillPlainSlot() {
    glBindTexture(GL_TEXTURE_2D, TexPlain);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, PlainTexel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

void bindPlainTexture() { glBindTexture(GL_TEXTURE_2D, TexPlain); }

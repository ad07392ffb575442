// The size and drawing of the game's nineteen pictures in texture-slot order, and the
// rendering of one into RGB pixels with Cairo. Each family of pictures is drawn in its
// own file.
#include "pictures.h"

#include <cstddef>

#include "picture_families.h"

// ---------------------------------------------------------------------------------
// Table and rendering
// ---------------------------------------------------------------------------------

const PictureEntry kPictures[PictureCount] = {
    {TexBackdrop, 512, 512, drawCabinet},
    {TexReel, 512, 128, drawReelStrip},
    {TexBetOne, 256, 256, drawBetOneButton},
    {TexBetFive, 256, 256, drawBetFiveButton},
    {TexMarqueeOne, 512, 64, drawMarqueeBetOne},
    {TexMarqueeFive, 512, 64, drawMarqueeBetFive},
    {TexWinTwo, 512, 64, drawMarqueePair},
    {TexWinThree, 512, 64, drawMarqueeJackpot},
    {TexWinZero, 512, 64, drawMarqueeNoWin},
    {TexCoin, 256, 256, drawTokenCoin},
    {TexTicket, 128, 256, drawTicket},
    {TexMenu, 256, 512, drawMenu},
    {TexTokenBackdrop, 512, 512, drawTokenCounter},
    {TexDollarOne, 256, 256, drawDollarOne},
    {TexDollarTwo, 256, 256, drawDollarTwo},
    {TexDollarFive, 256, 256, drawDollarFive},
    {TexPrizeBackdrop, 512, 512, drawPrizeStore},
    {TexWinner, 512, 256, drawWinnerSign},
    {TexLoser, 512, 256, drawLoserSign},
};

std::vector<uint8_t> renderPictureRgb(const PictureEntry& picture, std::string& error) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
    picture.draw(cr, picture.width, picture.height);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);

    std::vector<uint8_t> rgb;
    if (status != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(status);
    } else {
        // RGB24 keeps each pixel as a native 32-bit word 0x00RRGGBB.
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
        size_t out = 0;
        for (int y = 0; y < picture.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
            for (int x = 0; x < picture.width; ++x) {
                rgb[out++] = static_cast<uint8_t>((row[x] >> 16) & 0xFF);
                rgb[out++] = static_cast<uint8_t>((row[x] >> 8) & 0xFF);
                rgb[out++] = static_cast<uint8_t>(row[x] & 0xFF);
            }
        }
    }
    cairo_surface_destroy(surface);
    return rgb;
}

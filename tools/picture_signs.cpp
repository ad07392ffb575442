// The menu panel with the game's keys and how to play, and the prize counter's verdict signs,
// winner and loser.
#include <algorithm>
#include <cstring>

#include "app/keys.h"
#include "picture_families.h"
#include "picture_kit.h"

namespace {

constexpr double kMenuWordFont = 19;  // the menu's words at most; smaller where a line needs it

constexpr Colour kWinGreen = rgb(30, 150, 64);
constexpr Colour kWinGreenDark = rgb(8, 70, 28);
constexpr Colour kLoseRed = rgb(218, 36, 36);
constexpr Colour kLoseGrey = rgb(104, 104, 116);
constexpr Colour kLoseGreyDark = rgb(58, 58, 68);

constexpr Colour kConfetti[] = {rgb(255, 80, 80), rgb(255, 206, 54), rgb(90, 170, 255), rgb(255, 255, 255),
                                rgb(250, 120, 220)};

// The verdict signs' border, with bulbs along its top and bottom edges.
void signFrame(cairo_t* cr, int w, int h, const Colour& border, const Colour& bulbLit, const Colour& bulbDim) {
    roundedRect(cr, 5, 5, w - 10, h - 10, 18);
    setColour(cr, border);
    cairo_set_line_width(cr, 10);
    cairo_stroke(cr);
    bulbRow(cr, 30, w - 30, 5, 26, 4, bulbLit, bulbDim);
    bulbRow(cr, 30, w - 30, h - 5, 26, 4, bulbLit, bulbDim);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Menu panel
// ---------------------------------------------------------------------------------

void drawMenu(cairo_t* cr, int w, int h) {
    verticalGradient(cr, 0, 0, w, h, rgb(30, 34, 84), rgb(12, 14, 40));
    roundedRect(cr, 6, 6, w - 12, h - 12, 14);
    setColour(cr, kGold);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    roundedRect(cr, 13, 13, w - 26, h - 26, 9);
    setColour(cr, kGoldDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);

    const double sx = w / 256.0, sy = h / 512.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);
    selectFont(cr, 34);
    drawText(cr, "KEYS", 128, 40, kGold, &kCabinetDark, 5);

    // Every key of the game's table: its cap in a column as wide as the widest narrow cap
    // and its words after it; a wide cap (Space) pushes only its own words along. All the
    // words share the largest size at which every line fits.
    const double capFont = 17, capHeight = 27, capPad = 6, left = 22, right = 236, gap = 7;
    selectFont(cr, capFont);
    auto capWidth = [cr, capHeight](const char* cap) { return std::max(capHeight, textWidth(cr, cap) + 12); };
    double column = 0;
    for (const KeyBinding& key : keyBindings)
        if (std::strlen(key.cap) <= 3) column = std::max(column, capWidth(key.cap));
    double wordFont = kMenuWordFont;
    for (const KeyBinding& key : keyBindings) {
        selectFont(cr, capFont);
        const double start = left + std::max(column, capWidth(key.cap)) + gap;
        wordFont = std::min(wordFont, fitFont(cr, key.menuWords, wordFont, right - start));
    }
    double y = 80;
    for (const KeyBinding& key : keyBindings) {
        selectFont(cr, capFont);
        const double width = capWidth(key.cap);
        const double capLeft = left + std::max(0.0, (column - width) / 2);  // narrow caps centred in their column
        roundedRect(cr, capLeft, y - capHeight / 2, width, capHeight, capPad);
        fillStroke(cr, kCream, kGoldDark, 2.5);
        drawText(cr, key.cap, capLeft + width / 2, y, kInk);
        selectFont(cr, wordFont);
        drawText(cr, key.menuWords, left + std::max(column, width) + gap, y, kCream, nullptr, 0, Align::Left);
        y += 34.5;
    }

    setColour(cr, kGoldDark);
    cairo_rectangle(cr, 24, 424, 208, 2);
    cairo_fill(cr);
    const char* howTo[] = {"Click BET 1 or BET 5", "Pair: tickets", "Three: tickets + tokens"};
    y = 443;
    for (const char* text : howTo) {
        fitFont(cr, text, 17, 208);
        drawText(cr, text, 128, y, kWhite);
        y += 23;
    }
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------------
// Verdict signs
// ---------------------------------------------------------------------------------

void drawWinnerSign(cairo_t* cr, int w, int h) {
    fillAll(cr, w, h, kWinGreenDark);
    cairo_rectangle(cr, 0, 0, w, h);
    radialFill(cr, w / 2.0, h / 2.0, w * 0.6, kWinGreen, kWinGreenDark);

    // Confetti round the edges only, clear of the lettering.
    Scatter scatter{0x5EED0001u};
    for (int placed = 0; placed < 44;) {
        const double x = scatter.between(14, w - 14), y = scatter.between(14, h - 14);
        if (x > w * 0.1 && x < w * 0.9 && y > h * 0.16 && y < h * 0.92) continue;
        ++placed;
        const Colour c = kConfetti[static_cast<int>(scatter.next() * 5) % 5];
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, scatter.between(0, kPi));
        cairo_rectangle(cr, -5, -2, 10, 4);
        setColour(cr, c);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    sparkle(cr, w * 0.08, h * 0.22, 16, kGoldPale);
    sparkle(cr, w * 0.92, h * 0.22, 16, kGoldPale);
    sparkle(cr, w * 0.07, h * 0.78, 12, kWhite);
    sparkle(cr, w * 0.93, h * 0.78, 12, kWhite);
    signFrame(cr, w, h, kGold, kWhite, rgb(255, 150, 40));

    const Colour outline = rgb(80, 40, 0);
    fitFont(cr, "WINNER!", h * 0.55, w * 0.82);
    drawText(cr, "WINNER!", w / 2.0, h * 0.44, kGold, &outline, h * 0.045);
    fitFont(cr, "YOU WIN A PRIZE!", h * 0.13, w * 0.7);
    drawText(cr, "YOU WIN A PRIZE!", w / 2.0, h * 0.79, kWhite, &kWinGreenDark, h * 0.02);
}

void drawLoserSign(cairo_t* cr, int w, int h) {
    verticalGradient(cr, 0, 0, w, h, kLoseGrey, kLoseGreyDark);
    signFrame(cr, w, h, kLoseRed, rgb(255, 190, 190), rgb(120, 30, 30));

    fitFont(cr, "LOSER", h * 0.46, w * 0.7);
    drawText(cr, "LOSER", w / 2.0, h * 0.35, kLoseRed, &kWhite, h * 0.035);
    fitFont(cr, "Not enough tickets", h * 0.13, w * 0.82);
    drawText(cr, "Not enough tickets", w / 2.0, h * 0.67, rgb(238, 238, 242));
    fitFont(cr, "5 needed", h * 0.13, w * 0.5);
    drawText(cr, "5 needed", w / 2.0, h * 0.83, rgb(255, 210, 90));
}

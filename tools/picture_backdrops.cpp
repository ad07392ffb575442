// The three backdrops: the slot machine's cabinet front, the space-themed prize counter
// with its shelves of prizes, and the token counter.
#include "picture_families.h"
#include "picture_kit.h"

// ---------------------------------------------------------------------------------
// Backdrops
// ---------------------------------------------------------------------------------
// Positions below are fractions of the plate: x from the left, y from the top.

namespace {

constexpr Colour kChrome = rgb(206, 210, 220);
constexpr Colour kChromeDark = rgb(108, 112, 128);
constexpr Colour kNight = rgb(18, 22, 66);
constexpr Colour kNightDeep = rgb(4, 5, 22);
constexpr Colour kFelt = rgb(14, 96, 70);
constexpr Colour kFeltDark = rgb(5, 44, 32);

// The prize counter's shelves and the prizes that stand on them, each on its base line.
void shelf(cairo_t* cr, double x, double y, double w) {
    cairo_rectangle(cr, x, y, w, 8);
    setColour(cr, rgb(150, 160, 190));
    cairo_fill(cr);
    cairo_rectangle(cr, x, y + 8, w, 4);
    setColour(cr, rgb(70, 76, 110));
    cairo_fill(cr);
}

void rocketPrize(cairo_t* cr, double x, double base) {
    cairo_move_to(cr, x, base - 64);
    cairo_curve_to(cr, x + 16, base - 50, x + 14, base - 22, x + 11, base - 10);
    cairo_line_to(cr, x - 11, base - 10);
    cairo_curve_to(cr, x - 14, base - 22, x - 16, base - 50, x, base - 64);
    cairo_close_path(cr);
    fillStroke(cr, rgb(235, 238, 245), rgb(90, 96, 120), 2);
    cairo_move_to(cr, x - 11, base - 26);
    cairo_line_to(cr, x - 22, base);
    cairo_line_to(cr, x - 10, base - 10);
    cairo_move_to(cr, x + 11, base - 26);
    cairo_line_to(cr, x + 22, base);
    cairo_line_to(cr, x + 10, base - 10);
    setColour(cr, rgb(220, 40, 50));
    cairo_fill(cr);
    circle(cr, x, base - 40, 6);
    fillStroke(cr, rgb(90, 190, 255), rgb(40, 60, 110), 2);
}

void alienPrize(cairo_t* cr, double x, double base) {
    ellipse(cr, x, base - 24, 22, 24);
    fillStroke(cr, rgb(110, 220, 90), rgb(30, 110, 40), 2);
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, x + side * 8, base - 44);
        cairo_line_to(cr, x + side * 14, base - 60);
        setColour(cr, rgb(30, 110, 40));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        circle(cr, x + side * 14, base - 60, 4);
        setColour(cr, kGold);
        cairo_fill(cr);
        ellipse(cr, x + side * 8, base - 28, 5, 7);
        setColour(cr, kInk);
        cairo_fill(cr);
    }
}

void planetPrize(cairo_t* cr, double x, double base, const Colour& body) {
    circle(cr, x, base - 22, 20);
    radialFill(cr, x - 7, base - 30, 28, kWhite, body);
    ellipse(cr, x, base - 22, 34, 8, -0.25);
    setColour(cr, kGoldPale);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void robotPrize(cairo_t* cr, double x, double base) {
    roundedRect(cr, x - 16, base - 34, 32, 34, 4);
    fillStroke(cr, kChrome, kChromeDark, 2);
    roundedRect(cr, x - 13, base - 58, 26, 22, 5);
    fillStroke(cr, kChrome, kChromeDark, 2);
    setColour(cr, rgb(255, 80, 60));
    circle(cr, x - 6, base - 47, 3.5);
    circle(cr, x + 6, base - 47, 3.5);
    cairo_fill(cr);
    cairo_move_to(cr, x, base - 58);
    cairo_line_to(cr, x, base - 66);
    setColour(cr, kChromeDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    circle(cr, x, base - 67, 3);
    setColour(cr, kGold);
    cairo_fill(cr);
}

void giftPrize(cairo_t* cr, double x, double base, const Colour& box) {
    cairo_rectangle(cr, x - 18, base - 32, 36, 32);
    fillStroke(cr, box, kInk, 1.5);
    setColour(cr, kGold);
    cairo_rectangle(cr, x - 3, base - 32, 6, 32);
    cairo_rectangle(cr, x - 18, base - 19, 36, 6);
    cairo_fill(cr);
    ellipse(cr, x - 7, base - 36, 7, 4, 0.4);
    ellipse(cr, x + 7, base - 36, 7, 4, -0.4);
    cairo_fill(cr);
}

void ufoPrize(cairo_t* cr, double x, double base) {
    ellipse(cr, x, base - 30, 12, 10);
    fillStroke(cr, rgb(140, 220, 255), rgb(40, 70, 120), 2);
    ellipse(cr, x, base - 20, 28, 8);
    fillStroke(cr, kChrome, kChromeDark, 2);
    setColour(cr, kGold);
    for (int i = -2; i <= 2; ++i) circle(cr, x + i * 10, base - 19, 2.2);
    cairo_fill(cr);
}

}  // namespace

// The machine's front. The reel window, the marquee drum, the coin slot, the bet
// buttons and the lever are drawn in front of this plate; the face leaves room for each.
void drawCabinet(cairo_t* cr, int w, int h) {
    const double sx = w / 512.0, sy = h / 512.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);

    fillAll(cr, 512, 512, kCabinetDark);
    roundedRect(cr, 8, 8, 496, 496, 26);
    cairo_pattern_t* body = cairo_pattern_create_linear(8, 0, 504, 0);
    cairo_pattern_add_color_stop_rgb(body, 0, kCabinetDeep.r, kCabinetDeep.g, kCabinetDeep.b);
    cairo_pattern_add_color_stop_rgb(body, 0.5, kCabinetRed.r, kCabinetRed.g, kCabinetRed.b);
    cairo_pattern_add_color_stop_rgb(body, 1, kCabinetDeep.r, kCabinetDeep.g, kCabinetDeep.b);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    setColour(cr, kGold);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);

    // Chrome pillars down both sides.
    for (double x : {24.0, 476.0}) {
        roundedRect(cr, x, 120, 12, 370, 6);
        fillStroke(cr, kChrome, kChromeDark, 2);
    }

    // Title panel with its ring of bulbs.
    // Title panel with its ring of bulbs, kept above the marquee drum, whose front
    // stands well out of the plate and hides what lies close above it.
    roundedRect(cr, 56, 14, 400, 72, 16);
    fillStroke(cr, kCabinetDark, kGold, 4);
    bulbRow(cr, 76, 436, 23, 24, 3.5, kGoldPale, rgb(255, 140, 40));
    bulbRow(cr, 76, 436, 77, 24, 3.5, kGoldPale, rgb(255, 140, 40));
    selectFont(cr, 48);
    const Colour titleOutline = rgb(120, 20, 10);
    drawText(cr, "SLOTS", 256, 50, kGold, &titleOutline, 6);
    sparkle(cr, 120, 50, 16, kGoldPale);
    sparkle(cr, 392, 50, 16, kGoldPale);

    // Housing behind the marquee drum, then the bezel round the reel window.
    roundedRect(cr, 100, 118, 312, 52, 10);
    fillStroke(cr, rgb(34, 30, 44), kChromeDark, 3);
    roundedRect(cr, 90, 172, 332, 170, 14);
    cairo_pattern_t* bezel = cairo_pattern_create_linear(0, 172, 0, 342);
    cairo_pattern_add_color_stop_rgb(bezel, 0, kChrome.r, kChrome.g, kChrome.b);
    cairo_pattern_add_color_stop_rgb(bezel, 1, kChromeDark.r, kChromeDark.g, kChromeDark.b);
    cairo_set_source(cr, bezel);
    cairo_fill(cr);
    cairo_pattern_destroy(bezel);
    cairo_rectangle(cr, 104, 178, 304, 158);
    setColour(cr, kInk);
    cairo_fill(cr);

    // Lower panel: coin slot on the left, bet buttons in the middle, the lever's mount
    // on the right.
    roundedRect(cr, 56, 352, 400, 140, 16);
    fillStroke(cr, kCabinetDeep, kGold, 3);
    roundedRect(cr, 110, 360, 96, 32, 6);
    fillStroke(cr, kCabinetDark, kChromeDark, 2);
    selectFont(cr, 14);
    drawText(cr, "INSERT COIN", 158, 408, kGoldPale);
    selectFont(cr, 15);
    drawText(cr, "PLACE YOUR BET", 310, 382, kGoldPale);
    for (double x : {276.0, 344.0}) {
        circle(cr, x, 433, 33);
        fillStroke(cr, kCabinetDark, kChromeDark, 3);
    }
    selectFont(cr, 13);
    drawText(cr, "BET 1", 276, 478, kCream);
    drawText(cr, "BET 5", 344, 478, kCream);
    sparkle(cr, 92, 460, 10, kGoldPale);
    sparkle(cr, 206, 462, 8, kGoldPale);

    roundedRect(cr, 456, 150, 16, 312, 8);
    fillStroke(cr, kCabinetDark, kChromeDark, 2);
    circle(cr, 464, 457, 20);
    fillStroke(cr, kChrome, kChromeDark, 3);
    cairo_restore(cr);
}

// A space-themed prize store: the sign stands on the counter in the middle and the
// prize ball bounces above it, so the centre stays clear.
void drawPrizeStore(cairo_t* cr, int w, int h) {
    const double sx = w / 512.0, sy = h / 512.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);

    verticalGradient(cr, 0, 0, 512, 512, kNightDeep, kNight);
    starField(cr, 512, 400, 0x5EED0017u, 170);
    circle(cr, 300, 150, 70);
    radialFill(cr, 280, 130, 110, rgb(70, 40, 120), rgb(18, 22, 66));

    // Title banner.
    roundedRect(cr, 40, 16, 432, 86, 18);
    fillStroke(cr, rgb(40, 20, 90), kGold, 4);
    fitFont(cr, "PRIZE COUNTER", 46, 400);
    const Colour titleOutline = rgb(110, 30, 10);
    drawText(cr, "PRIZE COUNTER", 256, 50, kGold, &titleOutline, 6);
    selectFont(cr, 17);
    drawText(cr, "5 TICKETS WIN A PRIZE", 256, 86, kCream);

    // Shelves of prizes up both walls.
    for (double y : {208.0, 308.0, 400.0}) {
        shelf(cr, 14, y, 150);
        shelf(cr, 348, y, 150);
    }
    rocketPrize(cr, 50, 208);
    alienPrize(cr, 118, 208);
    planetPrize(cr, 394, 208, rgb(240, 140, 60));
    ufoPrize(cr, 462, 208);
    robotPrize(cr, 52, 308);
    giftPrize(cr, 120, 308, rgb(200, 40, 120));
    rocketPrize(cr, 390, 308);
    alienPrize(cr, 458, 308);
    planetPrize(cr, 50, 400, rgb(90, 160, 255));
    giftPrize(cr, 122, 400, rgb(40, 170, 120));
    robotPrize(cr, 392, 400);
    planetPrize(cr, 460, 400, rgb(220, 90, 200));

    // The counter along the bottom.
    cairo_pattern_t* counter = cairo_pattern_create_linear(0, 420, 0, 512);
    cairo_pattern_add_color_stop_rgb(counter, 0, 0.42, 0.18, 0.62);
    cairo_pattern_add_color_stop_rgb(counter, 1, 0.16, 0.05, 0.28);
    cairo_set_source(cr, counter);
    cairo_rectangle(cr, 0, 420, 512, 92);
    cairo_fill(cr);
    cairo_pattern_destroy(counter);
    cairo_rectangle(cr, 0, 414, 512, 8);
    setColour(cr, kChrome);
    cairo_fill(cr);
    for (int i = 0; i < 8; ++i) sparkle(cr, 32 + 64 * i, 470, 7, kGoldPale);
    cairo_restore(cr);
}

// The token counter: three dollar coins stand in a column left of centre, each with
// what it buys beside it.
void drawTokenCounter(cairo_t* cr, int w, int h) {
    const double sx = w / 512.0, sy = h / 512.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);

    cairo_rectangle(cr, 0, 0, 512, 512);
    radialFill(cr, 256, 280, 380, kFelt, kFeltDark);
    roundedRect(cr, 8, 8, 496, 496, 24);
    setColour(cr, kGold);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);

    roundedRect(cr, 40, 22, 432, 92, 18);
    fillStroke(cr, kFeltDark, kGold, 4);
    fitFont(cr, "TOKEN COUNTER", 46, 400);
    const Colour titleOutline = rgb(90, 50, 0);
    drawText(cr, "TOKEN COUNTER", 256, 56, kGold, &titleOutline, 6);
    fitFont(cr, "click a coin to buy tokens", 20, 400, false);
    drawText(cr, "click a coin to buy tokens", 256, 94, kCream);

    struct CoinRow {
        double y;
        const char* label;
        int tokens;
    };
    // Coin centres on the plate: the three coins sit at x = 0.322 and y = 0.39, 0.56
    // and 0.72 of it.
    const CoinRow rows[] = {{200, "1 TOKEN", 1}, {287, "2 TOKENS", 2}, {369, "5 TOKENS", 5}};
    for (const CoinRow& row : rows) {
        circle(cr, 165, row.y, 34);
        fillStroke(cr, kFeltDark, kGold, 3);
        roundedRect(cr, 210, row.y - 26, 268, 52, 12);
        fillStroke(cr, rgb(10, 60, 44), kGoldDark, 2);
        selectFont(cr, 24);
        drawText(cr, row.label, 224, row.y, kCream, nullptr, 0, Align::Left);
        for (int i = 0; i < row.tokens; ++i) {
            circle(cr, 460 - i * 20, row.y, 8);
            fillStroke(cr, kGold, kGoldDark, 2);
        }
    }
    fitFont(cr, "sold while you hold 10 or fewer", 17, 420, false);
    drawText(cr, "sold while you hold 10 or fewer", 256, 452, kGoldPale);
    cairo_restore(cr);
}

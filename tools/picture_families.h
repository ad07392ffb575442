// The drawing function of each of the nineteen pictures, grouped by the file that draws
// them; the table in pictures.cpp points at these.
#pragma once

#include <cairo.h>

// picture_reel.cpp
void drawReelStrip(cairo_t* cr, int w, int h);

// picture_marquee.cpp
void drawMarqueeBetOne(cairo_t* cr, int w, int h);
void drawMarqueeBetFive(cairo_t* cr, int w, int h);
void drawMarqueePair(cairo_t* cr, int w, int h);
void drawMarqueeJackpot(cairo_t* cr, int w, int h);
void drawMarqueeNoWin(cairo_t* cr, int w, int h);

// picture_coins.cpp
void drawBetOneButton(cairo_t* cr, int w, int h);
void drawBetFiveButton(cairo_t* cr, int w, int h);
void drawDollarOne(cairo_t* cr, int w, int h);
void drawDollarTwo(cairo_t* cr, int w, int h);
void drawDollarFive(cairo_t* cr, int w, int h);
void drawTokenCoin(cairo_t* cr, int w, int h);
void drawTicket(cairo_t* cr, int w, int h);

// picture_signs.cpp
void drawMenu(cairo_t* cr, int w, int h);
void drawWinnerSign(cairo_t* cr, int w, int h);
void drawLoserSign(cairo_t* cr, int w, int h);

// picture_backdrops.cpp
void drawCabinet(cairo_t* cr, int w, int h);
void drawPrizeStore(cairo_t* cr, int w, int h);
void drawTokenCounter(cairo_t* cr, int w, int h);

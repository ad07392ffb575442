// Between the drawing and the frame: what each part of the picture is drawn from, where
// each part lay in the frame drawn last, and the frame's way onto the window.
#pragma once

#include "render/render.h"

// What a part is drawn from: a handful of the game record's fields. A part whose look
// differs from the one in the frame last presented has changed.
struct PartLook {
    double value[3];
};
PartLook partLook(FramePart part);
bool sameLook(const PartLook& a, const PartLook& b);

// Notes where every part is drawn from here on, under the projection and viewport that
// stand now; with `measureOnly`, pieces are noted and not drawn.
void beginNoting(bool measureOnly);
void endNoting();
// The window rectangle a part covered while noting last, with a margin for the pixels
// of its edges, inside the viewport (width 0 where it was not drawn).
PixelRect notedRect(FramePart part);
// While a frame repaints a rectangle: the pieces of a part that lay wholly outside it
// when noted last are not drawn, for they would change no pixel in it. Null: every
// piece is drawn.
void clipPartsTo(const PixelRect* rect);

// Draws a frame and presents it: whole, or only the rectangles of the parts that changed.
void presentFrame();

// What the window's GLX offers for presenting part of a frame, and the exposes, after
// which a frame is drawn whole.
#pragma once

#include "render/render.h"

// The window's way of presenting frames: swapped by GLUT, with the back buffer's age
// and the copy of a rectangle to the front where the GLX offers them.
FramePresenter glxFramePresenter();
// From now on, every expose of the window makes the next frame whole.
void watchExposes();

// Where the game draws its pieces: the model-view matrices of the display frame and of
// the machine's parts as drawMachine applies them, the places of the status bar and the
// screens, and their projection into window coordinates through the GL's own projection.
#pragma once

#include "tests/render/gl_math.h"

namespace rt {

// A point in window coordinates: x, y in pixels from the bottom left, z the depth 0 to 1.
struct WinPoint {
    double x, y, z;
};

struct WinRect {
    double left, bottom, right, top;
    bool contains(const WinPoint& p) const { return p.x > left && p.x < right && p.y > bottom && p.y < top; }
};

// The display look-at from (0, 0, 3) towards the origin: the frame the scene is drawn in.
Mat4 displayFrame();

// Machine parts. Reels are indexed 0 left, 1 centre, 2 right.
Mat4 machineFrame();
Mat4 windowFrame();
Mat4 reelFrame();
// The frame a reel is turned in, before its angle: its axis is x, its front at (0, 0, 1).
Mat4 reelSeat(int reel);
// The marquee's frame before its own turn; its front faces the viewer at (0, 0.625, 0.85).
Mat4 marqueeSeat();
// The lever frame swung by `angle`; the pivot is its origin, the knob centre at (0, 1.5, 0).
Mat4 leverFrame(double angle);
const double KnobRadius = 0.2;  // in the lever frame
// The centres of the bet buttons, in the display frame; their radius is 0.2.
const Vec3d BetOneCentre = {0.65, -0.8, 0.0};
const Vec3d BetFiveCentre = {1.15, -0.8, 0.0};
const double ButtonRadius = 0.2;

// Status bar, menu and screens, in the display frame.
Vec3d coinCentre(int k);  // status-bar coin k, radius 0.2, at z 0.5
Vec3d ticketCentre(int k);
Vec3d dollarCentre(int which);  // 0 one, 1 two, 2 five dollars; radius 0.2
Vec3d ballCentre(double ballHeight);
const Vec3d VerdictCentre = {0.5, -0.625 + 0.5625 / 2, 1.0};
const double CoinRadius = 0.2;
const double DollarRadius = 0.2;
const double StripTop = -2.15;
const double StripBottom = -3.75;

// Projects a point of the frame `modelView` with the current GL projection and viewport.
WinPoint project(const Mat4& modelView, const Vec3d& p);
// The window rectangle covered by a rectangle that faces the viewer (z constant).
WinRect projectRect(const Mat4& modelView, double x0, double y0, double x1, double y1, double z);
// The backdrop of the machine, as drawn on the machine screen.
WinRect machineBackdropRect();

}  // namespace rt

// The scene's geometry, written from the game's drawing rules: one place for every
// transform the tests need, so that all probes agree on where a piece is.
#include "tests/render/scene_geometry.h"

#include <GL/glu.h>

#include <algorithm>

namespace rt {

Mat4 displayFrame() { return lookAt({0, 0, 3}, {0, 0, 0}, {0, 1, 0}); }

Mat4 machineFrame() { return displayFrame() * translation(0.5, 0.5, 0) * scaling(1.25, 1.25, 1.5); }

Mat4 windowFrame() { return machineFrame() * scaling(1.75, 1.25, 1); }

Mat4 reelFrame() { return windowFrame() * scaling(0.5, 0.5, 0.5); }

Mat4 reelSeat(int reel) {
    const double offsets[3] = {-0.8, 0.0, 0.8};
    return reelFrame() * scaling(0.75, 0.75, 0.75) * translation(offsets[reel], 0, 0);
}

Mat4 marqueeSeat() { return machineFrame(); }

Mat4 leverFrame(double angle) {
    return displayFrame() * scaling(1.5, 1.5, 1.5) * translation(1.35, -0.65, 0) * rotation(angle, 1, 0, 0);
}

Vec3d coinCentre(int k) { return {-2.5 + 0.3 * k, -2.5, 0.5}; }

Vec3d ticketCentre(int k) { return {0.5 + 0.25 * k + 0.1875 / 2, -2.5 + 0.375 / 2, 0.5}; }

Vec3d dollarCentre(int which) {
    const double ys[3] = {1.0, 0.25, -0.5};
    return {-0.3, ys[which], 0.0};
}

Vec3d ballCentre(double ballHeight) { return {0.5, 0.5 + 2.25 * ballHeight, 1.0}; }

WinPoint project(const Mat4& modelView, const Vec3d& p) {
    const Mat4 proj = glMatrix(GL_PROJECTION_MATRIX);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    WinPoint w{0, 0, 0};
    gluProject(p.x, p.y, p.z, modelView.m, proj.m, viewport, &w.x, &w.y, &w.z);
    return w;
}

WinRect projectRect(const Mat4& modelView, double x0, double y0, double x1, double y1, double z) {
    const WinPoint a = project(modelView, {x0, y0, z});
    const WinPoint b = project(modelView, {x1, y1, z});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

WinRect machineBackdropRect() { return projectRect(machineFrame(), -1.5, -1.5, 1.5, 1.5, 0); }

}  // namespace rt

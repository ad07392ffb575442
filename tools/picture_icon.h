// The game's icon: one drawing, written as the SVG the desktop entry names, as the PNGs
// installed beside it for docks and menus that show no SVG, and as the pixel sizes the
// game's window carries in _NET_WM_ICON.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

// The sizes in pixels the window carries, smallest first.
constexpr int kWindowIconSizes[] = {16, 32, 48, 64, 128};
// The sizes installed as PNGs in the icon theme, hicolor/NxN/apps (the build reads them
// from this line).
constexpr int kInstalledIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Draws the icon into the square from (0, 0) to (size, size) of the current user space.
void drawIcon(cairo_t* cr, double size);

// The icon at `size` x `size` pixels as 0xAARRGGBB, not premultiplied, top row first;
// empty when Cairo fails.
std::vector<uint32_t> iconPixels(int size);

// Writes the icon as an SVG file of 128 x 128 px; on failure puts the reason in `error`.
bool writeIconSvg(const char* path, std::string& error);

// Writes the icon at each of kInstalledIconSizes as `dir`/NxN/apps/`name`.png, making the
// folders; on failure puts the reason in `error`.
bool writeIconPngs(const char* dir, const char* name, std::string& error);

// Writes the C++ source that defines the game's windowIcon: each size of
// kWindowIconSizes as width, height and pixels; on failure puts the reason in `error`.
bool writeIconSource(const char* path, std::string& error);

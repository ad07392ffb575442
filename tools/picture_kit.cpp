// The drawing kit's shapes and text: paths, fills and gradients, bulbs and sparkles,
// and text fitted, centred and outlined in the pictures' one font face.
#include "picture_kit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kFontFace = "DejaVu Sans";

}  // namespace

// ---------------------------------------------------------------------------------
// Shapes
// ---------------------------------------------------------------------------------

void setColour(cairo_t* cr, const Colour& c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void fillAll(cairo_t* cr, int w, int h, const Colour& c) {
    setColour(cr, c);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
}

void verticalGradient(cairo_t* cr, double x, double y, double w, double h, const Colour& top, const Colour& bottom) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(pattern, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(pattern, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void radialFill(cairo_t* cr, double cx, double cy, double radius, const Colour& inner, const Colour& outer) {
    cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(pattern, 0, inner.r, inner.g, inner.b);
    cairo_pattern_add_color_stop_rgb(pattern, 1, outer.r, outer.g, outer.b);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, double angle) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    circle(cr, 0, 0, 1);
    cairo_restore(cr);
}

void star(cairo_t* cr, double cx, double cy, double outer, double inner, int points) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double radius = (i % 2 == 0) ? outer : inner;
        const double angle = -kPi / 2 + i * kPi / points;
        cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(cr);
}

void fillStroke(cairo_t* cr, const Colour& fill, const Colour& line, double lineWidth) {
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    setColour(cr, line);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void bulbRow(cairo_t* cr, double x0, double x1, double y, double spacing, double radius, const Colour& lit,
             const Colour& dim) {
    const int count = static_cast<int>(std::floor((x1 - x0) / spacing + 1e-6)) + 1;
    for (int i = 0; i < count; ++i) {
        circle(cr, x0 + i * spacing, y, radius);
        setColour(cr, i % 2 == 0 ? lit : dim);
        cairo_fill(cr);
    }
}

void sparkle(cairo_t* cr, double cx, double cy, double size, const Colour& c) {
    setColour(cr, c);
    star(cr, cx, cy, size, size * 0.22, 4);
    cairo_fill(cr);
}

void starField(cairo_t* cr, int w, int h, uint32_t seed, int count) {
    Scatter scatter{seed};
    for (int i = 0; i < count; ++i) {
        const double x = scatter.between(0, w);
        const double y = scatter.between(0, h);
        const double size = scatter.between(0.6, 1.9);
        const double glow = scatter.between(0.55, 1.0);
        if (size > 1.7) {
            sparkle(cr, x, y, size * 3.2, {glow, glow, 1.0});
        } else {
            circle(cr, x, y, size);
            cairo_set_source_rgb(cr, glow, glow, std::min(1.0, glow + 0.15));
            cairo_fill(cr);
        }
    }
}

// ---------------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------------

void selectFont(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, kFontFace, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double textWidth(cairo_t* cr, const char* text) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    return e.x_advance;
}

double fitFont(cairo_t* cr, const char* text, double size, double maxWidth, bool bold) {
    selectFont(cr, size, bold);
    const double width = textWidth(cr, text);
    if (width > maxWidth) {
        size *= maxWidth / width;
        selectFont(cr, size, bold);
    }
    return size;
}

void textPath(cairo_t* cr, const char* text, double x, double y, Align align) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    const double left = align == Align::Centre ? x - e.x_bearing - e.width / 2 : x - e.x_bearing;
    cairo_move_to(cr, left, y - e.y_bearing - e.height / 2);
    cairo_text_path(cr, text);
}

void drawText(cairo_t* cr, const char* text, double x, double y, const Colour& fill, const Colour* outline,
              double outlineWidth, Align align) {
    cairo_new_path(cr);
    textPath(cr, text, x, y, align);
    if (outline != nullptr) {
        setColour(cr, *outline);
        cairo_set_line_width(cr, outlineWidth);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    setColour(cr, fill);
    cairo_fill(cr);
}

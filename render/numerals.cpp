// The status bar's lettering: the digits of the counts, the T of the token counter's key
// and an arrow, as strokes on a small grid, each stroke one flat plate.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "render/render.h"

// ---------------------------------------------------------------------------------
// Shapes
// ---------------------------------------------------------------------------------

// A glyph is drawn on a grid 4 wide and 7 high, by strokes one unit wide along its
// polylines; the strokes' square ends reach half a unit past their points.
static const GLfloat GlyphWidth = 4.0f;
static const GLfloat GlyphHeight = 7.0f;
static const GLfloat GlyphAdvance = 6.0f;
static const GLfloat StrokeWidth = 1.0f;

struct Polyline {
    int count;
    GLfloat point[16][2];
};

struct Glyph {
    char character;
    int lines;
    Polyline line[2];
};

// Corners cut at 45 degrees; the 5 and the 9 bend where they must not be read as a 3
// and an 8.
static const Glyph glyphs[] = {
    {'0', 1, {{9, {{1, 0}, {3, 0}, {4, 1}, {4, 6}, {3, 7}, {1, 7}, {0, 6}, {0, 1}, {1, 0}}}}},
    {'1', 2, {{3, {{0.8f, 5.6f}, {2.4f, 7}, {2.4f, 0}}}, {2, {{0.6f, 0}, {4, 0}}}}},
    {'2', 1, {{8, {{0, 6}, {1, 7}, {3, 7}, {4, 6}, {4, 4.6f}, {0, 1}, {0, 0}, {4, 0}}}}},
    {'3',
     2,
     {{7, {{0, 6}, {1, 7}, {3, 7}, {4, 6}, {4, 4.5f}, {3, 3.5f}, {1.5f, 3.5f}}},
      {6, {{3, 3.5f}, {4, 2.5f}, {4, 1}, {3, 0}, {1, 0}, {0, 1}}}}},
    {'4', 1, {{4, {{3, 0}, {3, 7}, {0, 2}, {4, 2}}}}},
    {'5', 1, {{9, {{4, 7}, {0.5f, 7}, {0, 3.6f}, {3, 4.2f}, {4, 3.2f}, {4, 1}, {3, 0}, {1, 0}, {0, 1}}}}},
    {'6', 1, {{10, {{3.5f, 7}, {1, 7}, {0, 6}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 3}, {3, 4}, {0, 4}}}}},
    {'7', 1, {{4, {{0, 7}, {4, 7}, {4, 6}, {1.5f, 0}}}}},
    {'8',
     1,
     {{16,
       {{1, 3.5f},
        {0, 4.5f},
        {0, 6},
        {1, 7},
        {3, 7},
        {4, 6},
        {4, 4.5f},
        {3, 3.5f},
        {1, 3.5f},
        {0, 2.5f},
        {0, 1},
        {1, 0},
        {3, 0},
        {4, 1},
        {4, 2.5f},
        {3, 3.5f}}}}},
    {'9', 1, {{10, {{0, 0}, {2, 0}, {4, 2.5f}, {4, 6}, {3, 7}, {1, 7}, {0, 6}, {0, 4}, {1, 3}, {4, 3}}}}},
    {'T', 2, {{2, {{0, 7}, {4, 7}}}, {2, {{2, 7}, {2, 0}}}}},
    {'>', 2, {{2, {{0, 3.5f}, {4, 3.5f}}}, {3, {{2, 5.5f}, {4, 3.5f}, {2, 1.5f}}}}},
};

// ---------------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------------

static const Glyph* glyphOf(char c) {
    const Glyph* g =
        std::find_if(std::begin(glyphs), std::end(glyphs), [c](const Glyph& x) { return x.character == c; });
    return g == std::end(glyphs) ? nullptr : g;
}

// One stroke from a to b, in glyph units, as a plate of the colour given.
static void emitStroke(const GLfloat a[2], const GLfloat b[2], GLfloat x, const GLfloat colour[3]) {
    const GLfloat dx = b[0] - a[0];
    const GLfloat dy = b[1] - a[1];
    const GLfloat length = std::sqrt(dx * dx + dy * dy);
    const GLfloat h = StrokeWidth / 2.0f;
    const GLfloat ux = dx / length * h;  // half a width along the stroke, and across it
    const GLfloat uy = dy / length * h;
    const GLfloat ax = x + a[0] - ux;
    const GLfloat ay = a[1] - uy;
    const GLfloat bx = x + b[0] + ux;
    const GLfloat by = b[1] + uy;
    Plate stroke = {{colour[0], colour[1], colour[2]},
                    {{0, 0}, {0, 0}, {0, 0}, {0, 0}},
                    {{ax + uy, ay - ux, 0}, {bx + uy, by - ux, 0}, {bx - uy, by + ux, 0}, {ax - uy, ay + ux, 0}}};
    emitPlate(stroke);
}

GLfloat strokesWidth(const char* text, GLfloat height) {
    GLfloat units = 0.0f;
    for (const char* c = text; *c; ++c) units += GlyphAdvance;
    return units > 0.0f ? (units - GlyphAdvance + GlyphWidth) * height / GlyphHeight : 0.0f;
}

void drawStrokes(const char* text, GLfloat height, const GLfloat colour[3]) {
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glScalef(height / GlyphHeight, height / GlyphHeight, 1.0f);
    GLfloat x = 0.0f;
    for (const char* c = text; *c; ++c, x += GlyphAdvance) {
        const Glyph* g = glyphOf(*c);
        if (!g) continue;
        for (int l = 0; l < g->lines; ++l)
            for (int p = 1; p < g->line[l].count; ++p)
                emitStroke(g->line[l].point[p - 1], g->line[l].point[p], x, colour);
    }
    glPopMatrix();
    endFlatPiece();
}

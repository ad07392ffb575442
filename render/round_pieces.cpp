// The round pieces (cylinders, spheres and disks): one quadric each, all made with the
// first piece drawn, and each piece tessellated as its shape says; the disk, and the
// axle's cylinder, drawn here as GLU would, with every attribute at every corner.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "render/render.h"

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

static GLUquadric* quadrics[RoundPieceCount];

static const double FullTurn = 6.283185307179586;  // radians

// The most slices a round piece has.
static constexpr GLint MaxRoundSlices = [] {
    GLint most = 0;
    for (const RoundShape& s : roundShapes) most = s.slices > most ? s.slices : most;
    return most;
}();

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

// The sine and cosine of corner `i` of a round of `slices` corners, the last one the
// first again, as GLU spaces them.
static void roundCorner(GLint i, GLint slices, GLfloat* sine, GLfloat* cosine) {
    const double angle = FullTurn * static_cast<double>(i % slices) / static_cast<double>(slices);
    *sine = static_cast<GLfloat>(std::sin(angle));
    *cosine = static_cast<GLfloat>(std::cos(angle));
}

// A flat disk facing +z as the one fan gluDisk makes of a single ring, the same corners
// and texture coordinates, but with the normal before every corner: gluDisk gives it
// once, before the fan, and a normal that is not sent per vertex puts the disk in a
// GL state of its own, for which llvmpipe compiles one more shader.
static void drawFlatDisk(GLdouble radius, GLint slices) {
    const GLfloat r = static_cast<GLfloat>(radius);
    glBegin(GL_TRIANGLE_FAN);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.5f, 0.5f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    for (GLint i = slices; i >= 0; --i) {
        GLfloat sine = 0.0f;
        GLfloat cosine = 0.0f;
        roundCorner(i, slices, &sine, &cosine);
        glNormal3f(0.0f, 0.0f, 1.0f);
        glTexCoord2f(0.5f * sine + 0.5f, 0.5f * cosine + 0.5f);
        glVertex3f(r * sine, r * cosine, 0.0f);
    }
    glEnd();
}

// A cylinder of one stack with the corners and normals gluCylinder gives it, but one
// texture coordinate at every corner.
static void drawCylinderAtTexel(const RoundShape& s, const GLfloat texCoord[2]) {
    const GLfloat r = static_cast<GLfloat>(s.radius);
    const GLfloat h = static_cast<GLfloat>(s.height);
    glBegin(GL_QUAD_STRIP);
    for (GLint i = 0; i <= s.slices; ++i) {
        GLfloat sine = 0.0f;
        GLfloat cosine = 0.0f;
        roundCorner(i, s.slices, &sine, &cosine);
        glNormal3f(sine, cosine, 0.0f);
        glTexCoord2fv(texCoord);
        glVertex3f(r * sine, r * cosine, 0.0f);
        glNormal3f(sine, cosine, 0.0f);
        glTexCoord2fv(texCoord);
        glVertex3f(r * sine, r * cosine, h);
    }
    glEnd();
}

// The corners of a piece's surface, or of the box around a sphere; false when the piece
// is not to be drawn (see notePiece).
static bool noteRoundPiece(const RoundShape& s) {
    GLfloat corners[2 * MaxRoundSlices][3];
    int count = 0;
    if (s.kind == ShapeSphere) {
        for (int i = 0; i < 8; ++i) {
            corners[i][0] = static_cast<GLfloat>((i & 1) ? s.radius : -s.radius);
            corners[i][1] = static_cast<GLfloat>((i & 2) ? s.radius : -s.radius);
            corners[i][2] = static_cast<GLfloat>((i & 4) ? s.radius : -s.radius);
        }
        count = 8;
    } else {
        const GLfloat r = static_cast<GLfloat>(s.radius);
        const int ends = s.kind == ShapeCylinder ? 2 : 1;
        for (GLint i = 0; i < s.slices; ++i) {
            GLfloat sine = 0.0f;
            GLfloat cosine = 0.0f;
            roundCorner(i, s.slices, &sine, &cosine);
            for (int end = 0; end < ends; ++end) {
                corners[count][0] = r * sine;
                corners[count][1] = r * cosine;
                corners[count][2] = end == 0 ? 0.0f : static_cast<GLfloat>(s.height);
                ++count;
            }
        }
    }
    return notePiece(corners, count);
}

void drawRoundPieceAtTexel(RoundPiece piece, const GLfloat texCoord[2]) {
    const RoundShape& s = roundShapes[piece];
    if (!noteRoundPiece(s)) return;
    if (s.insideHidden) glEnable(GL_CULL_FACE);
    drawCylinderAtTexel(s, texCoord);
    if (s.insideHidden) glDisable(GL_CULL_FACE);
}

void drawRoundPiece(RoundPiece piece) {
    // All at once, so that no later frame allocates, whichever pieces it shows first.
    if (!quadrics[0]) std::generate(std::begin(quadrics), std::end(quadrics), makeQuadric);
    const RoundShape& s = roundShapes[piece];
    if (!noteRoundPiece(s)) return;
    if (s.insideHidden) glEnable(GL_CULL_FACE);
    if (s.kind == ShapeCylinder)
        gluCylinder(quadrics[piece], s.radius, s.radius, s.height, s.slices, s.stacks);
    else if (s.kind == ShapeSphere)
        gluSphere(quadrics[piece], s.radius, s.slices, s.stacks);
    else
        drawFlatDisk(s.radius, s.slices);
    if (s.insideHidden) glDisable(GL_CULL_FACE);
}

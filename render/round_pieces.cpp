// The round pieces (cylinders, spheres and disks): one quadric each, all made with the
// first piece drawn, and each piece tessellated as its shape says.
#include "render/render.h"

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

static GLUquadric* quadrics[RoundPieceCount];

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

void drawRoundPiece(RoundPiece piece) {
    // All at once, so that no later frame allocates, whichever pieces it shows first.
    if (!quadrics[0])
        for (int p = 0; p < RoundPieceCount; ++p) quadrics[p] = makeQuadric(roundShapes[p].textured);
    const RoundShape& s = roundShapes[piece];
    if (s.insideHidden) glEnable(GL_CULL_FACE);
    if (s.kind == ShapeCylinder)
        gluCylinder(quadrics[piece], s.radius, s.radius, s.height, s.slices, s.stacks);
    else if (s.kind == ShapeSphere)
        gluSphere(quadrics[piece], s.radius, s.slices, s.stacks);
    else
        gluDisk(quadrics[piece], 0.0, s.radius, s.slices, s.stacks);
    if (s.insideHidden) glDisable(GL_CULL_FACE);
}

// Rendering: materials and lighting, frame composition and projection, the machine
// model, the status bar and menu panel, and the prize and token screens.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

// ---------------------------------------------------------------------------------
// Materials and lighting
// ---------------------------------------------------------------------------------

struct Material {
    GLfloat ambient[4];
    GLfloat diffuse[4];
    GLfloat specular[4];
    GLfloat shininess;
};

extern const Material turquoiseMaterial;
extern const Material whiteMaterial;
extern const Material goldMaterial;
// White dimmed: a bet button whose stake cannot be paid.
extern const Material dimmedMaterial;

extern const GLfloat lightPosition[4];
extern const GLfloat lightAmbient[4];
extern const GLfloat lightDiffuse[4];
extern const GLfloat lightSpecular[4];

void applyMaterial(Material m);
void initLighting();
void placeLight();

// A quadric made once, filled and smoothly lit, with texture coordinates.
GLUquadric* makeQuadric();

// ---------------------------------------------------------------------------------
// Round pieces
// ---------------------------------------------------------------------------------

enum RoundPiece {
    PieceAxle,
    PieceReel,
    PieceMarquee,
    PieceLeverShaft,
    PieceLeverKnob,
    PieceBetButton,
    PiecePrizeBall,
    PieceDollar,
    PieceCoin,
    RoundPieceCount
};

enum ShapeKind { ShapeCylinder, ShapeSphere, ShapeDisk };

// A cylinder of `height` along z, a sphere, or a flat disk facing +z (one ring).
// Every piece gives texture coordinates, even one that shows no picture: it is then
// drawn under the plain slot's white texel, and every lit piece shares one GL state.
struct RoundShape {
    GLdouble radius;
    GLdouble height;
    GLint slices;
    GLint stacks;
    ShapeKind kind;
    bool insideHidden;  // no view shows its inner faces: they are culled, not shaded
};

// The size and tessellation of every round piece, by RoundPiece. Along a cylinder and
// across a disk neither the normals nor the texture coordinates bend, so one stack or
// ring draws the same pixels as many (they had 10 or 20, each a row of small triangles
// that llvmpipe paid for): only the slices shape what is seen.
constexpr RoundShape roundShapes[RoundPieceCount] = {
    // radius, height, slices, stacks, kind, inside hidden
    {0.05, 1.0, 20, 1, ShapeCylinder, true},    // axle
    {1.0, 0.7, 10, 1, ShapeCylinder, true},     // reel
    {0.85, 0.25, 20, 1, ShapeCylinder, false},  // marquee
    {0.1, 1.5, 10, 1, ShapeCylinder, true},     // lever shaft
    {0.2, 0.0, 12, 12, ShapeSphere, true},      // lever knob
    {0.2, 0.0, 20, 20, ShapeSphere, true},      // bet button
    {0.2, 0.0, 20, 20, ShapeSphere, true},      // prize ball
    {0.2, 0.0, 20, 20, ShapeSphere, true},      // dollar coin
    {0.5, 0.0, 20, 1, ShapeDisk, false},        // status-bar coin
};

// Draws the piece at the origin of the current frame.
void drawRoundPiece(RoundPiece piece);
// Draws a cylinder piece so, but wearing the one texel at `texCoord` of the bound slot
// all over, as an untextured quadric wears the last coordinate given.
void drawRoundPieceAtTexel(RoundPiece piece, const GLfloat texCoord[2]);

// ---------------------------------------------------------------------------------
// Frame composition and projection
// ---------------------------------------------------------------------------------

void onDisplay();
void onReshape(int width, int height);
void drawAxes();
// Multiplies the view's projection and its look-at onto the current matrix, as the
// display sees the scene; the pick pass uses it too, so both always agree.
void applyProjection(int width, int height);
// Sets the fixed display look-at onto the current model-view matrix.
void applyDisplayCamera();
// Draws the scene of the screen shown: the machine, the prize or the token counter.
void drawScreenScene();

// ---------------------------------------------------------------------------------
// Machine model
// ---------------------------------------------------------------------------------

void drawMachine();
void drawBackdrop();
void drawReelWindow();
void drawAxle();
void drawReel();
void drawCoinSlot();
void drawMarquee();
void drawLeverShaft();
void drawLeverKnob();
void drawBetOneButton();
void drawBetFiveButton();
// The slot the marquee wears for the current phase, stake and result.
GLuint marqueeSlot();

// ---------------------------------------------------------------------------------
// Status bar and menu panel
// ---------------------------------------------------------------------------------

void drawStatusBar();
void drawMenuPanel();
// The counts the bar shows follow the real ones while no animation holds them. The bar
// does it as it is drawn, and the frame before its scene, whose bet buttons show them.
void catchUpShownCounts();
// The unit square in the colour given, as a plate under whatever slot is bound.
void drawUnitQuad(const GLfloat colour[3]);
void drawCoin();
void drawTicket();
// Draws text of digits, 'T' and '>' (an arrow) as flat strokes `height` high, from the
// current origin along +x, in the colour given, under whatever slot is bound.
void drawStrokes(const char* text, GLfloat height, const GLfloat colour[3]);
// The width of such text's grid, from the origin to the right edge of its last glyph; the
// strokes reach half a stroke past the grid on every side.
GLfloat strokesWidth(const char* text, GLfloat height);

// ---------------------------------------------------------------------------------
// Prize and token screens
// ---------------------------------------------------------------------------------

void drawPrizeScreen();
void drawTokenScreen();
void drawPrizeBackdrop();
void drawTokenBackdrop();
void drawPrizeBall();
void drawVerdictSign(int offset);
void drawDollarOne();
void drawDollarTwo();
void drawDollarFive();

// ---------------------------------------------------------------------------------
// Flat pieces
// ---------------------------------------------------------------------------------

// One unlit plate of four corners, with the colour and the texture coordinate before
// every vertex. A plate without a picture of its own still gives coordinates: every flat
// piece then shares one GL state (llvmpipe compiles a shader for each state a frame
// uses), and under the plain slot's white texel the coordinates change nothing.
struct Plate {
    GLfloat colour[3];
    GLfloat texCoord[4][2];
    GLfloat vertex[4][3];
};

// Emits the plate as one GL_POLYGON; the caller switches lighting and binds the slot.
void emitPlate(const Plate& plate);
// Lighting back on and smooth shading, as every flat piece leaves them.
void endFlatPiece();

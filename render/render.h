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

// Draws a frame: whole, or where the game asked for it and only parts changed, just the
// rectangles of the parts that changed (see Frames of what changed below).
void onDisplay();
void onReshape(int width, int height);
// Clears and draws the whole picture of the screen shown: what a frame draws, once, or
// once in each rectangle it repaints, clipped to it.
void drawPicture();
void drawAxes();
// Whether a list of extension names, one space between each (as GL and GLX give them),
// holds `name` whole.
bool listsExtension(const char* extensions, const char* name);
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

// ---------------------------------------------------------------------------------
// Frames of what changed
// ---------------------------------------------------------------------------------

// The parts of the picture that move or change while the rest stands. Each is drawn
// from a few fields of the game record; a frame asked for by the game, in which only
// parts changed, repaints and presents only the rectangles where they were and are.
// The status bar is one part: its strips and everything on them.
enum FramePart : int {
    PartNone = -1,
    PartLever,
    PartReelLeft,
    PartReelCentre,
    PartReelRight,
    PartMarquee,  // the drum and the face it shows
    PartBetOne,
    PartBetFive,
    PartBall,
    PartStatusBar,
    FramePartCount
};

// The pieces drawn from here on belong to `part` (PartNone: to none).
void setFramePart(FramePart part);

// Where a piece about to be drawn lies: its corners in the current model-view frame.
// While a frame notes where its parts lie, they widen the window rectangle of the part
// being drawn. False while a frame only measures its parts: the piece is then not drawn.
bool notePiece(const GLfloat (*corners)[3], int count);

// A rectangle of window pixels, counted as the GL counts them: from the lower left.
struct PixelRect {
    int x, y, width, height;
};

// How frames reach the window; app/ finds out what the GL offers at start-up. With
// neither the back buffer's age nor a copy to the front, every frame is drawn whole.
struct FramePresenter {
    void (*swapBuffers)();  // shows the back buffer whole
    // How many swaps old the back buffer is, 0 where its content is unknown; null where
    // the GL does not say (GLX_EXT_buffer_age).
    int (*backBufferAge)();
    // Copies rectangles of the back buffer to the front, false where that failed; null
    // where the GL cannot (GLX_MESA_copy_sub_buffer).
    bool (*copyRects)(const PixelRect* rects, int count);
    // Has the GL fit the back buffer to the window's size before a whole frame is drawn
    // to be copied, where it otherwise would only at a swap (Mesa's software path); null
    // where nothing needs doing.
    void (*fitBackBuffer)();
};
// The presenter frames have until one is set: whole frames, swapped by GLUT.
FramePresenter glutFramePresenter();
void setFramePresenter(const FramePresenter& presenter);

// Asks for a frame of what the game changed. Frames nobody asked for through it (an
// expose, for GLUT cannot tell one from a posted redisplay) are drawn whole.
void requestFrame();
// The next frame is drawn whole: the window lost its picture, or all of it changed.
void wantWholeFrame();

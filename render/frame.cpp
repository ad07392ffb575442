// Frame composition and the projection: what every frame draws and in which order,
// how the window's shape becomes a perspective or orthographic view, the axis cross.
#include <GL/glut.h>

#include <cstdio>
#include <cstring>

#include "app/game_state.h"
#include "render/frame_parts.h"
#include "render/render.h"

// ---------------------------------------------------------------------------------
// View constants
// ---------------------------------------------------------------------------------

static const GLdouble PerspectiveFovy = 50.0;
static const GLdouble PerspectiveNear = 2.0;
static const GLdouble PerspectiveFar = 10.0;
static const GLdouble OrthoHalfHeight = 2.0;
static const GLdouble OrthoNear = 1.0;
static const GLdouble OrthoFar = 15.0;
static const GLdouble DisplayEyeZ = 3.0;  // the display look-at on the model-view matrix
static const GLfloat AxisHalfLength = 2.0f;
static const GLfloat AxisLineWidth = 1.5f;

// ---------------------------------------------------------------------------------
// Camera
// ---------------------------------------------------------------------------------

void applyProjection(int width, int height) {
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    if (game.usePerspective)
        gluPerspective(PerspectiveFovy, aspect, PerspectiveNear, PerspectiveFar);
    else
        glOrtho(-OrthoHalfHeight * aspect, OrthoHalfHeight * aspect, -OrthoHalfHeight, OrthoHalfHeight, OrthoNear,
                OrthoFar);
    gluLookAt(game.eye.x, game.eye.y, game.eye.z, game.center.x, game.center.y, game.center.z, game.up.x, game.up.y,
              game.up.z);
}

void applyDisplayCamera() { gluLookAt(0.0, 0.0, DisplayEyeZ, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0); }

void drawScreenScene() {
    if (game.screen == ScreenMachine)
        drawMachine();
    else if (game.screen == ScreenPrize)
        drawPrizeScreen();
    else
        drawTokenScreen();
}

// ---------------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------------

void drawPicture() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    applyDisplayCamera();
    placeLight();
    if (game.showAxes) drawAxes();
    catchUpShownCounts();
    drawScreenScene();
    drawStatusBar();
    drawMenuPanel();
    glPopMatrix();
}

void onDisplay() { presentFrame(); }

void onReshape(int width, int height) {
    // A minimised window reports a zero side: keep the last finite projection.
    if (width <= 0 || height <= 0) return;
    game.windowWidth = width;
    game.windowHeight = height;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (game.usePerspective) std::printf("perspective\n");
    applyProjection(width, height);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);
    wantWholeFrame();
    glutPostRedisplay();
}

void drawAxes() {
    const GLfloat ends[6][3] = {
        {-AxisHalfLength, 0, 0}, {AxisHalfLength, 0, 0},  {0, -AxisHalfLength, 0},
        {0, AxisHalfLength, 0},  {0, 0, -AxisHalfLength}, {0, 0, AxisHalfLength},
    };
    if (!notePiece(ends, 6)) return;
    glDisable(GL_LIGHTING);
    glLineWidth(AxisLineWidth);
    glBegin(GL_LINES);
    for (const auto& v : ends) {
        glColor3f(1.0f, 1.0f, 1.0f);
        glVertex3fv(v);
    }
    glEnd();
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
}

bool listsExtension(const char* extensions, const char* name) {
    if (!extensions) return false;
    const size_t len = std::strlen(name);
    for (const char* p = std::strstr(extensions, name); p; p = std::strstr(p + len, name))
        if ((p == extensions || p[-1] == ' ') && (p[len] == ' ' || p[len] == '\0')) return true;
    return false;
}

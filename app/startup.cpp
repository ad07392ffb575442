// Start-up after the window exists: callbacks, light, a new game, the plain slot and
// the nineteen pictures, and the GL features every frame relies on.
#include <GL/glut.h>

#include "app/game_state.h"
#include "assets/assets.h"
#include "game/play.h"
#include "render/render.h"

void startGame() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

    glutDisplayFunc(onDisplay);
    glutMouseFunc(onMouse);
    glutKeyboardFunc(onKeyboard);
    glutKeyboardUpFunc(onKeyboardUp);
    glutSpecialFunc(onSpecialKey);
    glutSpecialUpFunc(onSpecialKeyUp);
    glutReshapeFunc(onReshape);

    initLighting();
    resetGame();
    makeChecker(CheckerSize, CheckerSize);
    fillPlainSlot();
    loadAllTextures();

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
}

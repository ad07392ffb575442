// Keyboard commands: choose a screen, toggle the axis cross and the projection, quit;
// F11 switches fullscreen on and off.
#include <GL/freeglut.h>

#include <cstdlib>

#include "app/game_state.h"
#include "game/play.h"
#include "render/render.h"

void onKeyboard(unsigned char key, int /*x*/, int /*y*/) {
    switch (key) {
    case 'A':
    case 'a':
        game.showAxes = !game.showAxes;
        glutPostWindowRedisplay(game.windowId);
        break;
    case 'P':
    case 'p':
        game.screen = ScreenMachine;
        wakeAnimation();  // a spin left on another screen goes on at once
        glutPostWindowRedisplay(game.windowId);
        break;
    case 'Q':
    case 'q': std::exit(0);
    case 'S':
    case 's':
        // Also starts the animation that bounces the ball; only a finished spin stops it.
        game.screen = ScreenPrize;
        armAnimationTimer();
        game.animating = 1;
        glutPostWindowRedisplay(game.windowId);
        break;
    case 'T':
    case 't':
        game.screen = ScreenTokens;
        glutPostWindowRedisplay(game.windowId);
        break;
    case 'V':
    case 'v':
        game.usePerspective = !game.usePerspective;
        onReshape(game.windowWidth, game.windowHeight);  // posts its own redisplay
        break;
    default: break;
    }
}

bool fullScreenOffered = false;

void onSpecialKey(int key, int /*x*/, int /*y*/) {
    // The window manager resizes the window, and the reshape that follows scales the scene.
    if (key == GLUT_KEY_F11 && fullScreenOffered) glutFullScreenToggle();
}

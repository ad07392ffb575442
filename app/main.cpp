// Start-up: opens the window, wires the callbacks, prepares the light, the game and
// the pictures, and hands over to the GLUT main loop.
#include <GL/glut.h>

#include <cstdio>

#include "app/game_state.h"
#include "assets/assets.h"
#include "audio/audio.h"
#include "game/play.h"
#include "render/render.h"

// Asks the GL for one buffer swap per display refresh, where it offers that.
void requestSwapInterval();

// Draws the first frame, then opens the audio device: looking for a device (or a
// sound server that is not there) never keeps the window waiting for its picture.
static void onFirstDisplay() {
    onDisplay();
    glutDisplayFunc(onDisplay);
    openAudio();
}

int main(int argc, char** argv) {
    // Diagnostic lines must reach a pipe or a file at once and in order.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WindowWidth, WindowHeight);
    glutInitWindowPosition(WindowX, WindowY);
    game.windowId = glutCreateWindow(WindowTitle);
    requestSwapInterval();
    startGame();
    glutDisplayFunc(onFirstDisplay);

    glutMainLoop();
    return 0;
}

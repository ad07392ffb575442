// Start-up: answers --help and --version, opens the window at the desktop's scale, tells
// the desktop what the window is, wires the callbacks, prepares the light, the game and
// the pictures, and hands over to the GLUT main loop.
#include <GL/freeglut.h>

#include <cstdio>
#include <string>

#include "app/desktop_window.h"
#include "app/frame_presenter.h"
#include "app/game_state.h"
#include "app/window_fit.h"
#include "assets/assets.h"
#include "audio/audio.h"
#include "game/play.h"
#include "render/render.h"

// Asks the GL for one buffer swap per display refresh, where it offers that.
void requestSwapInterval();

// Draws the first frame, then starts opening the audio device in the background.
static void onFirstDisplay() {
    onDisplay();
    glutDisplayFunc(onDisplay);
    openAudio();
}

// Prints an answer on standard output; the exit status says whether it got there.
static int answer(CommandLineAnswer what) {
    const std::string text = answerText(what);
    const bool written = std::fputs(text.c_str(), stdout) >= 0;
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

int main(int argc, char** argv) {
    const CommandLineAnswer asked = commandLineAnswer(argc, argv);
    if (asked != AnswerNone) return answer(asked);

    // Diagnostic lines must reach a pipe or a file at once and in order.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);

    const std::string display = glutDisplayOption(argc, argv);
    glutInit(&argc, argv);
    // A closed window ends the main loop, and the game then quits as Q does: freeglut's
    // own exit would wait for a sound device that hangs.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    const ScreenRect window =
        placeWindowOnScreen({WindowX, WindowY, WindowWidth, WindowHeight}, display, &game.fullScreenOffered);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(window.width, window.height);
    glutInitWindowPosition(window.x, window.y);
    game.windowId = glutCreateWindow(WindowTitle);
    setWindowClassAndIcon(WindowClass);
    detectKeyRepeats();  // without it a held Space would pull the lever at every repeat
    requestSwapInterval();
    setFramePresenter(glxFramePresenter());
    watchExposes();
    startGame();
    glutDisplayFunc(onFirstDisplay);

    glutMainLoop();
    quitGame();
}

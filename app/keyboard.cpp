// Keyboard commands, dispatched from the table of keys in app/keys.h: the screens, the
// lever, the sound, the view, the axis cross, fullscreen and quitting.
#include <GL/freeglut.h>

#include "app/game_state.h"
#include "app/keys.h"
#include "audio/audio.h"
#include "game/play.h"
#include "render/render.h"

static_assert(SpecialKeyF11 == GLUT_KEY_F11, "the table of keys names F11 by GLUT's code");

// Which of the table's keys are down, for those that act once per press.
static bool held[KeyBindingCount];

// The table's entry for a key, -1 for a key that does nothing. Letters act in either case.
static int bindingOf(int code, bool special) {
    if (!special && code >= 'a' && code <= 'z') code -= 'a' - 'A';
    for (int i = 0; i < KeyBindingCount; ++i)
        if (keyBindings[i].special == special && keyBindings[i].code == code) return i;
    return -1;
}

static void run(KeyCommand command) {
    switch (command) {
    case CommandPullLever:
        // What a press on the lever does, without the pick pass and its console lines.
        if (game.screen != ScreenMachine) return;
        pullLever();
        requestFrame();
        return;
    case CommandMachineScreen:
        game.screen = ScreenMachine;
        wakeAnimation();  // a spin left on another screen goes on at once
        requestFrame();
        return;
    case CommandPrizeScreen:
        // Also starts the animation that bounces the ball; only a finished spin stops it.
        game.screen = ScreenPrize;
        armAnimationTimer();
        game.animating = 1;
        requestFrame();
        return;
    case CommandTokenScreen:
        game.screen = ScreenTokens;
        requestFrame();
        return;
    case CommandMute: toggleMute(); return;
    case CommandToggleView:
        game.usePerspective = !game.usePerspective;
        onReshape(game.windowWidth, game.windowHeight);  // posts its own redisplay
        return;
    case CommandToggleAxes:
        game.showAxes = !game.showAxes;
        requestFrame();
        return;
    case CommandFullScreen:
        // The window manager resizes the window, and the reshape that follows scales the scene.
        if (game.fullScreenOffered) glutFullScreenToggle();
        return;
    case CommandLeaveFullScreen:
        if (game.fullScreenOffered && glutGet(GLUT_FULL_SCREEN)) glutLeaveFullScreen();
        return;
    case CommandQuit: quitGame();
    }
}

static void press(int binding) {
    if (binding < 0) return;
    if (keyBindings[binding].oncePerPress) {
        if (held[binding]) return;  // a key repeat of a key held down
        held[binding] = true;
    }
    run(keyBindings[binding].command);
}

static void release(int binding) {
    if (binding >= 0) held[binding] = false;
}

void onKeyboard(unsigned char key, int /*x*/, int /*y*/) { press(bindingOf(key, false)); }
void onKeyboardUp(unsigned char key, int /*x*/, int /*y*/) { release(bindingOf(key, false)); }
void onSpecialKey(int key, int /*x*/, int /*y*/) { press(bindingOf(key, true)); }
void onSpecialKeyUp(int key, int /*x*/, int /*y*/) { release(bindingOf(key, true)); }

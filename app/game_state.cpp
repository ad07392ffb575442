// Defines the one GameState instance and the defaults of a new game.
#include "app/game_state.h"

// Constant initialisation: the record exists before main runs.
GameState game = startState();

void resetGame() {
    game.usePerspective = true;
    game.showAxes = false;
    game.screen = ScreenMachine;
    game.eye = {0.0f, 0.0f, 4.0f};
    game.center = {0.0f, 0.0f, 0.0f};
    game.up = {0.0f, 1.0f, 0.0f};
    game.pickSize = 1.0f;
    game.credits = StartCredits;
    game.tickets = 0;
    game.shownTickets = 0;
    game.reelAngle[0] = game.reelAngle[1] = game.reelAngle[2] = 0.0f;
    game.leverAngle = 0.0f;
}

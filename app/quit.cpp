// Quitting: the Q key and the closed window end the game here, promptly whatever the
// sound device does.
#include <cstdio>
#include <cstdlib>

#include "app/game_state.h"
#include "audio/audio.h"

void quitGame() {
    if (closeAudio()) std::exit(0);
    // The device is still closing (its sound server hangs). exit would run the sound
    // libraries' own clean-up, which waits for it too; nothing is saved, so the process
    // ends without it once the console has its lines.
    std::fflush(nullptr);
    std::_Exit(0);
}

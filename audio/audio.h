// The sound of the machine: the cues the game play emits where a rule is applied or an
// animation step happens, and the audio device that turns them into sound.
#pragma once

// ---------------------------------------------------------------------------------
// Cues
// ---------------------------------------------------------------------------------

enum Cue : int {
    CuePull,         // the lever leaves its rest: what the spin before left ringing makes way
    CueRatchet,      // the lever, rising, passes a tooth of its ratchet
    CueClack,        // the lever reaches full pull
    CueReelsStart,   // the three reels start turning: each one's run loops until it lands
    CueReelsPause,   // the reels still turning stand still: another screen, or a new pull
    CueReelsResume,  // they turn again: the runs of those that have not landed come back
    CueKnockLeft,    // a reel lands on its stop, which ends its run: left, centre, right
    CueKnockCentre,
    CueKnockRight,
    CueChime,    // the result shows a pair
    CueFanfare,  // the result shows three of a kind
    CueCoin,     // tokens bought at the token counter
    CueBuzz,     // a bet or a purchase refused
    CueBounce,   // the winner's prize ball turns at the bottom
};

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

// Starts opening the default audio device on a helper thread and returns at once; the
// device is opened again whenever it is lost, and until one is ready the cues are
// dropped. Nothing is printed either way. Closes itself at exit.
void openAudio();

// Takes over a device the helper has made ready and lets go of one that is lost: cheap,
// for the animation timer. True while a device plays the cues.
bool pollAudio();

// Stops every sound, closes the device and ends the helper, waiting at most
// AudioCloseWaitMs. False when that was not enough (a device or sound server that
// hangs): the process must then end without the libraries' own clean-up, which would
// wait for it as well. Safe to call when nothing is open.
bool closeAudio();

// Starts the sound of a cue. Does nothing audible while no device is open or after the
// device has gone away, but the reels' runs are remembered for a device opened later.
void playCue(Cue cue);

// The winnings land in the status bar: a coin for each token and a tick for each
// ticket, counted out within 1.5 s, longer and brighter for three of a kind. Nothing
// when nothing lands.
void playPayout(int tokens, int tickets, bool threeOfAKind);

// Silences everything the game plays within one mixing period, or brings back what is
// still playing; the game goes on either way, and nothing is printed.
void toggleMute();

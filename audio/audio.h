// The sound of the machine: the cues the game play emits where a rule is applied or an
// animation step happens, and the audio device that turns them into sound.
#pragma once

// ---------------------------------------------------------------------------------
// Cues
// ---------------------------------------------------------------------------------

enum Cue : int {
    CueLever,      // a spin starts: the lever is pulled
    CueReelsRun,   // the reels start (or resume) turning: a loop until CueReelsStop
    CueReelsStop,  // the last reel has landed, or the machine left the screen
    CueKnockLeft,  // a reel snaps to its stop: left, centre, right
    CueKnockCentre,
    CueKnockRight,
    CueChime,    // a pair pays
    CueFanfare,  // three of a kind pays
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

// Starts the sound of a cue, restarting it when it already plays. Does nothing while
// no device is open or after the device has gone away.
void playCue(Cue cue);

// Silences everything the game plays, or brings it back; the game goes on either way.
void toggleMute();

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

// Opens the default audio device and makes the sounds; true when a device plays them.
// Without a device (or with one that fails) the game stays silent and nothing is
// printed. Closes itself at exit.
bool openAudio();

// Stops every sound and lets the device go; safe to call when nothing is open.
void closeAudio();

// Starts the sound of a cue, restarting it when it already plays. Does nothing while
// no device is open or after the device has gone away.
void playCue(Cue cue);

// Silences everything the game plays, or brings it back; the game goes on either way.
void toggleMute();

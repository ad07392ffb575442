// Inside the audio: what the device code and the voice code tell each other. The game
// sees only audio/audio.h.
#pragma once

// True while the open device can be played on.
bool deviceLive();

// Makes the buffers and the sources on the current context and applies the mute; false
// when the device refuses any of it. Only AL calls and computation: the sounds are
// synthesised at the first call and kept for the devices opened after it.
bool makeVoices();
// Brings a device just made live back to what should be playing: the mute as it is now
// and the runs of the reels still turning. Call it on the thread that plays the cues,
// once the device is handed to it.
void restoreVoices();
// Fades out whatever still sounds, then stops every voice and deletes the sources and
// buffers of the current context.
void releaseVoices();

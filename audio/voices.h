// Inside the audio: what the device code and the voice code tell each other. The game
// sees only audio/audio.h.
#pragma once

// True while the open device can be played on. Takes over a device the helper thread
// has made ready and lets go of one that is lost: the main thread's, like every call of
// the voice code on the device it plays on.
bool deviceLive();

// Makes the buffers and the sources on the context current on the calling thread: the
// helper's, while the main thread plays on no device. Only AL calls and computation:
// the sounds are synthesised at the first call and kept for the devices opened after
// it. False when the device refuses any of it.
bool makeVoices();
// The main thread has just taken over a device: what the game wants heard now (the
// mute as it is now, the runs of the reels still turning) is applied to it.
void restoreVoices();
// Fades out whatever still sounds, then stops every voice and deletes the sources and
// buffers of the context current on the calling thread (the helper's, closing a device
// the main thread has let go).
void releaseVoices();

// Inside the audio: what the device code and the voice code tell each other. The game
// sees only audio/audio.h.
#pragma once

// True while the open device can be played on.
bool deviceLive();

// Makes the buffers and the sources on the current context; false when the device
// refuses any of it.
bool makeVoices();
// Stops every voice and deletes the sources and buffers of the current context.
void releaseVoices();

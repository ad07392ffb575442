// A real game session for the stress tests and the benchmarks: a freeglut window with
// Mesa's GL, the game started in the pictures' folder, and the checks run between steps.
#pragma once

#include <cstddef>

// The sanitizer build runs the stress counts divided by StressDivisor.
#if defined(__SANITIZE_ADDRESS__)
#define SLOT_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SLOT_UNDER_SANITIZER 1
#endif
#endif

#ifdef SLOT_UNDER_SANITIZER
constexpr bool UnderSanitizer = true;
constexpr int StressDivisor = 10;
#else
constexpr bool UnderSanitizer = false;
constexpr int StressDivisor = 1;
#endif

// Opens the game's window at the size given, starts the game in the pictures' folder
// (SLOT_PICTURE_DIR, or the build's stage folder) and shapes the view to the window.
// Later calls in the same process only shape the view: the game goes on as it stands.
void openGameWindow(int width, int height);

// Hands freeglut the window events that are waiting (and the timers that are due).
void pumpEvents();

// Sends standard output to /dev/null while it lives: the game prints a line per pick
// and per picture, and the runs would drown in them.
class QuietStdout {
public:
    QuietStdout();
    ~QuietStdout();
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_;
};

size_t residentBytes();

// True when every entry of the GL's projection matrix is a finite number.
bool projectionFinite();

// What is wrong with the game state, or nullptr: credits below 0, a stake other than
// 0, 1 or 5, a reel stop other than 0 or one of the four stops.
const char* stateViolation();

// Where a point of the scene lands in the window, in GLUT's mouse coordinates (origin
// top left), for the display's projection and camera as they stand.
bool windowPointOf(double x, double y, double z, int* windowX, int* windowY);

// The window point of the lever's knob while the lever is at rest.
bool leverKnobPoint(int* windowX, int* windowY);

// The one game record: every field of game, view, window and input state, the types
// it is made of, and the constants of the rules. Every callback reads and writes `game`.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// ---------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------

struct Vec3 {
    float x, y, z;
};

enum Screen : int32_t { ScreenMachine = 0, ScreenPrize = 1, ScreenTokens = 2 };

enum MachinePhase : int32_t { PhaseIdle = 0, PhaseSpinning = 1, PhaseSettled = 2 };

// The result of a spin, and the tickets it pays per token staked.
enum WinKind : int32_t { WinNone = 0, WinPair = 1, WinTriple = 2 };

constexpr int SelectBufferSize = 512;

// The animation driver (game/animation.cpp): the one timer chain and the step clock.
struct AnimationDriver {
    bool chainLive;         // the 166 ms chain is armed; from then on it fires for the whole run
    bool askedSinceFiring;  // an animation was asked for since the chain last fired
    bool stepsOn;           // the chain's word at its last firing: steps may run
    bool stepTimerArmed;    // a one-shot onStepDue is on its way
    std::chrono::steady_clock::time_point clockOrigin;  // step k of the clock's run falls due k steps after it
    int64_t stepsTaken;                                 // steps of the clock's run so far; 0 while it stands
};

// Winnings as the payout counts them out: a coin a token, a tick a ticket, brighter for
// three of a kind.
struct Winnings {
    int32_t tokens;
    int32_t tickets;
    bool threeOfAKind;
};

// What the steps have cued (game/steps.cpp), so that each sound is cued once; the sound
// reads from it which reels' runs should be heard.
struct StepCues {
    bool reelsHeard;     // the reels' runs sound: the reels turn, on the machine screen
    bool reelLanded[3];  // knocked onto its stop since the reels began to turn
    int32_t resultDue;   // steps until the result is heard; 0 when none is due
    Winnings payout;     // booked by the spins shown; counted out as they land in the status bar
};

struct GameState {
    int32_t credits;
    int32_t tickets;
    int32_t bet;
    int32_t shownCredits;
    int32_t shownTickets;
    Screen screen;
    MachinePhase machinePhase;
    int32_t animating;
    WinKind winKind;
    int32_t reelStop[3];
    float reelAngle[3];
    bool reelsSettling;
    float leverAngle;
    float marqueeAngle;
    float ballHeight;
    bool ballRising;
    bool showAxes;
    bool usePerspective;
    Vec3 eye;
    Vec3 center;
    Vec3 up;
    int32_t windowId;
    int32_t windowWidth;
    int32_t windowHeight;
    int32_t pickX;
    int32_t pickY;
    float pickSize;
    uint32_t selectBuffer[SelectBufferSize];
    int32_t hudSlot;
    // Whether the window manager offers fullscreen windows; found at start-up. Without
    // one, freeglut's own fallback moves the window partly off screen, so F11 and Escape
    // do nothing.
    bool fullScreenOffered;
    uint32_t randState;  // the game's generator: every reel stop is drawn from it
    AnimationDriver driver;
    StepCues cues;
};

// The record as the program starts: everything zero, but the prize ball on its way up
// and the generator at its seed of 1, never changed, so every run plays the same stops.
constexpr GameState startState() {
    GameState g{};
    g.ballRising = true;
    g.randState = 1;
    return g;
}

extern GameState game;

// ---------------------------------------------------------------------------------
// Constants of the game
// ---------------------------------------------------------------------------------

// Window
constexpr int WindowWidth = 900;
constexpr int WindowHeight = 900;
constexpr int WindowX = 100;
constexpr int WindowY = 100;
constexpr const char* WindowTitle = "Slot Machine";
// The window's class (WM_CLASS), by which docks match it with the desktop entry.
constexpr const char* WindowClass = "slot-machine";
// The desktop's scale is its Xft.dpi against this; the window's size follows it.
constexpr double BaseDpi = 96.0;
constexpr double MinDpi = 24.0;  // bounds within which an Xft.dpi is taken as given
constexpr double MaxDpi = 960.0;

// Rules
constexpr int32_t StartCredits = 10;
constexpr int32_t CreditCap = 10;  // a triple's payout is capped here
constexpr int32_t BuyLimit = 10;   // tokens are sold only up to this many held
constexpr int32_t StakeOne = 1;
constexpr int32_t StakeFive = 5;
constexpr int32_t WinnerTickets = 5;  // tickets that make a winner at the prize counter
constexpr int32_t ReelStops[4] = {25, 135, 215, 305};

// Animation: the timer chain's period, the steps' clock, and each step's moves
constexpr unsigned TimerPeriodMs = 166;
constexpr int StepsPerSecond = 120;                  // of the steady clock, whatever the frame rate
constexpr int MaxCatchUpSteps = StepsPerSecond / 4;  // a late frame runs at most a quarter second's steps
constexpr float LeverStep = 2.0f;
constexpr float LeverFullPull = 70.0f;
constexpr float LeverRest = 5.0f;
constexpr int RatchetTooth = 6;      // degrees of lever travel from one tooth of its ratchet to the next
constexpr int ResultDelaySteps = 6;  // the result is heard this long after the right reel's knock
constexpr float ReelStep = 20.0f;
constexpr float ReelRunLimit[3] = {1440.0f, 2880.0f, 4320.0f};  // 4, 8 and 12 turns
constexpr float MarqueeStep = 2.0f;
constexpr float MarqueeFirstTurn = -360.0f;
constexpr float MarqueeSecondTurn = -720.0f;
constexpr double BallRiseStep = 0.05;
constexpr double BallTop = 0.75;
constexpr double BallFallStep = 0.1;
constexpr double BallBottom = 0.05;

// Status bar
constexpr int32_t MaxCoinsShown = 11;
constexpr int32_t MaxTicketsShown = 13;

// Sound device
constexpr unsigned AudioRetryMs = 2000;     // between tries to open a device while none opens
constexpr unsigned AudioCloseWaitMs = 500;  // the longest a quit waits for the device to close

// ---------------------------------------------------------------------------------
// Functions of the application shell
// ---------------------------------------------------------------------------------

// Stores the defaults of a new game; draws nothing and arms no timer.
void resetGame();

// Everything start-up does once the window and its GL context exist: callbacks,
// light, a new game, the textures, and the GL switches; ends the process on a bad picture.
void startGame();

// Ends the game with status 0: the audio is given a short while to close its device,
// and a device that hangs (a stopped sound server) does not hold the quit up.
[[noreturn]] void quitGame();

// The keys of app/keys.h; every other key does nothing. A key that acts once per press
// (Space) acts again only after its release has been seen.
void onKeyboard(unsigned char key, int x, int y);
void onKeyboardUp(unsigned char key, int x, int y);
// GLUT's special keys (function and arrow keys): F11 toggles fullscreen where it is
// offered, the rest do nothing.
void onSpecialKey(int key, int x, int y);
void onSpecialKeyUp(int key, int x, int y);

// What the command line asks of the program itself: -h or --help and -v or --version are
// answered without a display; every other argument is GLUT's.
enum CommandLineAnswer { AnswerNone, AnswerHelp, AnswerVersion };
CommandLineAnswer commandLineAnswer(int argc, const char* const* argv);
// The text of an answer: the usage, the keys and how to play; or the name and version.
std::string answerText(CommandLineAnswer answer);

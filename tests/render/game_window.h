// The one game window of a render test process: a real freeglut window under the X
// display of DISPLAY, the game started in a folder of pictures, frames drawn and read
// back from the front buffer, and presses made through the mouse callback.
#pragma once

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/render/scene_geometry.h"
#include "tests/render/test_pictures.h"

namespace rt {

const int WindowSide = 900;

// Opens the window once per process and starts the game in `pictureDir`; an empty
// name means a fresh folder of the solid test pictures. Returns false without a display.
bool startGameIn(const std::string& pictureDir);
// What start-up printed, the load lines and the first reshape's "perspective".
const std::string& startupOutput();
// The folder the game was started in; the working directory.
const std::string& pictureFolder();
// Puts the game back as it was right after start-up: the state record, the reel-stop
// generator, the timer chain, the pick path, and the 900 x 900 perspective view.
void restoreStartState();

// One frame as it reached the window: colours and depths, rows from the bottom.
class Frame {
public:
    Frame(int width, int height);
    Rgb at(int x, int y) const;
    Rgb at(const WinPoint& p) const;
    float depthAt(const WinPoint& p) const;
    int width() const { return width_; }
    int height() const { return height_; }
    // The colours inside a window rectangle, for comparing frames.
    std::vector<Rgb> region(const WinRect& r) const;

    std::vector<unsigned char> rgb;
    std::vector<float> depth;

private:
    int width_, height_;
};

// Draws a frame with the game's display callback and reads it back after its swap.
Frame showFrame();
// Draws `draw` as the display would draw a scene (cleared buffers, the display look-at,
// the light), swaps, and reads it back: for drawing single pieces.
Frame showPieces(const std::function<void()>& draw);

// Presses a mouse button at a window point (y from the bottom, as the GL counts).
void press(const WinPoint& p, int button = GLUT_LEFT_BUTTON, int state = GLUT_DOWN);

// The largest channel difference between two colours.
int colourDistance(const Rgb& a, const Rgb& b);
// Each channel of `c` scaled by `by` / 255: what modulation by a texture colour gives.
Rgb modulate(const Rgb& c, const Rgb& by);
// Of the candidate slots, the one whose colour is nearest to `c`.
int nearestSlot(const Rgb& c, std::initializer_list<int> slots);

// Lets gtest print colours in its failure messages.
void PrintTo(const Rgb& c, std::ostream* out);

// A test that runs in the game window with the solid test pictures, from the start state.
class GameWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
};

}  // namespace rt

// Frames the game asks for, drawn in part over the frame before them and presented the
// way the window's GLX offers, against the same frames drawn whole: every frame of three
// spins (a loss, a pair, three of a kind, the winnings landing in the bar), of the ball's
// bounce and of a purchase, in both views and at two window sizes.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/frame_presenter.h"
#include "app/game_state.h"
#include "game/play.h"
#include "render/render.h"
#include "tests/render/game_window.h"
#include "tests/render/png_file.h"
#include "tests/render/stdout_capture.h"
#include "tests/render/window_readback.h"
#include "tests/unit/timeline.h"

using namespace rt;

namespace {

struct WindowSize {
    int width, height;
};

// How the frames reach the window: the window's GLX as it is (Mesa's software GL under
// X copies rectangles to the front); a chain of three back buffers that swaps like a
// GPU's, whose age the GL knows; or swaps after which the GL cannot tell the back
// buffer's age, but copies rectangles.
enum Presenting { WindowsOwn, ChainOfThree, AgeUnknown };

// A window size, a view, the way frames are presented, and the size the window takes
// at the end, under the same presenter (none: it keeps its size).
struct Setting {
    WindowSize size;
    bool perspective;
    Presenting presenting;
    WindowSize resizedTo;
};
// A square window, as the game opens it, and a smaller one of another shape (where the
// other ways of presenting run too): sizes that keep the run short, for each frame is
// drawn twice and read back.
const Setting Settings[] = {
    {{720, 720}, true, WindowsOwn, {0, 0}},     {{720, 720}, false, WindowsOwn, {0, 0}},
    {{480, 300}, true, WindowsOwn, {560, 420}}, {{480, 300}, false, WindowsOwn, {400, 320}},
    {{480, 300}, true, ChainOfThree, {0, 0}},   {{480, 300}, true, AgeUnknown, {0, 0}},
};
const char* const PresentingNames[] = {"", "ChainOfThree", "AgeUnknown"};

// Lets gtest name a setting in its messages.
void PrintTo(const Setting& s, std::ostream* out) {
    *out << s.size.width << "x" << s.size.height << (s.perspective ? " perspective " : " orthographic ")
         << PresentingNames[s.presenting];
}

// A chain of back buffers, each handed back after as many swaps as there are: the
// window's back buffer is put aside at each swap and the oldest put back. The frame is
// shown by a copy to the front. A back buffer not swapped yet holds no frame.
class SwapChain {
public:
    SwapChain(int length, int width, int height) : length_(length), width_(width), height_(height) {
        fbo_.resize(static_cast<size_t>(length));
        colour_.resize(static_cast<size_t>(length));
        glGenFramebuffers(length, fbo_.data());
        glGenRenderbuffers(length, colour_.data());
        for (int i = 0; i < length; ++i) complete_ = complete_ && attach(fbo_[i], colour_[i], width, height);
    }
    ~SwapChain() {
        glDeleteFramebuffers(length_, fbo_.data());
        glDeleteRenderbuffers(length_, colour_.data());
    }
    SwapChain(const SwapChain&) = delete;
    SwapChain& operator=(const SwapChain&) = delete;

    bool complete() const { return complete_; }
    int age() const { return swaps_ >= length_ ? length_ : 0; }

    void swap(bool (*copyRects)(const PixelRect*, int)) {
        blit(0, fbo_[static_cast<size_t>(swaps_ % length_)], width_, height_);
        const PixelRect all = {0, 0, width_, height_};
        copyRects(&all, 1);
        ++swaps_;
        if (age() > 0) {
            blit(fbo_[static_cast<size_t>(swaps_ % length_)], 0, width_, height_);
        } else {
            glClearColor(1.0f, 0.0f, 1.0f, 1.0f);  // anything but a frame
            glClear(GL_COLOR_BUFFER_BIT);
            glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        }
    }

    // A colour buffer of the window's size, as a framebuffer.
    static bool attach(GLuint fbo, GLuint colour, int width, int height) {
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        const bool ready = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return ready;
    }

    // Copies the colours of one framebuffer (0: the window's back buffer) to another.
    static void blit(GLuint from, GLuint to, int width, int height) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
        glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

private:
    int length_, width_, height_;
    std::vector<GLuint> fbo_, colour_;
    int swaps_ = 0;
    bool complete_ = true;
};

// What reached the window, as the presenter was asked to show it.
struct Shown {
    FramePresenter glx;
    SwapChain* chain;  // null: the window's own buffers
    long long pixels;  // presented since the last look
    int wholeFrames;
    int swaps;
};
Shown shown = {};

bool copyShown(const PixelRect* rects, int count) {
    for (int i = 0; i < count; ++i) {
        const PixelRect& r = rects[i];
        shown.pixels += static_cast<long long>(r.width) * r.height;
        if (r.width == glutGet(GLUT_WINDOW_WIDTH) && r.height == glutGet(GLUT_WINDOW_HEIGHT)) ++shown.wholeFrames;
    }
    return shown.glx.copyRects(rects, count);
}

void swapShown() {
    ++shown.swaps;
    if (shown.chain) return shown.chain->swap(copyShown);
    shown.pixels += static_cast<long long>(glutGet(GLUT_WINDOW_WIDTH)) * glutGet(GLUT_WINDOW_HEIGHT);
    ++shown.wholeFrames;
    shown.glx.swapBuffers();
}

int chainAge() { return shown.chain->age(); }

int ageUnknown() { return 0; }

// Resizes the window and waits until GLUT has reshaped the game to the new size.
bool resizeWindow(const WindowSize& size) {
    glutSetWindow(game.windowId);
    glutReshapeWindow(size.width, size.height);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    StdoutCapture quiet;  // each reshape prints "perspective"
    while (std::chrono::steady_clock::now() < end) {
        glutMainLoopEvent();
        glutSetWindow(game.windowId);
        if (glutGet(GLUT_WINDOW_WIDTH) == size.width && glutGet(GLUT_WINDOW_HEIGHT) == size.height &&
            game.windowWidth == size.width && game.windowHeight == size.height)
            return true;
    }
    return false;
}

// The same picture drawn whole in the window's back buffer. (A framebuffer of its own
// would not do: the GL rasterizes the window's buffers upside down, and a few edge
// pixels fall the other way.) Where the back buffer holds frames a swap shows whole, its
// colours are put aside meanwhile, and back after; where rectangles are copied to the
// front, each is repainted whole, and nothing outside them is ever shown.
class WholeFrames {
public:
    WholeFrames(int width, int height, bool keepBackBuffer) : width_(width), height_(height), keep_(keepBackBuffer) {
        glGenFramebuffers(1, &fbo_);
        glGenRenderbuffers(1, &colour_);
        complete_ = SwapChain::attach(fbo_, colour_, width, height);
    }
    ~WholeFrames() {
        glDeleteFramebuffers(1, &fbo_);
        glDeleteRenderbuffers(1, &colour_);
    }
    WholeFrames(const WholeFrames&) = delete;
    WholeFrames& operator=(const WholeFrames&) = delete;

    bool complete() const { return complete_; }

    // The picture as it stands, drawn whole, as 0xRRGGBB words.
    void draw(std::vector<uint32_t>* colours) {
        if (keep_) SwapChain::blit(0, fbo_, width_, height_);
        drawPicture();
        colours->resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, colours->data());
        std::transform(colours->begin(), colours->end(), colours->begin(), [](uint32_t c) { return c & 0xFFFFFFu; });
        if (keep_) SwapChain::blit(fbo_, 0, width_, height_);
    }

private:
    int width_, height_;
    bool keep_;
    GLuint fbo_ = 0;
    GLuint colour_ = 0;
    bool complete_ = false;
};

class PartialFrames : public ::testing::TestWithParam<Setting> {
protected:
    void SetUp() override {
        ASSERT_TRUE(startGameIn(SLOT_STAGE_DIR_PATH)) << "the render tests need an X display in DISPLAY";
        size_ = GetParam().size;
        ASSERT_TRUE(resizeWindow(size_)) << "the window did not take the size " << size_.width << "x" << size_.height;
        restoreStartState();
        game.usePerspective = GetParam().perspective;
        StdoutCapture quiet;
        onReshape(size_.width, size_.height);
        quiet.finish();
        shown = {glxFramePresenter(), nullptr, 0, 0, 0};
        ASSERT_TRUE(shown.glx.copyRects) << "this GLX copies no rectangle to the front (Mesa's software GL does)";
        switch (GetParam().presenting) {
        case WindowsOwn:
            setFramePresenter({swapShown, shown.glx.backBufferAge, copyShown, shown.glx.fitBackBuffer});
            break;
        case ChainOfThree:
            chain_ = std::make_unique<SwapChain>(3, size_.width, size_.height);
            ASSERT_TRUE(chain_->complete());
            shown.chain = chain_.get();
            setFramePresenter({swapShown, chainAge, nullptr, nullptr});
            break;
        case AgeUnknown: setFramePresenter({swapShown, ageUnknown, copyShown, shown.glx.fitBackBuffer}); break;
        }
        whole_ = std::make_unique<WholeFrames>(size_.width, size_.height, shown.chain != nullptr);
        ASSERT_TRUE(whole_->complete());
    }

    void TearDown() override {
        setFramePresenter(glutFramePresenter());
        whole_.reset();
        shown.chain = nullptr;
        chain_.reset();
    }

    // Draws the frame the game asks for after `what`, reads the window, and compares it
    // with the same picture drawn whole. Returns the pixels the frame presented.
    long long frameAfter(const std::string& what) {
        shown.pixels = 0;
        requestFrame();
        onDisplay();
        glFinish();
        window_.resize(static_cast<size_t>(size_.width) * static_cast<size_t>(size_.height));
        if (!readWindowColours(size_.width, size_.height, window_.data())) {
            ADD_FAILURE() << "the window cannot be read back";
            return 0;
        }
        whole_->draw(&expected_);
        if (window_ != expected_ && !failed_) {
            failed_ = true;  // one frame's pictures are enough to look at
            reportDifference(what, window_, expected_);
        }
        ++frames_;
        return shown.pixels;
    }

    // Steps the machine to the end of its animation, a frame after each step; the pixels
    // all of them presented.
    long long playOut(const char* spin) {
        long long pixels = 0;
        for (int step = 1; game.animating != 0 && step < 5000; ++step) {
            machineStep();
            pixels += frameAfter(std::string(spin) + ", step " + std::to_string(step));
        }
        return pixels;
    }

    void reportDifference(const std::string& what, const std::vector<uint32_t>& window,
                          const std::vector<uint32_t>& expected) {
        int count = 0;
        int first = -1;
        for (size_t i = 0; i < window.size(); ++i)
            if (window[i] != expected[i]) {
                if (first < 0) first = static_cast<int>(i);
                ++count;
            }
        const Setting& setting = GetParam();
        const std::string stem = std::string(SLOT_ACTUAL_DIR) + "/partial-" + std::to_string(size_.width) + "x" +
                                 std::to_string(size_.height) + (setting.perspective ? "-perspective" : "-ortho") +
                                 PresentingNames[setting.presenting];
        writePng(stem + "-drawn-in-part.png", size_.width, size_.height, rgbOf(window));
        writePng(stem + "-drawn-whole.png", size_.width, size_.height, rgbOf(expected));
        ADD_FAILURE() << what << ": " << count << " pixels differ from the frame drawn whole, the first at ("
                      << first % size_.width << ", " << first / size_.width << ") from the lower left; both are in "
                      << stem << "-*.png";
    }

    static std::vector<unsigned char> rgbOf(const std::vector<uint32_t>& colours) {
        std::vector<unsigned char> rgb;
        rgb.reserve(colours.size() * 3);
        for (uint32_t c : colours) {
            rgb.push_back(static_cast<unsigned char>(c >> 16));
            rgb.push_back(static_cast<unsigned char>(c >> 8));
            rgb.push_back(static_cast<unsigned char>(c));
        }
        return rgb;
    }

    WindowSize size_{};
    std::unique_ptr<SwapChain> chain_;
    std::unique_ptr<WholeFrames> whole_;
    std::vector<uint32_t> window_, expected_;
    int frames_ = 0;
    bool failed_ = false;
};

}  // namespace

TEST_P(PartialFrames, AreTheFramesDrawnWhole) {
    const Presenting presenting = GetParam().presenting;
    const long long window = static_cast<long long>(size_.width) * size_.height;
    EXPECT_EQ(frameAfter("the first frame"), window);  // the first frame is whole

    // From a fresh start: three different symbols, then a pair, then three of a kind (the
    // other ways of presenting play the first).
    const struct {
        const char* name;
        WinKind kind;
    } spins[] = {{"a loss", WinNone}, {"a pair", WinPair}, {"three of a kind", WinTriple}};
    const int played = presenting == WindowsOwn ? 3 : 1;
    for (int i = 0; i < played; ++i) {
        const char* spin = spins[i].name;
        const int wholeBefore = shown.wholeFrames;
        betOne();
        EXPECT_EQ(game.winKind, spins[i].kind) << spin;
        long long pixels = frameAfter(std::string(spin) + ", the request");
        pixels += playOut(spin);
        if (presenting == WindowsOwn) {
            EXPECT_EQ(shown.wholeFrames, wholeBefore) << spin << ": a frame of the spin was presented whole";
            // The spin moves about a tenth of the picture: far below a whole window a frame.
            EXPECT_LT(pixels, window * Spin.ends / 5) << spin;
        }
    }
    if (presenting == WindowsOwn) {
        EXPECT_EQ(game.shownTickets, 3);  // the pair's and the triple's winnings landed
    }
    // With the age unknown after the first swap, the back buffer is kept: the next frame
    // is copied whole, and every later one in part.
    if (presenting == AgeUnknown) {
        EXPECT_EQ(shown.swaps, 1);
        EXPECT_EQ(shown.wholeFrames, 2);
    }

    // The prize counter: a winner's ball through a whole bounce and more.
    game.screen = ScreenPrize;
    game.tickets = WinnerTickets;
    EXPECT_EQ(frameAfter("the prize counter"), window);
    for (int step = 1; step <= 30; ++step) {
        ballStep();
        const long long pixels = frameAfter("the ball, step " + std::to_string(step));
        if (!shown.chain) {
            EXPECT_LT(pixels, window / 4);
        }
    }

    // The token counter, and a purchase landing in the bar at once.
    game.screen = ScreenTokens;
    frameAfter("the token counter");
    buyTokens(2);
    const long long purchase = frameAfter("a purchase of two tokens");
    if (!shown.chain) {
        EXPECT_LT(purchase, window / 4);
    }
    // A frame asked for with nothing changed presents nothing.
    EXPECT_EQ(frameAfter("nothing changed"), 0);

    // The window takes another size: the next frame is whole, at the new size, and the
    // frames of a spin after it come in part again.
    const WindowSize resized = GetParam().resizedTo;
    if (resized.width > 0) {
        game.screen = ScreenMachine;
        ASSERT_TRUE(resizeWindow(resized));  // GLUT draws the frame of the reshape
        size_ = resized;
        whole_ = std::make_unique<WholeFrames>(size_.width, size_.height, false);
        ASSERT_TRUE(whole_->complete());
        frameAfter("the frame after a resize");
        pullLever();
        for (int step = 1; step <= 120; ++step) {
            machineStep();
            const long long pixels = frameAfter("after a resize, step " + std::to_string(step));
            EXPECT_LT(pixels, static_cast<long long>(size_.width) * size_.height / 3);
        }
    }
    std::printf("%d frames compared\n", frames_);
}

// A rectangle the window does not hold (as after a resize under a frame drawn for the
// old size): the X server refuses the copy, and the game goes on to show it otherwise.
TEST(CopyToTheFront, OfARectangleTheWindowDoesNotHoldIsRefusedNotFatal) {
    ASSERT_TRUE(startGameIn(SLOT_STAGE_DIR_PATH)) << "the render tests need an X display in DISPLAY";
    glutSetWindow(game.windowId);
    const FramePresenter glx = glxFramePresenter();
    ASSERT_TRUE(glx.copyRects);
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    drawPicture();
    const PixelRect beyond[2] = {{0, 0, 10, 10}, {0, 0, width, height + 100}};
    EXPECT_FALSE(glx.copyRects(beyond, 2));
    const PixelRect all = {0, 0, width, height};
    EXPECT_TRUE(glx.copyRects(&all, 1));
}

INSTANTIATE_TEST_SUITE_P(Settings, PartialFrames, ::testing::ValuesIn(Settings),
                         [](const ::testing::TestParamInfo<Setting>& info) {
                             const Setting& s = info.param;
                             return std::to_string(s.size.width) + "x" + std::to_string(s.size.height) +
                                    (s.perspective ? "Perspective" : "Orthographic") + PresentingNames[s.presenting];
                         });

// The machine on screen: the marquee's face for each phase, stake and result, the lever
// in its plain material and its swing, the black reel window, each reel at its angle,
// the bet buttons dimmed by the tokens shown, and the GL state a frame and a pick pass
// leave behind.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "app/game_state.h"
#include "assets/assets.h"
#include "game/play.h"
#include "render/render.h"
#include "tests/render/game_window.h"
#include "tests/render/gl_math.h"
#include "tests/render/stdout_capture.h"

using namespace rt;

namespace {

WinPoint marqueeFront() { return project(marqueeSeat(), {0, 0.625, 0.85}); }

WinPoint knobCentre(double angle) { return project(leverFrame(angle), {0, 1.5, 0}); }

WinPoint shaftMiddle(double angle) { return project(leverFrame(angle), {0, 0.75, 0.1}); }

WinPoint reelFront(int reel) { return project(reelSeat(reel), {0, 0, 1}); }

// The lever as it looks in its plain lit material, drawn alone with no slot bound.
Frame plainLever(double angle) {
    return showPieces([angle] {
        bindPlainTexture();
        const Mat4 shaft = leverFrame(angle) * translation(0, 1.5, 0) * rotation(90, 1, 0, 0);
        const Mat4 knob = leverFrame(angle) * translation(0, 1.5, 0);
        glPushMatrix();
        glLoadMatrixd(shaft.m);
        drawLeverShaft();
        glLoadMatrixd(knob.m);
        drawLeverKnob();
        glPopMatrix();
    });
}

// The reel strip of the angle tests: four bands of colours that stay apart under the
// reels' turquoise light, each a quarter turn of the drum.
const std::vector<Rgb> StripBands = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

// Which band a lit reel pixel shows, told by the channels the band colour leaves dark.
int bandOf(const Rgb& c) {
    const bool r = c.r > 24;
    const bool g = c.g > 24;
    const bool b = c.b > 24;
    for (size_t i = 0; i < StripBands.size(); ++i) {
        const Rgb& band = StripBands[i];
        if ((band.r > 0) == r && (band.g > 0) == g && (band.b > 0) == b) return static_cast<int>(i);
    }
    return -1;
}

// The band facing the viewer at `angle`: the strip's column s = (450 - angle) / 360.
int bandFacing(double angle) {
    const double s = std::fmod(450.0 - angle, 360.0) / 360.0;
    return static_cast<int>((s < 0 ? s + 1 : s) * static_cast<double>(StripBands.size()));
}

// Puts a strip of `w` x `h` pixels into the reel slot, as start-up loads a picture.
void uploadReelStrip(int w, int h, const std::function<Rgb(int x)>& column) {
    std::vector<unsigned char> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = column(x);
            pixels.insert(pixels.end(), {c.r, c.g, c.b});
        }
    glBindTexture(GL_TEXTURE_2D, TexReel);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    bindPlainTexture();
}

void uploadBandedStrip() {
    uploadReelStrip(64, 16, [](int x) { return StripBands[static_cast<size_t>(x) * StripBands.size() / 64]; });
}

struct MatrixState {
    GLint modelviewDepth, projectionDepth, mode;
    Mat4 modelview, projection;
};

MatrixState matrixState() {
    MatrixState s{};
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
    glGetIntegerv(GL_MATRIX_MODE, &s.mode);
    s.modelview = glMatrix(GL_MODELVIEW_MATRIX);
    s.projection = glMatrix(GL_PROJECTION_MATRIX);
    return s;
}

void expectSameMatrixState(const MatrixState& a, const MatrixState& b, const char* after) {
    EXPECT_EQ(a.modelviewDepth, b.modelviewDepth) << after;
    EXPECT_EQ(a.projectionDepth, b.projectionDepth) << after;
    EXPECT_EQ(a.mode, b.mode) << after;
    EXPECT_EQ(maxDifference(a.modelview, b.modelview), 0.0) << after;
    EXPECT_EQ(maxDifference(a.projection, b.projection), 0.0) << after;
}

}  // namespace

class Marquee : public GameWindowTest {};

TEST_F(Marquee, WearsTheStakeWhileIdleOrSpinningAndTheResultOnceSettled) {
    struct Case {
        MachinePhase phase;
        int32_t bet;
        WinKind winKind;
        int slot;
    };
    const Case cases[] = {
        {PhaseIdle, 1, WinNone, TexMarqueeOne},  {PhaseSpinning, 1, WinTriple, TexMarqueeOne},
        {PhaseIdle, 5, WinNone, TexMarqueeFive}, {PhaseSpinning, 5, WinPair, TexMarqueeFive},
        {PhaseIdle, 0, WinNone, TexMarqueeFive},  // before the first bet
        {PhaseSettled, 1, WinPair, TexWinTwo},   {PhaseSettled, 5, WinTriple, TexWinThree},
        {PhaseSettled, 1, WinNone, TexWinZero},  {PhaseSettled, 5, WinNone, TexWinZero},
    };
    for (const Case& c : cases) {
        game.machinePhase = c.phase;
        game.bet = c.bet;
        game.winKind = c.winKind;
        const Rgb seen = showFrame().at(marqueeFront());
        EXPECT_LE(colourDistance(seen, slotColour(c.slot)), 2)
            << "phase " << c.phase << ", bet " << c.bet << ", win kind " << c.winKind << ": expected "
            << textureFiles[c.slot] << ", the colour is nearest to "
            << textureFiles[nearestSlot(seen, {5, 6, 7, 8, 9})];
    }
}

class Lever : public GameWindowTest {};

TEST_F(Lever, IsDrawnUntexturedInItsPlainMaterialWhateverTheMarqueeWears) {
    for (double angle : {0.0, 70.0}) {
        const Frame plain = plainLever(angle);
        const Rgb knob = plain.at(knobCentre(angle));
        const Rgb shaft = plain.at(shaftMiddle(angle));
        // Turquoise: every channel lit, green and blue above red.
        for (const Rgb& c : {knob, shaft}) {
            EXPECT_GT(c.r, 10);
            EXPECT_GT(c.g, c.r);
            EXPECT_GT(c.b, c.r);
        }
        game.leverAngle = static_cast<float>(angle);
        for (int32_t bet : {1, 5}) {
            game.bet = bet;  // slot 5 or 6 on the marquee, drawn just before the lever
            const Frame f = showFrame();
            EXPECT_LE(colourDistance(f.at(knobCentre(angle)), knob), 2) << "knob at " << angle << ", bet " << bet;
            EXPECT_LE(colourDistance(f.at(shaftMiddle(angle)), shaft), 2) << "shaft at " << angle << ", bet " << bet;
        }
    }
}

TEST_F(Lever, AtFullPullSwingsTheKnobDownAndTowardTheViewer) {
    const WinPoint rest = knobCentre(0);
    const WinPoint pulled = knobCentre(LeverFullPull);
    ASSERT_LT(pulled.y, rest.y - 50);
    ASSERT_LT(pulled.z, rest.z);

    const Rgb backdrop = slotColour(TexBackdrop);
    const Frame atRest = showFrame();
    game.leverAngle = LeverFullPull;
    const Frame atFull = showFrame();
    EXPECT_GT(colourDistance(atRest.at(rest), backdrop), 40) << "the knob is drawn where it rests";
    EXPECT_GT(colourDistance(atFull.at(pulled), backdrop), 40) << "the knob is drawn where it swings to";
    EXPECT_LE(colourDistance(atFull.at(rest), backdrop), 2) << "the knob has left its resting place";
    // At rest the shaft passes behind the place the knob swings to; at full pull the
    // knob's surface there is nearer than the shaft was, and nearer than the knob at rest.
    EXPECT_LT(atFull.depthAt(pulled), atRest.depthAt(pulled));
    EXPECT_LT(atFull.depthAt(pulled), atRest.depthAt(rest));
}

class Reels : public GameWindowTest {
protected:
    // The banded strip must not outlive the test that put it in.
    void TearDown() override {
        uploadReelStrip(slotWidth(TexReel), slotHeight(TexReel), [](int) { return slotColour(TexReel); });
    }
};

TEST_F(Reels, TheWindowAroundTheReelsIsBlack) {
    const Frame f = showFrame();
    for (double x : {-0.49, 0.49})
        for (double y : {-0.25, 0.25})
            EXPECT_EQ(f.at(project(windowFrame(), {x, y, 0.01})), (Rgb{0, 0, 0})) << x << ", " << y;
}

TEST_F(Reels, EachReelShowsTheStripColumnOfItsOwnAngle) {
    uploadBandedStrip();
    // Angles with a band's middle in front: 45, 135, 225 and 315 degrees.
    const float sets[][3] = {{45, 135, 225}, {315, 45, 135}, {225, 315, 45}, {135, 225, 315}};
    for (const auto& angles : sets) {
        for (int i = 0; i < 3; ++i) game.reelAngle[i] = angles[i];
        const Frame f = showFrame();
        for (int reel = 0; reel < 3; ++reel)
            EXPECT_EQ(bandOf(f.at(reelFront(reel))), bandFacing(angles[reel]))
                << "reel " << reel << " at " << angles[reel] << " degrees";
    }
}

TEST_F(Reels, WholeTurnsLookTheSameAsNone) {
    uploadBandedStrip();
    const WinRect window = projectRect(windowFrame(), -0.5, -0.375, 0.5, 0.375, 0.01);
    for (float angle : {0.0f, 45.0f, 135.0f}) {
        for (int i = 0; i < 3; ++i) game.reelAngle[i] = angle;
        const std::vector<Rgb> base = showFrame().region(window);
        for (float turns : {360.0f, 1440.0f, 4320.0f}) {
            for (int i = 0; i < 3; ++i) game.reelAngle[i] = angle + turns;
            const std::vector<Rgb> turned = showFrame().region(window);
            size_t differing = 0;
            for (size_t p = 0; p < base.size(); ++p) differing += colourDistance(base[p], turned[p]) > 8 ? 1 : 0;
            // Rounding of large angles may move an edge by a pixel, no more.
            EXPECT_LT(differing, base.size() / 200) << angle << " and " << angle + turns << " degrees";
        }
    }
}

class BetButtons : public GameWindowTest {};

// A button's front, and a window square around it (off the view's axis, a sphere's
// outline reaches past its radius).
WinPoint buttonFront(const Vec3d& c) { return project(displayFrame(), {c.x, c.y, c.z + ButtonRadius}); }
WinRect buttonArea(const Vec3d& c) {
    const double r = 1.25 * ButtonRadius;
    return projectRect(displayFrame(), c.x - r, c.y - r, c.x + r, c.y + r, c.z + ButtonRadius);
}

// Lit, a button shows its picture as the white light leaves it; dimmed, at less than
// half of that.
bool shownLit(const Frame& f, const Vec3d& centre, int slot) {
    const Rgb seen = f.at(buttonFront(centre));
    const Rgb full = slotColour(slot);
    if (colourDistance(seen, full) <= 2) return true;
    EXPECT_TRUE(2 * seen.r <= full.r && 2 * seen.g <= full.g && 2 * seen.b <= full.b)
        << "neither lit nor dimmed: " << testing::PrintToString(seen) << " for " << testing::PrintToString(full);
    return false;
}

// A bet button is dimmed while the tokens the bar shows cannot pay its stake, and lit
// again as soon as they can; it goes by the bar, so a three of a kind's tokens still to
// come light nothing before the reels have landed.
TEST_F(BetButtons, ADimmedButtonIsOneWhoseStakeTheTokensShownCannotPay) {
    for (int32_t credits : {10, 5, 4, 1, 0, 2, 15}) {
        game.credits = credits;
        const Frame f = showFrame();
        EXPECT_EQ(shownLit(f, BetOneCentre, TexBetOne), credits >= StakeOne) << credits << " tokens";
        EXPECT_EQ(shownLit(f, BetFiveCentre, TexBetFive), credits >= StakeFive) << credits << " tokens";
    }
    game.animating = 1;
    game.credits = 6;
    game.shownCredits = 4;
    const Frame held = showFrame();
    EXPECT_TRUE(shownLit(held, BetOneCentre, TexBetOne));
    EXPECT_FALSE(shownLit(held, BetFiveCentre, TexBetFive));
}

// What the token count changes on the machine screen lies within the parts that show
// it: the two bet buttons and the status bar.
TEST_F(BetButtons, TheTokenCountChangesNothingOutsideTheButtonsAndTheBar) {
    game.credits = 10;
    const Frame ten = showFrame();
    game.credits = 0;
    const Frame none = showFrame();
    const WinRect buttons[2] = {buttonArea(BetOneCentre), buttonArea(BetFiveCentre)};
    const double barTop = project(displayFrame(), {0, StripTop, 0}).y;
    int inButtons = 0, inBar = 0, elsewhere = 0;
    for (int y = 0; y < ten.height(); ++y)
        for (int x = 0; x < ten.width(); ++x) {
            if (ten.at(x, y) == none.at(x, y)) continue;
            const WinPoint p = {x + 0.5, y + 0.5, 0};
            if (buttons[0].contains(p) || buttons[1].contains(p))
                ++inButtons;
            else if (p.y < barTop)
                ++inBar;
            else
                ++elsewhere;
        }
    EXPECT_GT(inButtons, 0);
    EXPECT_GT(inBar, 0);
    EXPECT_EQ(elsewhere, 0);
}

class FrameState : public GameWindowTest {};

TEST_F(FrameState, AFrameAndAPickPassLeaveTheMatrixStacksAsTheyFoundThem) {
    for (bool perspectiveView : {true, false}) {
        game.usePerspective = perspectiveView;
        {
            StdoutCapture quiet;
            onReshape(900, 900);
        }
        const MatrixState before = matrixState();
        showFrame();
        expectSameMatrixState(matrixState(), before, "a frame");
        for (PickMode mode : {PickModeQuery, PickModeSelect}) {
            pickMode = mode;
            StdoutCapture quiet;
            press(knobCentre(0));
            quiet.finish();
            expectSameMatrixState(matrixState(), before, mode == PickModeQuery ? "a query pick" : "a select pick");
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(FrameState, FramesInEveryPhaseAndPoseRaiseNoGlError) {
    for (MachinePhase phase : {PhaseIdle, PhaseSpinning, PhaseSettled}) {
        game.machinePhase = phase;
        game.winKind = WinTriple;
        game.leverAngle = 37;
        game.marqueeAngle = -123;
        game.reelAngle[0] = 1000;
        game.reelAngle[1] = -20;
        game.reelAngle[2] = 4535;
        showFrame();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "phase " << phase;
    }
}

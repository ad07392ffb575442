// The status bar, the prize counter and the token counter on screen: coins and stubs
// counted in frames, the flat strips on every screen, the bar during a spin, the counts
// written out and the pointer to the token counter, the verdict and the ball, the dollar
// coins, and the plain slot bound after each screen.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "assets/assets.h"
#include "game/play.h"
#include "render/render.h"
#include "tests/render/game_window.h"
#include "tests/render/stdout_capture.h"

using namespace rt;

namespace {

const Rgb White = {255, 255, 255};
const Rgb Yellow = {255, 255, 0};

// A view wide enough to show the bar's last places (the 12th coin, the 14th stub).
void wideView() {
    StdoutCapture quiet;
    onReshape(900, 600);
}

bool inViewport(const WinPoint& p) {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return p.x >= v[0] && p.y >= v[1] && p.x < v[0] + v[2] && p.y < v[1] + v[3];
}

// The coin picture has no green: a textured coin shows none, the strips all of it.
bool coinAt(const Frame& f, int k) {
    const WinPoint p = project(displayFrame(), coinCentre(k));
    EXPECT_TRUE(inViewport(p)) << "coin " << k << " is out of view";
    const Rgb c = f.at(p);
    return c.g < 24 && c.r > 40;
}

// Stubs are unlit: their colour (0, 0.5, 1) times the ticket picture, exactly.
bool stubAt(const Frame& f, int k) {
    const WinPoint p = project(displayFrame(), ticketCentre(k));
    EXPECT_TRUE(inViewport(p)) << "stub " << k << " is out of view";
    return colourDistance(f.at(p), modulate({0, 128, 255}, slotColour(TexTicket))) <= 2;
}

// How many items a row shows, counted over one place more than it may fill; -1 when the
// row has gaps.
int countRow(const Frame& f, int places, bool (*present)(const Frame&, int)) {
    int count = 0;
    bool gap = false;
    for (int k = 0; k < places; ++k) {
        if (present(f, k)) {
            if (gap) return -1;
            ++count;
        } else {
            gap = true;
        }
    }
    return count;
}

int coinsShown(const Frame& f) { return countRow(f, MaxCoinsShown + 1, coinAt); }

int stubsShown(const Frame& f) { return countRow(f, MaxTicketsShown + 1, stubAt); }

// Places on the strips that no coin, stub, count or pointer covers.
const Vec3d WhiteSpots[] = {{-2.9, -2.25, 0}, {-1.0, -3.1, 0}, {0.25, -3.0, 0}, {0.45, -2.2, 0}};
const Vec3d YellowSpots[] = {{0.55, -3.0, 0}, {2.0, -3.1, 0}, {3.0, -2.9, 0}, {0.7, -2.2, 0}};

void expectFlatStrips(const Frame& f, const char* where) {
    for (const Vec3d& s : WhiteSpots) EXPECT_EQ(f.at(project(displayFrame(), s)), White) << where;
    for (const Vec3d& s : YellowSpots) EXPECT_EQ(f.at(project(displayFrame(), s)), Yellow) << where;
}

// Draws the frames of a running animation, a few idle steps apart, until it ends.
template <typename Check>
void runAnimation(Check check) {
    int steps = 0;
    while (game.animating != 0 && steps < 3000) {
        for (int i = 0; i < 60 && game.animating != 0; ++i, ++steps) machineStep();
        if (game.animating != 0) check(showFrame(), steps);
    }
    ASSERT_EQ(game.animating, 0) << "the spin never ended";
}

// Skips the stops of `spins` spins, so that the next spin is the run's spin `spins` + 1.
void skipSpins(int spins) {
    for (int i = 0; i < 3 * spins; ++i) randomReelStop();
}

}  // namespace

// The bar is counted in a view wide enough for all its places.
class StatusBar : public GameWindowTest {
protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        wideView();
    }
};

TEST_F(StatusBar, AfterStartUpShowsTenCoinsAndNoStub) {
    const Frame f = showFrame();
    EXPECT_EQ(coinsShown(f), StartCredits);
    EXPECT_EQ(stubsShown(f), 0);
}

TEST_F(StatusBar, ShowsElevenCoinsAndThirteenStubsAtMost) {
    struct Case {
        int32_t credits, tickets, coins, stubs;
    };
    for (const Case& c :
         {Case{10, 12, 10, 12}, Case{11, 13, 11, 13}, Case{12, 14, 11, 13}, Case{250, 99, 11, 13}, Case{1, 1, 1, 1}}) {
        game.credits = c.credits;
        game.tickets = c.tickets;
        const Frame f = showFrame();
        EXPECT_EQ(coinsShown(f), c.coins) << c.credits << " credits";
        EXPECT_EQ(stubsShown(f), c.stubs) << c.tickets << " tickets";
    }
}

TEST_F(StatusBar, AShownCountOfZeroOrBelowDrawsNoneButTheStrips) {
    game.animating = 1;  // the bar keeps what it showed
    game.credits = 10;
    game.tickets = 10;
    for (int32_t shown : {0, -1, -4}) {
        game.shownCredits = shown;
        game.shownTickets = shown;
        const Frame f = showFrame();
        EXPECT_EQ(coinsShown(f), 0) << shown;
        EXPECT_EQ(stubsShown(f), 0) << shown;
        expectFlatStrips(f, "no coin, no stub");
    }
}

TEST_F(StatusBar, TheStripsAreFlatWhiteAndYellowOnEveryScreen) {
    game.tickets = 3;
    for (Screen screen : {ScreenMachine, ScreenPrize, ScreenTokens}) {
        game.screen = screen;
        expectFlatStrips(showFrame(), screen == ScreenMachine ? "machine" : screen == ScreenPrize ? "prize" : "tokens");
    }
}

TEST_F(StatusBar, TheStakeLeavesAtOnceAndTheTicketsWonComeAfterTheSpin) {
    showFrame();
    skipSpins(1);
    betFive();  // the run's second spin, stops 25, 135, 25: a pair
    ASSERT_EQ(game.winKind, WinPair);
    EXPECT_EQ(coinsShown(showFrame()), 5);
    runAnimation([](const Frame& f, int steps) {
        EXPECT_EQ(coinsShown(f), 5) << "after " << steps << " idle steps";
        EXPECT_EQ(stubsShown(f), 0) << "after " << steps << " idle steps";
    });
    const Frame end = showFrame();
    EXPECT_EQ(coinsShown(end), 5);
    EXPECT_EQ(stubsShown(end), 5);
}

TEST_F(StatusBar, TokensWonOnThreeOfAKindAlsoComeAfterTheSpin) {
    game.credits = 5;
    EXPECT_EQ(coinsShown(showFrame()), 5);
    skipSpins(2);
    betOne();  // the run's third spin, stops 215, 215, 215: three of a kind
    ASSERT_EQ(game.winKind, WinTriple);
    EXPECT_EQ(coinsShown(showFrame()), 4);
    runAnimation([](const Frame& f, int steps) {
        EXPECT_EQ(coinsShown(f), 4) << "after " << steps << " idle steps";
        EXPECT_EQ(stubsShown(f), 0) << "after " << steps << " idle steps";
    });
    const Frame end = showFrame();
    EXPECT_EQ(coinsShown(end), 6);
    EXPECT_EQ(stubsShown(end), 2);
}

// ---------------------------------------------------------------------------------
// The counts written out, and the pointer to the token counter
// ---------------------------------------------------------------------------------

// Below each row, down to the window's edge, within its strip: where its count is
// written (and, below the coins, the pointer), in the display frame at the rows' depth.
WinRect tokenBand() { return projectRect(displayFrame(), -2.75, -3.02, 0.45, -2.72, 0.5); }
WinRect ticketBand() { return projectRect(displayFrame(), 0.52, -3.02, 2.8, -2.52, 0.5); }

// Where the band lies in the window, and the ink (near black) in it.
struct Ink {
    int pixels = 0;
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
    double height() const { return pixels > 0 ? top - bottom + 1 : 0; }
};

Ink inkIn(const Frame& f, const WinRect& r) {
    Ink ink;
    for (int y = std::max(0, static_cast<int>(r.bottom)); y < std::min(f.height(), static_cast<int>(r.top)); ++y)
        for (int x = std::max(0, static_cast<int>(r.left)); x < std::min(f.width(), static_cast<int>(r.right)); ++x) {
            const Rgb c = f.at(x, y);
            if (c.r > 80 || c.g > 80 || c.b > 80) continue;
            ++ink.pixels;
            ink.left = std::min(ink.left, static_cast<double>(x));
            ink.right = std::max(ink.right, static_cast<double>(x));
            ink.bottom = std::min(ink.bottom, static_cast<double>(y));
            ink.top = std::max(ink.top, static_cast<double>(y));
        }
    return ink;
}

// The counts are checked in the window the game opens, and in one half its size.
class Counts : public GameWindowTest {};

// Every count is written below its row, in its own strip, each number a picture of its
// own, its digits 20 pixels high or more in the 900-pixel window and half as high in a
// window half as high; the coins and stubs stay as they were.
TEST_F(Counts, EachCountIsWrittenBelowItsRowAndScalesWithTheWindow) {
    std::vector<std::vector<Rgb>> tokens, tickets;
    for (int32_t n = 1; n <= 40; ++n) {
        game.credits = n;
        game.tickets = n;
        const Frame f = showFrame();
        const Ink a = inkIn(f, tokenBand());
        const Ink b = inkIn(f, ticketBand());
        ASSERT_GT(a.pixels, 0) << n << " tokens";
        ASSERT_GT(b.pixels, 0) << n << " tickets";
        EXPECT_GE(a.height(), 20) << n << " tokens";
        EXPECT_GE(b.height(), 20) << n << " tickets";
        EXPECT_NEAR(a.height(), b.height(), 1.0) << n;
        tokens.push_back(f.region(tokenBand()));
        tickets.push_back(f.region(ticketBand()));
        if (n <= MaxCoinsShown) {
            EXPECT_EQ(coinsShown(f), n);
        }
    }
    for (size_t i = 0; i < tokens.size(); ++i)
        for (size_t j = i + 1; j < tokens.size(); ++j) {
            EXPECT_NE(tokens[i], tokens[j]) << i + 1 << " and " << j + 1 << " tokens look alike";
            EXPECT_NE(tickets[i], tickets[j]) << i + 1 << " and " << j + 1 << " tickets look alike";
        }

    game.credits = 14;
    const double full = inkIn(showFrame(), tokenBand()).height();
    {
        StdoutCapture quiet;
        onReshape(WindowSide / 2, WindowSide / 2);
    }
    const double half = inkIn(showFrame(), tokenBand()).height();
    EXPECT_NEAR(half, full / 2, 1.5);
}

// The numbers are the counts the bar shows: while an animation holds the bar they stay,
// whatever the real counts do, and the stake leaves them at once.
TEST_F(Counts, TheNumbersAreTheShownCounts) {
    game.credits = 3;
    game.tickets = 2;
    const Frame rest = showFrame();
    game.animating = 1;
    game.credits = 9;
    game.tickets = 7;
    const Frame held = showFrame();
    EXPECT_EQ(held.region(tokenBand()), rest.region(tokenBand()));
    EXPECT_EQ(held.region(ticketBand()), rest.region(ticketBand()));
    game.shownCredits = 9;
    EXPECT_NE(showFrame().region(tokenBand()), rest.region(tokenBand()));
}

// With no token shown, on the machine and the prize counter, the bar points to the token
// counter: the key's cap, within the white strip below the empty coin row. Not with a
// token, and not on the token counter itself.
TEST_F(Counts, NoTokensShowTheKeyToTheTokenCounter) {
    const Rgb capFace = {255, 242, 204};
    auto capShown = [&capFace](const Frame& f) {
        const WinRect band = tokenBand();
        int face = 0;
        for (const Rgb& c : f.region(band)) face += colourDistance(c, capFace) <= 2;
        return face;
    };
    struct Case {
        Screen screen;
        int32_t credits;
        bool pointer;
    };
    for (const Case& c : {Case{ScreenMachine, 0, true}, Case{ScreenPrize, 0, true}, Case{ScreenTokens, 0, false},
                          Case{ScreenMachine, 1, false}, Case{ScreenPrize, 5, false}}) {
        game.screen = c.screen;
        game.credits = c.credits;
        const Frame f = showFrame();
        const std::string what = std::to_string(c.credits) + " tokens on screen " + std::to_string(c.screen);
        EXPECT_EQ(capShown(f) > 100, c.pointer) << what << ": " << capShown(f) << " pixels of the key cap";
        EXPECT_EQ(coinsShown(f), std::min(c.credits, MaxCoinsShown)) << what;
        expectFlatStrips(f, what.c_str());
    }
}

class PrizeCounter : public GameWindowTest {
protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        game.screen = ScreenPrize;
    }
};

bool goldAt(const Frame& f, const WinPoint& p) {
    const Rgb c = f.at(p);
    return c.r > c.g && c.g > c.b && c.r > 60 && colourDistance(c, slotColour(TexPrizeBackdrop)) > 40;
}

TEST_F(PrizeCounter, FourTicketsShowTheLoserSignAndNoBall) {
    game.tickets = 4;
    const Frame f = showFrame();
    EXPECT_EQ(f.at(project(displayFrame(), VerdictCentre)), slotColour(TexLoser));
    EXPECT_EQ(f.at(project(displayFrame(), ballCentre(0))), slotColour(TexPrizeBackdrop));
}

TEST_F(PrizeCounter, FiveTicketsShowTheWinnerSignAndTheBallAtItsHeight) {
    game.tickets = 5;
    const WinPoint rest = project(displayFrame(), ballCentre(0));
    for (float height : {0.0f, 0.3f, 0.7f}) {
        game.ballHeight = height;
        const Frame f = showFrame();
        EXPECT_EQ(f.at(project(displayFrame(), VerdictCentre)), slotColour(TexWinner)) << height;
        EXPECT_TRUE(goldAt(f, project(displayFrame(), ballCentre(height)))) << "ball at " << height;
        if (height > 0.25f) {
            EXPECT_EQ(f.at(rest), slotColour(TexPrizeBackdrop)) << "the ball has left its rest";
        }
    }
}

TEST_F(PrizeCounter, TheSignStandsInTheSamePlaceForWinnerAndLoser) {
    const Vec3d inside[] = {{0.0, -0.6, 1}, {1.0, -0.6, 1}, {0.0, -0.09, 1}, {1.0, -0.09, 1}};
    const Vec3d outside[] = {{-0.12, -0.35, 1}, {1.12, -0.35, 1}, {0.5, -0.68, 1}, {0.5, -0.01, 1}};
    for (int32_t tickets : {4, 5}) {
        game.tickets = tickets;
        const Rgb sign = slotColour(tickets >= WinnerTickets ? TexWinner : TexLoser);
        const Frame f = showFrame();
        for (const Vec3d& p : inside) EXPECT_EQ(f.at(project(displayFrame(), p)), sign) << p.x << ", " << p.y;
        for (const Vec3d& p : outside)
            EXPECT_EQ(f.at(project(displayFrame(), p)), slotColour(TexPrizeBackdrop)) << p.x << ", " << p.y;
    }
}

class TokenCounter : public GameWindowTest {};

TEST_F(TokenCounter, TheDollarCoinsStandInAColumnAtXMinusPointThree) {
    game.screen = ScreenTokens;
    const Frame f = showFrame();
    for (int which = 0; which < 3; ++which) {
        const Vec3d c = dollarCentre(which);
        // Its front, and four points of its face 0.16 from the centre (the radius is 0.2).
        const double rim = 0.16;
        const double rimZ = std::sqrt(DollarRadius * DollarRadius - rim * rim);
        for (Vec3d p : {Vec3d{c.x, c.y, DollarRadius}, Vec3d{c.x - rim, c.y, rimZ}, Vec3d{c.x + rim, c.y, rimZ},
                        Vec3d{c.x, c.y - rim, rimZ}, Vec3d{c.x, c.y + rim, rimZ}})
            EXPECT_EQ(f.at(project(displayFrame(), p)), slotColour(TexDollarOne + which))
                << "coin " << which << " at " << p.x << ", " << p.y;
        // Beside the coin, the backdrop.
        for (double dx : {-0.3, 0.3})
            EXPECT_EQ(f.at(project(displayFrame(), {c.x + dx, c.y, 0})), slotColour(TexTokenBackdrop)) << which;
    }
    // Between the coins, 0.75 apart with a radius of 0.2, the backdrop shows.
    for (double y : {0.625, -0.125, 1.35, -0.85})
        EXPECT_EQ(f.at(project(displayFrame(), {-0.3, y, 0})), slotColour(TexTokenBackdrop)) << y;
}

class ScreenSlots : public GameWindowTest {};

TEST_F(ScreenSlots, EachSceneEndsWithThePlainSlotBound) {
    struct Case {
        const char* name;
        void (*draw)();
        int32_t tickets;
    };
    for (const Case& c : {Case{"prize, loser", drawPrizeScreen, 4}, Case{"prize, winner", drawPrizeScreen, 5},
                          Case{"tokens", drawTokenScreen, 0}, Case{"machine", drawMachine, 0}}) {
        game.tickets = c.tickets;
        glBindTexture(GL_TEXTURE_2D, TexMenu);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        applyDisplayCamera();
        c.draw();
        glPopMatrix();
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, static_cast<GLint>(TexPlain)) << c.name;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The real pictures on the machine, as the picture tool stages them beside the game: the
// symbol of each reel stop in the window, the first spins of a run as a player sees
// them, and the marquee's message centred on the drum's front at rest.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "app/game_state.h"
#include "assets/assets.h"
#include "game/play.h"
#include "render/render.h"
#include "tests/render/game_window.h"
#include "tests/render/stdout_capture.h"

using namespace rt;

namespace {

const double Pi = 3.14159265358979323846;

// A picture as the game reads it, rows from the bottom.
struct Picture {
    Image image{0, 0, nullptr};
    explicit Picture(const char* file) {
        StdoutCapture quiet;
        loadBitmap(file, &image);
    }
    ~Picture() { std::free(image.pixels); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    bool loaded() const { return image.pixels != nullptr; }
    Rgb at(uint32_t x, uint32_t y) const {
        const unsigned char* p = image.pixels + (static_cast<size_t>(y) * image.width + x) * 3;
        return {p[0], p[1], p[2]};
    }
    // The colour most of the picture's pixels (or those of a rectangle) have.
    Rgb commonest(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, const Rgb* exclude = nullptr) const {
        std::map<uint32_t, int> counts;
        std::map<uint32_t, Rgb> sample;
        for (uint32_t y = y0; y < y1; ++y)
            for (uint32_t x = x0; x < x1; ++x) {
                const Rgb c = at(x % image.width, y);
                if (exclude && colourDistance(c, *exclude) < 48) continue;
                const uint32_t key = (c.r >> 4) << 8 | (c.g >> 4) << 4 | (c.b >> 4);
                ++counts[key];
                sample[key] = c;
            }
        uint32_t best = 0;
        int bestCount = -1;
        for (const auto& [key, n] : counts)
            if (n > bestCount) {
                bestCount = n;
                best = key;
            }
        return bestCount < 0 ? Rgb{0, 0, 0} : sample[best];
    }
};

// The strip column that faces the viewer with the reel turned by `angle`.
double facingColumn(double angle) {
    const double s = std::fmod(450.0 - angle, 360.0) / 360.0;
    return s < 0 ? s + 1 : s;
}

int stopIndex(int32_t stop) {
    for (int k = 0; k < 4; ++k)
        if (ReelStops[k] == stop) return k;
    return -1;
}

class RealPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(startGameIn(SLOT_STAGE_DIR_PATH)) << "the render tests need an X display in DISPLAY";
        restoreStartState();
    }
};

// The reel strip's symbols, read from slot.bmp itself: the dominant colour of each stop's
// column, apart from the strip's background.
class ReelSymbols : public RealPictures {
protected:
    void SetUp() override {
        RealPictures::SetUp();
        strip = std::make_unique<Picture>(textureFiles[TexReel]);  // read in the stage folder
        ASSERT_TRUE(strip->loaded()) << "slot.bmp in " << SLOT_STAGE_DIR_PATH;
        const Image& im = strip->image;
        background = strip->commonest(0, 0, im.width, im.height);
        for (int k = 0; k < 4; ++k) {
            const uint32_t x = static_cast<uint32_t>(facingColumn(ReelStops[k]) * im.width);
            symbol[k] = strip->commonest(x + im.width - im.width / 40, im.height * 3 / 8, x + im.width + im.width / 40,
                                         im.height * 5 / 8, &background);
        }
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                ASSERT_GT(colourDistance(symbol[a], symbol[b]), 60) << "stops " << a << " and " << b << " look alike";
    }

    // What each reel shows: the strip's colours under the reels' light are found by
    // drawing the same frame once with a white strip, and divided out of the real one.
    std::vector<int> symbolsShown() {
        const Image& im = strip->image;
        std::vector<unsigned char> white(static_cast<size_t>(im.width) * im.height * 3, 255);
        upload(white.data());
        const Frame lit = showFrame();
        upload(im.pixels);
        const Frame real = showFrame();
        std::vector<int> shown;
        for (int reel = 0; reel < 3; ++reel) {
            const WinPoint front = project(reelSeat(reel), {0, 0, 1});
            int votes[5] = {0, 0, 0, 0, 0};
            for (int dy = -6; dy <= 6; ++dy)
                for (int dx = -6; dx <= 6; ++dx) {
                    const WinPoint p = {front.x + dx, front.y + dy, 0};
                    const Rgb l = lit.at(p);
                    const Rgb c = real.at(p);
                    auto unlit = [](int v, int light) {
                        return static_cast<uint8_t>(std::min(255, v * 255 / std::max(light, 1)));
                    };
                    const Rgb q = {unlit(c.r, l.r), unlit(c.g, l.g), unlit(c.b, l.b)};
                    int best = 4;  // the background
                    int bestDistance = colourDistance(q, background);
                    for (int k = 0; k < 4; ++k)
                        if (colourDistance(q, symbol[k]) < bestDistance) {
                            bestDistance = colourDistance(q, symbol[k]);
                            best = k;
                        }
                    ++votes[best];
                }
            int dominant = -1;
            for (int k = 0; k < 4; ++k)
                if (votes[k] > 169 / 5 && (dominant < 0 || votes[k] > votes[dominant])) dominant = k;
            shown.push_back(dominant);
        }
        return shown;
    }

    void upload(const unsigned char* pixels) {
        glBindTexture(GL_TEXTURE_2D, TexReel);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, static_cast<GLsizei>(strip->image.width),
                     static_cast<GLsizei>(strip->image.height), 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
        bindPlainTexture();
    }

    std::unique_ptr<Picture> strip;
    Rgb background{0, 0, 0};
    Rgb symbol[4]{};
};

// Lands a spin as the animation does, idle step by idle step.
void settle() {
    for (int steps = 0; game.animating != 0 && steps < 5000; ++steps) machineStep();
    ASSERT_EQ(game.animating, 0);
}

}  // namespace

TEST_F(ReelSymbols, EachStopShowsItsOwnSymbolOnEveryReel) {
    for (int k = 0; k < 4; ++k) {
        // Where a spin lands: the stop plus the reel's whole turns.
        for (int reel = 0; reel < 3; ++reel)
            game.reelAngle[reel] = static_cast<float>(ReelStops[k]) + ReelRunLimit[reel];
        const std::vector<int> shown = symbolsShown();
        for (int reel = 0; reel < 3; ++reel)
            EXPECT_EQ(shown[reel], k) << "reel " << reel << " stopped at " << ReelStops[k] << " degrees";
    }
}

TEST_F(ReelSymbols, TheFirstSpinsOfARunShowThreeDifferentThenAPairThenThree) {
    std::vector<std::vector<int>> seen;
    for (int spin = 0; spin < 3; ++spin) {
        betOne();
        settle();
        const std::vector<int> shown = symbolsShown();
        for (int reel = 0; reel < 3; ++reel)
            EXPECT_EQ(shown[reel], stopIndex(game.reelStop[reel])) << "spin " << spin + 1 << ", reel " << reel;
        seen.push_back(shown);
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0][0] != seen[0][1] && seen[0][1] != seen[0][2] && seen[0][0] != seen[0][2]);
    EXPECT_TRUE(seen[1][0] == seen[1][2] && seen[1][0] != seen[1][1]) << "a pair on the left and the right";
    EXPECT_TRUE(seen[2][0] == seen[2][1] && seen[2][1] == seen[2][2]);
    for (const auto& s : seen)
        for (int v : s) EXPECT_GE(v, 0) << "a reel showed no symbol";
}

class MarqueeMessage : public RealPictures {};

// The angles, seen from the drum's axis, over which the message's ink reaches on the
// drum's front: the columns whose middle band shows more than the background.
std::pair<int, int> inkExtent(const Frame& f, const Rgb& background) {
    int left = 1000;
    int right = -1000;
    for (int degrees = -75; degrees <= 75; ++degrees) {
        const double a = degrees * Pi / 180.0;
        for (double h = 0.08; h <= 0.17; h += 0.015) {
            const Rgb c = f.at(project(marqueeSeat(), {0.85 * std::sin(a), 0.75 - h, 0.85 * std::cos(a)}));
            if (colourDistance(c, background) > 48) {
                left = std::min(left, degrees);
                right = std::max(right, degrees);
            }
        }
    }
    return {left, right};
}

TEST_F(MarqueeMessage, AtRestEachMessageIsCentredOnTheDrumsFront) {
    struct Face {
        MachinePhase phase;
        int32_t bet;
        WinKind winKind;
        int slot;
    };
    const Face faces[] = {{PhaseIdle, 1, WinNone, TexMarqueeOne},
                          {PhaseIdle, 5, WinNone, TexMarqueeFive},
                          {PhaseSettled, 1, WinPair, TexWinTwo},
                          {PhaseSettled, 1, WinTriple, TexWinThree},
                          {PhaseSettled, 1, WinNone, TexWinZero}};
    for (const Face& face : faces) {
        const Picture picture(textureFiles[face.slot]);
        ASSERT_TRUE(picture.loaded()) << textureFiles[face.slot];
        const Image& im = picture.image;
        const Rgb background = picture.commonest(0, im.height * 3 / 8, im.width, im.height * 5 / 8);
        game.machinePhase = face.phase;
        game.bet = face.bet;
        game.winKind = face.winKind;
        for (float rest : {0.0f, MarqueeFirstTurn, MarqueeSecondTurn}) {
            game.marqueeAngle = rest;
            const auto [left, right] = inkExtent(showFrame(), background);
            EXPECT_LT(left, -10) << textureFiles[face.slot] << " at " << rest;
            EXPECT_GT(right, 10) << textureFiles[face.slot] << " at " << rest;
            EXPECT_LE(std::abs(left + right), 4)
                << textureFiles[face.slot] << " at " << rest << ": ink from " << left << " to " << right << " degrees";
        }
    }
}

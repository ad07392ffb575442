// Tests of the picture tool: the bitmap encoding, the geometry each picture is drawn
// for (reel stops, marquee seam, sphere fronts, ticket tint) and the files it writes.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "bmp_writer.h"
#include "pictures.h"

namespace {

class ReleaseCairoCaches : public ::testing::Environment {
public:
    void TearDown() override {
        cairo_debug_reset_static_data();
        FcFini();
    }
};
::testing::Environment* const cairoCleanup = ::testing::AddGlobalTestEnvironment(new ReleaseCairoCaches);

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    Rgb8 at(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

const PictureEntry& picture(TextureSlot slot) {
    for (const PictureEntry& s : kPictures)
        if (s.slot == slot) return s;
    ADD_FAILURE() << "no picture for slot " << slot;
    return kPictures[0];
}

Image render(TextureSlot slot) {
    const PictureEntry& s = picture(slot);
    std::string error;
    Image image{s.width, s.height, renderPictureRgb(s, error)};
    EXPECT_EQ(image.rgb.size(), static_cast<size_t>(s.width) * s.height * 3) << s.fileName() << ": " << error;
    return image;
}

int distance2(Rgb8 a, Rgb8 b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

uint32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}
uint32_t le16(const std::vector<uint8_t>& bytes, size_t at) { return bytes[at] | bytes[at + 1] << 8; }

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// ---------------------------------------------------------------------------------

TEST(BmpWriter, HeaderDescribesAnUncompressed24BitBottomUpPicture) {
    const std::vector<uint8_t> rgb(24, 7);  // 4 x 2 pixels
    const std::vector<uint8_t> bmp = encodeBmp(rgb, 4, 2);
    ASSERT_EQ(bmp.size(), 54u + 24u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 10), 54u);  // pixel data offset
    EXPECT_EQ(le32(bmp, 14), 40u);  // info header size
    EXPECT_EQ(le32(bmp, 18), 4u);
    EXPECT_EQ(le32(bmp, 22), 2u);  // positive: bottom row first
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 24u);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(le32(bmp, 34), 24u);
}

TEST(BmpWriter, StoresTheBottomRowFirstInBlueGreenRedOrder) {
    std::vector<uint8_t> rgb(24, 0);           // 4 x 2 pixels
    rgb[0] = 1, rgb[1] = 2, rgb[2] = 3;        // top-left
    rgb[12] = 4, rgb[13] = 5, rgb[14] = 6;     // bottom-left
    rgb[21] = 10, rgb[22] = 11, rgb[23] = 12;  // bottom-right
    const std::vector<uint8_t> bmp = encodeBmp(rgb, 4, 2);
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.begin() + 57), (std::vector<uint8_t>{6, 5, 4}));
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 63, bmp.begin() + 66), (std::vector<uint8_t>{12, 11, 10}));
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 66, bmp.begin() + 69), (std::vector<uint8_t>{3, 2, 1}));
}

TEST(BmpWriter, PadsEachRowToAMultipleOfFourBytes) {
    std::vector<uint8_t> rgb(30, 9);  // 5 x 2 pixels
    rgb[15] = 1;                      // first pixel of the bottom row (red)
    const std::vector<uint8_t> bmp = encodeBmp(rgb, 5, 2);
    ASSERT_EQ(bmp.size(), 54u + 2 * 16);
    EXPECT_EQ(le32(bmp, 34), 32u);
    EXPECT_EQ(bmp[54 + 15], 0);  // padding after the 15 bytes of a row
    EXPECT_EQ(bmp[54 + 2], 1);   // the bottom row comes first, red last
    EXPECT_EQ(bmp[54 + 16], 9);  // the top row starts after the padding
    EXPECT_EQ(bmp[bmp.size() - 1], 0);
}

TEST(PictureTable, EverySlotHasOnePictureWithSidesTheGameCanUpload) {
    std::set<TextureSlot> slots;
    for (const PictureEntry& s : kPictures) {
        SCOPED_TRACE(s.fileName());
        EXPECT_TRUE(slots.insert(s.slot).second) << "slot drawn twice";
        EXPECT_NE(s.slot, TexPlain);
        EXPECT_TRUE(isPowerOfTwo(s.width));
        EXPECT_TRUE(isPowerOfTwo(s.height));
        EXPECT_GE(s.width, 4);
        const int longSide = std::max(s.width, s.height);
        EXPECT_TRUE(longSide == 256 || longSide == 512) << longSide;
    }
}

TEST(Pictures, DrawTheSameBytesOnEveryRun) {
    for (const PictureEntry& s : kPictures) {
        std::string error;
        EXPECT_EQ(renderPictureRgb(s, error), renderPictureRgb(s, error)) << s.fileName();
    }
}

// ---------------------------------------------------------------------------------
// Reel strip

TEST(ReelStrip, ColumnFacingTheViewerFollowsTheDrumAngle) {
    // Measured on GLU's drum: the front column for each of the four stops.
    EXPECT_NEAR(reelColumnFacingViewer(25), 0.1806, 1e-3);
    EXPECT_NEAR(reelColumnFacingViewer(135), 0.875, 1e-3);
    EXPECT_NEAR(reelColumnFacingViewer(215), 0.6528, 1e-3);
    EXPECT_NEAR(reelColumnFacingViewer(305), 0.4028, 1e-3);
    // Whole turns do not move it, and it always lies on the strip.
    EXPECT_NEAR(reelColumnFacingViewer(25 + 3 * 360), reelColumnFacingViewer(25), 1e-9);
    EXPECT_NEAR(reelColumnFacingViewer(25 - 360), reelColumnFacingViewer(25), 1e-9);
    for (int angle = -720; angle <= 720; angle += 15) {
        EXPECT_GE(reelColumnFacingViewer(angle), 0.0);
        EXPECT_LT(reelColumnFacingViewer(angle), 1.0);
    }
}

TEST(ReelStrip, TheCentreOfEachStopShowsThatStopsSymbolColour) {
    const Image strip = render(TexReel);
    const Rgb8 background = strip.at(strip.width / 2, 20);  // between symbols, in the gap at 0.53
    for (int stop = 0; stop < kReelStopCount; ++stop) {
        SCOPED_TRACE(kReelStopDegrees[stop]);
        const int cx = static_cast<int>(reelColumnFacingViewer(kReelStopDegrees[stop]) * strip.width);
        const int cy = strip.height / 2;
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                const Rgb8 p = strip.at(cx + dx, cy + dy);
                int nearest = -1, best = distance2(p, background);
                for (int c = 0; c < kReelStopCount; ++c) {
                    if (distance2(p, kReelSymbolColours[c]) < best) {
                        best = distance2(p, kReelSymbolColours[c]);
                        nearest = c;
                    }
                }
                ASSERT_EQ(nearest, stop) << "at " << cx + dx << "," << cy + dy;
            }
        }
    }
}

TEST(ReelStrip, SymbolsStayNarrowerThanTheGapsBetweenStops) {
    // 34 degrees either side of a stop lies beyond its symbol and short of the next
    // (the stops are at least 80 degrees apart), so only the light background is there.
    const Image strip = render(TexReel);
    for (double stop : kReelStopDegrees) {
        for (double side : {-34.0, 34.0}) {
            const double s = reelColumnFacingViewer(stop + side);
            const int x = static_cast<int>(s * strip.width);
            for (int y = 10; y < strip.height - 10; ++y) {
                const Rgb8 p = strip.at(x, y);
                ASSERT_GE(std::min({p.r, p.g, p.b}), 170) << "stop " << stop << " side " << side << " row " << y;
            }
        }
    }
}

// ---------------------------------------------------------------------------------
// Marquee drums

const TextureSlot kMarqueeSlots[kMarqueeCount] = {TexMarqueeOne, TexMarqueeFive, TexWinTwo, TexWinThree, TexWinZero};
constexpr int kMarqueeTextTop = 12;  // below the band of bulbs

// Lettering: pixels of the text rows far from the drum's background colour.
bool isInk(const Image& image, int x, int y, Rgb8 background) {
    return distance2(image.at(x, y), background) > 80 * 80;
}

TEST(Marquee, EachResultHasItsOwnBackgroundColour) {
    std::vector<Rgb8> seen;
    for (int i = 0; i < kMarqueeCount; ++i) {
        const Image image = render(kMarqueeSlots[i]);
        // A quarter of the way round lies between the two copies of the message.
        const Rgb8 p = image.at(image.width / 4, image.height / 2);
        EXPECT_EQ(distance2(p, kMarqueeBackgrounds[i]), 0) << textureFiles[kMarqueeSlots[i]];
        for (const Rgb8& other : seen) EXPECT_GT(distance2(p, other), 60 * 60) << textureFiles[kMarqueeSlots[i]];
        seen.push_back(p);
    }
}

TEST(Marquee, MessageIsCentredOnTheSeamThatFacesTheViewerAtRest) {
    for (int i = 0; i < kMarqueeCount; ++i) {
        SCOPED_TRACE(textureFiles[kMarqueeSlots[i]]);
        const Image image = render(kMarqueeSlots[i]);
        const int w = image.width;
        for (int centre : {0, w / 2}) {
            // Offsets from the centre column edge, unwrapped round the drum.
            double sum = 0;
            int count = 0, left = 0, right = 0;
            for (int d = -w / 4; d < w / 4; ++d) {
                const int x = ((centre + d) % w + w) % w;
                for (int y = kMarqueeTextTop; y < image.height - kMarqueeTextTop; ++y) {
                    if (!isInk(image, x, y, kMarqueeBackgrounds[i])) continue;
                    sum += d + 0.5;
                    ++count;
                    (d < 0 ? left : right) += 1;
                }
            }
            ASSERT_GT(count, 200) << "no message around column " << centre;
            EXPECT_LT(std::fabs(sum / count), 4.0) << "message off centre around column " << centre;
            EXPECT_GT(left, 0);
            EXPECT_GT(right, 0);
        }
    }
}

// Width of the lettering in the picture rows [y0, y1) of the copy on the seam.
int inkSpan(const Image& image, int y0, int y1, Rgb8 background) {
    int widest = 0;
    for (int d = 0; d < image.width / 4; ++d) {
        for (int y = y0; y < y1; ++y) {
            if (isInk(image, d, y, background) || isInk(image, image.width - 1 - d, y, background)) {
                widest = d;
                break;
            }
        }
    }
    return widest;
}

TEST(Marquee, TwoLineMessagesAreTurnedHalfATurn) {
    // The drum shows the picture's bottom rows at the top of the screen, so the short
    // first line ("PAIR!", "JACKPOT!", "NO WIN") lies in the picture's lower half.
    for (int i = 2; i < kMarqueeCount; ++i) {
        SCOPED_TRACE(textureFiles[kMarqueeSlots[i]]);
        const Image image = render(kMarqueeSlots[i]);
        const int middle = image.height / 2;
        const int upperRows = inkSpan(image, kMarqueeTextTop, middle, kMarqueeBackgrounds[i]);
        const int lowerRows = inkSpan(image, middle, image.height - kMarqueeTextTop, kMarqueeBackgrounds[i]);
        EXPECT_GT(upperRows, lowerRows + 5);
    }
}

// ---------------------------------------------------------------------------------
// Spheres, ticket

TEST(Spheres, LabelsStayOnTheHalfOfTheWidthThatFacesTheViewer) {
    for (TextureSlot slot : {TexBetOne, TexBetFive, TexDollarOne, TexDollarTwo, TexDollarFive}) {
        SCOPED_TRACE(textureFiles[slot]);
        const Image image = render(slot);
        const Rgb8 base = image.at(0, image.height / 2);
        int labelPixels = 0;
        for (int y = image.height / 8; y < image.height * 7 / 8; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const bool facing = x >= image.width / 4 && x < image.width * 3 / 4;
                const bool plain = distance2(image.at(x, y), base) == 0;
                if (!facing) {
                    ASSERT_TRUE(plain) << "label drawn round the back at " << x << "," << y;
                } else if (!plain) {
                    ++labelPixels;
                }
            }
        }
        EXPECT_GT(labelPixels, image.width * image.height / 20) << "no label on the front";
    }
}

TEST(Ticket, IsDrawnInLightGreysSoTheStubTintComesOutBlue) {
    const Image ticket = render(TexTicket);
    long sum = 0;
    for (int y = 0; y < ticket.height; ++y) {
        for (int x = 0; x < ticket.width; ++x) {
            const Rgb8 p = ticket.at(x, y);
            ASSERT_LE(std::abs(p.r - p.g), 1) << x << "," << y;
            ASSERT_LE(std::abs(p.g - p.b), 1) << x << "," << y;
            sum += p.g;
        }
    }
    EXPECT_GT(sum / (static_cast<long>(ticket.width) * ticket.height), 190);
}

// ---------------------------------------------------------------------------------
// The tool itself

std::vector<uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MakePictures, WritesEachPictureUnderItsNameIntoTheFolder) {
    const std::filesystem::path folder = std::filesystem::path(PICTURES_SCRATCH_DIR) / "out";
    std::filesystem::remove_all(folder);
    const std::string command = std::string("\"") + MAKE_PICTURES_PATH + "\" \"" + folder.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);

    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.is_regular_file();
    EXPECT_EQ(files, PictureCount);

    for (const PictureEntry& s : kPictures) {
        SCOPED_TRACE(s.fileName());
        const std::vector<uint8_t> bytes = readFile(folder / s.fileName());
        ASSERT_EQ(bytes.size(), 54u + static_cast<size_t>(s.width) * s.height * 3);
        EXPECT_EQ(le32(bytes, 18), static_cast<uint32_t>(s.width));
        EXPECT_EQ(le32(bytes, 22), static_cast<uint32_t>(s.height));
        std::string error;
        EXPECT_TRUE(bytes == encodeBmp(renderPictureRgb(s, error), s.width, s.height)) << "wrong picture in the file";
    }
}

}  // namespace

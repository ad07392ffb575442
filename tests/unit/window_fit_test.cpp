// Where the window opens: its size scaled by the desktop's Xft.dpi; on the monitor that
// holds the wanted place, or the nearest; there, the wanted place wherever the monitor's
// share of the work area holds it with its frame, else moved and, only where needed,
// shrunk to the largest square that fits; and GLUT's -display option as read from the
// command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window_fit.h"

// Beside ScreenRect, where the test macros look for them.
static bool operator==(const ScreenRect& a, const ScreenRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

static std::ostream& operator<<(std::ostream& out, const ScreenRect& r) {
    return out << r.width << " x " << r.height << " at (" << r.x << ", " << r.y << ")";
}

namespace {

TEST(WindowFit, KeepsWhatFitsElseMovesThenShrinksToTheLargestSquare) {
    const ScreenRect wanted = {100, 100, 900, 900};
    const FrameExtents none = {0, 0, 0, 0};
    const FrameExtents openbox = {1, 1, 20, 5};
    struct Case {
        const char* what;
        ScreenRect area;
        FrameExtents frame;
        ScreenRect want;
    };
    const Case cases[] = {
        {"1280 x 1024, no window manager", {0, 0, 1280, 1024}, none, wanted},
        {"exactly enough room", {0, 0, 1002, 1025}, openbox, wanted},
        {"1366 x 768 under openbox", {0, 0, 1366, 768}, openbox, {100, 0, 743, 743}},
        {"a panel along the top", {0, 30, 1366, 738}, openbox, {100, 30, 713, 713}},
        {"a panel along the left", {150, 0, 1770, 1080}, openbox, {150, 100, 900, 900}},
        {"room for the size, not at the place", {0, 0, 1280, 990}, openbox, {100, 65, 900, 900}},
        {"narrower than tall", {0, 0, 600, 1024}, openbox, {0, 100, 598, 598}},
        {"a frame larger than the area", {10, 20, 30, 20}, openbox, {37, 20, 1, 1}},
    };
    for (const Case& c : cases) EXPECT_EQ(fitWindow(wanted, c.area, c.frame), c.want) << c.what;
}

// Two monitors as people put them: a 1366 x 768 laptop beside, below, above or apart from
// a 1920 x 1080 monitor. X has no negative root coordinates: the leftmost and topmost
// edges are 0.
TEST(WindowFit, OpensWhollyOnTheMonitorThatHoldsTheAskedPlaceOrTheNearest) {
    const ScreenRect wanted = {100, 100, 900, 900};
    const FrameExtents openbox = {1, 1, 20, 5};
    struct Case {
        const char* what;
        std::vector<ScreenRect> monitors;
        ScreenRect workArea;
        ScreenRect want;
    };
    const Case cases[] = {
        {"laptop left, tops aligned",
         {{0, 0, 1366, 768}, {1366, 0, 1920, 1080}},
         {0, 0, 3286, 1080},
         {100, 0, 743, 743}},
        {"laptop left, bottoms aligned: the place on neither, the laptop nearest",
         {{1366, 0, 1920, 1080}, {0, 312, 1366, 768}},
         {0, 0, 3286, 1080},
         {100, 312, 743, 743}},
        {"larger monitor left", {{0, 0, 1920, 1080}, {1920, 0, 1366, 768}}, {0, 0, 3286, 1080}, wanted},
        {"laptop above the monitor", {{0, 0, 1366, 768}, {0, 768, 1920, 1080}}, {0, 0, 1920, 1848}, {100, 0, 743, 743}},
        {"laptop below the monitor", {{277, 1080, 1366, 768}, {0, 0, 1920, 1080}}, {0, 0, 1920, 1848}, wanted},
        {"apart: the nearer is the second, and narrow",
         {{500, 0, 1366, 768}, {0, 300, 500, 800}},
         {0, 0, 1866, 1100},
         {0, 300, 498, 498}},
        {"a panel on the laptop only",
         {{0, 0, 1366, 768}, {1366, 0, 1920, 1080}},
         {0, 30, 3286, 1050},
         {100, 30, 713, 713}},
        {"a panel on the other monitor only",
         {{0, 0, 1366, 768}, {1366, 0, 1920, 1080}},
         {0, 0, 3286, 1040},
         {100, 0, 743, 743}},
        {"a work area on the other monitor only",
         {{0, 0, 1366, 768}, {1366, 0, 1920, 1080}},
         {1366, 0, 1920, 1050},
         {100, 0, 743, 743}},
        {"one monitor, as the screen", {{0, 0, 1366, 768}}, {0, 0, 1366, 768}, {100, 0, 743, 743}},
        {"no monitor known: the work area", {}, {0, 0, 3286, 1080}, wanted},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitWindowOnMonitor(wanted, c.monitors, c.workArea, openbox), c.want) << c.what;

    // On one monitor the window opens as it always has.
    for (const ScreenRect& screen : {ScreenRect{0, 0, 1280, 1024}, ScreenRect{0, 0, 1366, 768}}) {
        const ScreenRect panel = {0, 30, screen.width, screen.height - 30};
        for (const ScreenRect& area : {screen, panel})
            EXPECT_EQ(fitWindowOnMonitor(wanted, {screen}, area, openbox), fitWindow(wanted, area, openbox)) << area;
    }
}

TEST(WindowFit, AMonitorHoldsItsLeftAndTopEdgesAndNotItsRightAndBottom) {
    const std::vector<ScreenRect> monitors = {{0, 0, 1366, 768}, {1366, 0, 1920, 1080}};
    EXPECT_EQ(monitorAt(monitors, 1365, 767), monitors[0]);
    EXPECT_EQ(monitorAt(monitors, 1366, 0), monitors[1]);
    EXPECT_EQ(monitorAt(monitors, 1365, 800), monitors[1]);  // below the laptop, one pixel from the monitor
    EXPECT_EQ(monitorAt(monitors, 1000, 800), monitors[0]);  // 33 below the laptop, 366 left of the monitor
    EXPECT_EQ(monitorAt(monitors, 4000, 2000), monitors[1]);
    // Where two monitors show the same place (mirrored), the first listed.
    EXPECT_EQ(monitorAt({{0, 0, 1920, 1080}, {0, 0, 1366, 768}}, 100, 100), (ScreenRect{0, 0, 1920, 1080}));
}

TEST(WindowFit, SizeFollowsTheDesktopsDpiAndIgnoresWhatIsNoDpi) {
    const ScreenRect wanted = {100, 100, 900, 900};
    struct Case {
        const char* dpi;
        int side;
    };
    const Case cases[] = {
        {"", 900},    {"96", 900},     {"144", 1350}, {"192", 1800},   {" 192.0 ", 1800}, {"120.5", 1130},
        {"72", 675},  {"0", 900},      {"-192", 900}, {"192dpi", 900}, {"nan", 900},      {"inf", 900},
        {"abc", 900}, {"1e300", 9000}, {"1", 225},    {"0x60", 900},
    };
    for (const Case& c : cases) {
        const ScreenRect got = scaleForDesktop(wanted, c.dpi);
        EXPECT_EQ(got, (ScreenRect{100, 100, c.side, c.side})) << "Xft.dpi \"" << c.dpi << '"';
    }
    // Then fitted as any other size: 192 dpi on a 1366 x 768 screen gives what 96 dpi gives.
    const ScreenRect laptop = {0, 0, 1366, 768};
    const FrameExtents openbox = {1, 1, 20, 5};
    EXPECT_EQ(fitWindow(scaleForDesktop(wanted, "192"), laptop, openbox), fitWindow(wanted, laptop, openbox));
    EXPECT_EQ(fitWindow(scaleForDesktop(wanted, "192"), {0, 0, 3840, 2160}, openbox),
              (ScreenRect{100, 100, 1800, 1800}));
}

TEST(WindowFit, ReadsGlutsDisplayOption) {
    auto option = [](std::vector<const char*> argv) {
        return glutDisplayOption(static_cast<int>(argv.size()), argv.data());
    };
    EXPECT_EQ(option({"slot-machine"}), "");
    EXPECT_EQ(option({"slot-machine", "-display", ":5"}), ":5");
    EXPECT_EQ(option({"slot-machine", "-iconic", "-display", "host:1.0", "-direct"}), "host:1.0");
    EXPECT_EQ(option({"slot-machine", "-display"}), "");  // the value missing: GLUT's to report
    EXPECT_EQ(option({"-display", ":7"}), "");            // argv[0] is the program
}

}  // namespace

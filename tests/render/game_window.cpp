// The game window of a render test process and the frames read back from it.
#include "tests/render/game_window.h"

#include <unistd.h>

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "app/game_state.h"
#include "game/play.h"
#include "render/render.h"
#include "tests/render/stdout_capture.h"
#include "tests/render/window_readback.h"

namespace rt {

namespace {

bool windowOpen = false;
std::string folder;
std::string startOutput;
GameState startSnapshot{};

// Removes the folder of solid pictures when the process ends.
struct FolderCleaner {
    std::string path;
    ~FolderCleaner() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};
FolderCleaner cleaner;

std::string makeSolidPictureFolder() {
    char name[] = "/tmp/slot-render-XXXXXX";
    if (!mkdtemp(name)) return {};
    writeSolidPictures(name);
    cleaner.path = name;
    return name;
}

void openWindow() {
    static int argc = 1;
    static char program[] = "slot-render-test";
    static char* argv[] = {program, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WindowSide, WindowSide);
    glutInitWindowPosition(WindowX, WindowY);
    game.windowId = glutCreateWindow(WindowTitle);
}

// Marks Mesa's driver, loaded by now, never to be unloaded. At exit it would otherwise
// be unmapped before the leak checker reports what it keeps, and its blocks would come
// from an unknown module that no suppression can name.
void keepGlDriverLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const std::string name = info->dlpi_name ? info->dlpi_name : "";
            if (name.size() > 7 && name.compare(name.size() - 7, 7, "_dri.so") == 0)
                dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

// Reads the frame the last swap put on the window, and the GL's depth buffer, which a
// swap leaves alone.
Frame readFront() {
    glFinish();
    const int w = glutGet(GLUT_WINDOW_WIDTH);
    const int h = glutGet(GLUT_WINDOW_HEIGHT);
    Frame f(w, h);
    if (!readWindowPixels(w, h, f.rgb.data()))
        ADD_FAILURE() << "cannot read the window back: it must be mapped and wholly on the X screen";
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_DEPTH_COMPONENT, GL_FLOAT, f.depth.data());
    return f;
}

}  // namespace

bool startGameIn(const std::string& pictureDir) {
    if (windowOpen) return true;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    folder = pictureDir.empty() ? makeSolidPictureFolder() : pictureDir;
    if (folder.empty() || chdir(folder.c_str()) != 0) return false;
    openWindow();
    keepGlDriverLoaded();
    StdoutCapture capture;
    startGame();
    onReshape(WindowSide, WindowSide);
    startOutput = capture.finish();
    startSnapshot = game;
    windowOpen = true;
    return true;
}

const std::string& startupOutput() { return startOutput; }

const std::string& pictureFolder() { return folder; }

void restoreStartState() {
    game = startSnapshot;  // the generator, the chain and the cues too
    pickMode = PickModeAuto;
    StdoutCapture quiet;
    onReshape(WindowSide, WindowSide);
}

Frame::Frame(int width, int height)
    : rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3),
      depth(static_cast<size_t>(width) * static_cast<size_t>(height)),
      width_(width),
      height_(height) {}

Rgb Frame::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        ADD_FAILURE() << "probe outside the window at " << x << ", " << y;
        return {0, 0, 0};
    }
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Rgb Frame::at(const WinPoint& p) const { return at(static_cast<int>(p.x), static_cast<int>(p.y)); }

float Frame::depthAt(const WinPoint& p) const {
    const int x = static_cast<int>(p.x);
    const int y = static_cast<int>(p.y);
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        ADD_FAILURE() << "depth probe outside the window at " << x << ", " << y;
        return 1.0f;
    }
    return depth[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

std::vector<Rgb> Frame::region(const WinRect& r) const {
    std::vector<Rgb> out;
    for (int y = static_cast<int>(r.bottom); y < static_cast<int>(r.top); ++y)
        for (int x = static_cast<int>(r.left); x < static_cast<int>(r.right); ++x) out.push_back(at(x, y));
    return out;
}

Frame showFrame() {
    onDisplay();
    return readFront();
}

Frame showPieces(const std::function<void()>& draw) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    applyDisplayCamera();
    placeLight();
    draw();
    glPopMatrix();
    glutSwapBuffers();
    return readFront();
}

void press(const WinPoint& p, int button, int state) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int x = static_cast<int>(p.x + 0.5);
    const int y = static_cast<int>(p.y + 0.5);
    onMouse(button, state, x, viewport[3] - y);
}

int colourDistance(const Rgb& a, const Rgb& b) {
    const int dr = std::abs(a.r - b.r);
    const int dg = std::abs(a.g - b.g);
    const int db = std::abs(a.b - b.b);
    return std::max(dr, std::max(dg, db));
}

Rgb modulate(const Rgb& c, const Rgb& by) {
    auto scale = [](int v, int f) { return static_cast<uint8_t>((v * f + 127) / 255); };
    return {scale(c.r, by.r), scale(c.g, by.g), scale(c.b, by.b)};
}

int nearestSlot(const Rgb& c, std::initializer_list<int> slots) {
    int best = -1;
    int bestDistance = 1 << 30;
    for (int slot : slots) {
        const int d = colourDistance(c, slotColour(slot));
        if (d < bestDistance) {
            bestDistance = d;
            best = slot;
        }
    }
    return best;
}

void PrintTo(const Rgb& c, std::ostream* out) {
    *out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

void GameWindowTest::SetUp() {
    ASSERT_TRUE(startGameIn("")) << "the render tests need an X display in DISPLAY (an Xvfb will do)";
    restoreStartState();
}

}  // namespace rt

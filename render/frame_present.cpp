// What a frame repaints and how it reaches the window: the whole picture, or where only
// parts changed, the rectangles where they were and are now, drawn as a whole frame
// draws them and presented as the GL allows (a swap of a back buffer whose age is
// known, or rectangles copied from a back buffer kept as the canvas).
#include <GL/glut.h>

#include <algorithm>

#include "app/game_state.h"
#include "render/frame_parts.h"

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

static const int MaxFrameRects = 8;     // a frame's rectangles; one more merges them all
static const int MaxBackBufferAge = 4;  // an older back buffer is drawn whole

// The rectangles one frame changed, apart: touching ones are merged.
struct FrameDamage {
    PixelRect rect[MaxFrameRects];
    int count;
};

// What changes the whole picture.
struct WholeLook {
    Screen screen;
    bool perspective;
    bool axes;
    bool winner;  // the prize counter's verdict
    GLint viewport[4];
};

struct PresentedFrame {
    FramePresenter presenter;  // none: every frame whole and swapped
    bool gameAsked;            // the frame to come was asked for by the game
    bool wholeWanted;          // the frame to come is drawn whole
    bool canvasKept;           // the back buffer holds the window's picture: it is never swapped
    bool swapped;              // some frame was swapped
    // The frame last presented: the whole picture, and each part's look and rectangle.
    WholeLook whole;
    PartLook looks[FramePartCount];
    PixelRect rects[FramePartCount];
    // The changes of the frames last presented, newest at `newest`, for a back buffer
    // some swaps old.
    FrameDamage history[MaxBackBufferAge];
    int newest;
};

// Whole frames, swapped by GLUT: the way frames go until app/ sets the window's own.
static const FramePresenter GlutPresenter = {glutSwapBuffers, nullptr, nullptr, nullptr};

static PresentedFrame presented = {GlutPresenter, false, true, false, false, {}, {}, {}, {}, 0};

// ---------------------------------------------------------------------------------
// Rectangles
// ---------------------------------------------------------------------------------

static bool emptyRect(const PixelRect& r) { return r.width <= 0 || r.height <= 0; }

static bool touching(const PixelRect& a, const PixelRect& b) {
    return a.x <= b.x + b.width && b.x <= a.x + a.width && a.y <= b.y + b.height && b.y <= a.y + a.height;
}

static PixelRect unionRect(const PixelRect& a, const PixelRect& b) {
    const int left = std::min(a.x, b.x);
    const int bottom = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int top = std::max(a.y + a.height, b.y + b.height);
    return {left, bottom, right - left, top - bottom};
}

// Adds a rectangle to a frame's, merged with every one it touches.
static void addRect(FrameDamage* damage, PixelRect r) {
    if (emptyRect(r)) return;
    for (int i = 0; i < damage->count;) {
        if (touching(r, damage->rect[i])) {
            r = unionRect(r, damage->rect[i]);
            damage->rect[i] = damage->rect[--damage->count];
            i = 0;  // the grown rectangle may touch one passed already
        } else {
            ++i;
        }
    }
    if (damage->count == MaxFrameRects) {
        for (int i = 0; i < damage->count; ++i) r = unionRect(r, damage->rect[i]);
        damage->count = 0;
    }
    damage->rect[damage->count++] = r;
}

// ---------------------------------------------------------------------------------
// The frame's way
// ---------------------------------------------------------------------------------

static WholeLook wholeLook() {
    WholeLook look = {game.screen,
                      game.usePerspective,
                      game.showAxes,
                      game.screen == ScreenPrize && game.tickets >= WinnerTickets,
                      {}};
    glGetIntegerv(GL_VIEWPORT, look.viewport);
    return look;
}

static bool sameWholeLook(const WholeLook& a, const WholeLook& b) {
    return a.screen == b.screen && a.perspective == b.perspective && a.axes == b.axes && a.winner == b.winner &&
           a.viewport[0] == b.viewport[0] && a.viewport[1] == b.viewport[1] && a.viewport[2] == b.viewport[2] &&
           a.viewport[3] == b.viewport[3];
}

// How the coming frame is drawn and shown.
struct FramePlan {
    bool whole;
    bool copied;       // copied to the front from the canvas; else swapped
    int repaintSince;  // the frames whose changes are repainted: 1, or the back buffer's age
};

static FramePlan planFrame(bool wantWhole) {
    PresentedFrame& f = presented;
    if (f.canvasKept) return {wantWhole, true, 1};
    if (f.presenter.backBufferAge) {
        const int age = f.presenter.backBufferAge();
        if (age > 0 && age <= MaxBackBufferAge) return {wantWhole, false, age};
        // An age unknown after a swap: the GL keeps no older picture in the back buffer,
        // so where it can copy, the back buffer is kept as the canvas from now on.
        if (age > MaxBackBufferAge || !f.swapped || !f.presenter.copyRects) return {true, false, 1};
    }
    if (f.presenter.copyRects) {
        f.canvasKept = true;
        return {true, true, 1};
    }
    return {true, false, 1};
}

static void remember(const FrameDamage& changed) {
    presented.newest = (presented.newest + 1) % MaxBackBufferAge;
    presented.history[presented.newest] = changed;
}

// Shows the frame: the rectangles copied to the front, or the back buffer swapped. A
// frame drawn for a window that has since changed its size (its reshape is still to
// come), or whose copy failed, is swapped whole instead, and the next frame drawn whole.
static void show(const FrameDamage& changed, bool copied, const WholeLook& whole) {
    PresentedFrame& f = presented;
    if (copied) {
        const bool sized =
            glutGet(GLUT_WINDOW_WIDTH) == whole.viewport[2] && glutGet(GLUT_WINDOW_HEIGHT) == whole.viewport[3];
        if (sized && f.presenter.copyRects(changed.rect, changed.count)) return;
        f.wholeWanted = true;
        glutPostWindowRedisplay(game.windowId);
    }
    f.presenter.swapBuffers();
    f.swapped = true;
}

static void presentWhole(bool copied, const WholeLook& whole) {
    PresentedFrame& f = presented;
    // A whole frame comes after every change of the window (a reshape, an expose). Where
    // frames are copied, the back buffer may still have the size the window had at the
    // last swap, so the GL fits it to the window first.
    if (copied && f.presenter.fitBackBuffer) f.presenter.fitBackBuffer();
    beginNoting(false);
    drawPicture();
    endNoting();
    for (int p = 0; p < FramePartCount; ++p) {
        f.looks[p] = partLook(static_cast<FramePart>(p));
        f.rects[p] = notedRect(static_cast<FramePart>(p));
    }
    f.whole = whole;
    f.wholeWanted = false;
    FrameDamage all = {{{whole.viewport[0], whole.viewport[1], whole.viewport[2], whole.viewport[3]}}, 1};
    remember(all);
    show(all, copied, whole);
}

// ---------------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------------

void presentFrame() {
    PresentedFrame& f = presented;
    const WholeLook whole = wholeLook();
    const FramePlan plan = planFrame(f.wholeWanted || !f.gameAsked || !sameWholeLook(whole, f.whole));
    f.gameAsked = false;
    if (plan.whole) {
        presentWhole(plan.copied, whole);
        return;
    }

    // Where every part lies now, drawing nothing; a part that changed is repainted where
    // it was and where it is.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    beginNoting(true);
    drawPicture();
    endNoting();
    FrameDamage changed = {{}, 0};
    for (int p = 0; p < FramePartCount; ++p) {
        const PartLook look = partLook(static_cast<FramePart>(p));
        const PixelRect rect = notedRect(static_cast<FramePart>(p));
        if (!sameLook(look, f.looks[p])) {
            addRect(&changed, f.rects[p]);
            addRect(&changed, rect);
        }
        f.looks[p] = look;
        f.rects[p] = rect;
    }
    if (changed.count == 0) {  // nothing drawn changed: nothing to present
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    remember(changed);

    // A back buffer some swaps old still lacks what the frames since changed.
    FrameDamage repaint = changed;
    for (int back = 1; back < plan.repaintSince; ++back) {
        const FrameDamage& older = f.history[(f.newest - back + MaxBackBufferAge) % MaxBackBufferAge];
        for (int i = 0; i < older.count; ++i) addRect(&repaint, older.rect[i]);
    }
    for (int i = 0; i < repaint.count; ++i) {
        const PixelRect& r = repaint.rect[i];
        glScissor(r.x, r.y, r.width, r.height);
        clipPartsTo(&r);
        drawPicture();
    }
    clipPartsTo(nullptr);
    glDisable(GL_SCISSOR_TEST);
    show(changed, plan.copied, whole);
}

void requestFrame() {
    presented.gameAsked = true;
    glutPostWindowRedisplay(game.windowId);
}

void wantWholeFrame() { presented.wholeWanted = true; }

FramePresenter glutFramePresenter() { return GlutPresenter; }

void setFramePresenter(const FramePresenter& presenter) {
    presented.presenter = presenter;
    presented.canvasKept = false;
    presented.swapped = false;
    presented.wholeWanted = true;
}

// The parts of the picture: what each is drawn from, and where it lies in the window,
// noted from the corners of the pieces drawn for it under the matrices of the frame.
#include <algorithm>
#include <cmath>

#include "app/game_state.h"
#include "render/frame_parts.h"

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

// Pixels added around a part's corners, rounded outwards: the rounding keeps every pixel
// whose centre an edge passes over, the margin those the rasterizer's snapping of the
// vertices may add.
static const int EdgeMargin = 1;

struct FrameNotes {
    FramePart current;  // the part the pieces drawn now belong to
    bool noting;        // a frame notes where its parts lie
    bool measuring;     // ... and draws nothing
    GLdouble projection[16];
    GLint viewport[4];
    // Each part's corners in window pixels, as far as noted: empty while low > high.
    double low[FramePartCount][2];
    double high[FramePartCount][2];
    // While a rectangle is repainted: the rectangle, and whether the current part, as
    // noted last, lies wholly outside it.
    bool clipping;
    PixelRect clip;
    bool currentOutside;
};

static FrameNotes notes = {PartNone, false, false, {}, {}, {}, {}, false, {0, 0, 0, 0}, false};

// ---------------------------------------------------------------------------------
// Looks
// ---------------------------------------------------------------------------------

PartLook partLook(FramePart part) {
    switch (part) {
    case PartLever: return {{game.leverAngle, 0.0, 0.0}};
    case PartReelLeft: return {{game.reelAngle[0], 0.0, 0.0}};
    case PartReelCentre: return {{game.reelAngle[1], 0.0, 0.0}};
    case PartReelRight: return {{game.reelAngle[2], 0.0, 0.0}};
    case PartMarquee: return {{game.marqueeAngle, static_cast<double>(marqueeSlot()), 0.0}};
    // The tokens the bar shows, by which a button is lit or dimmed.
    case PartBetOne:
    case PartBetFive: return {{static_cast<double>(game.shownCredits), 0.0, 0.0}};
    case PartBall: return {{game.ballHeight, 0.0, 0.0}};
    case PartStatusBar: return {{static_cast<double>(game.shownCredits), static_cast<double>(game.shownTickets), 0.0}};
    case PartNone:
    case FramePartCount: break;
    }
    return {{0.0, 0.0, 0.0}};
}

bool sameLook(const PartLook& a, const PartLook& b) {
    return a.value[0] == b.value[0] && a.value[1] == b.value[1] && a.value[2] == b.value[2];
}

// ---------------------------------------------------------------------------------
// Noting
// ---------------------------------------------------------------------------------

static bool overlapping(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

void setFramePart(FramePart part) {
    notes.current = part;
    notes.currentOutside = notes.clipping && part != PartNone && !overlapping(notedRect(part), notes.clip);
}

void clipPartsTo(const PixelRect* rect) {
    notes.clipping = rect != nullptr;
    if (rect) notes.clip = *rect;
}

void beginNoting(bool measureOnly) {
    notes.noting = true;
    notes.measuring = measureOnly;
    glGetDoublev(GL_PROJECTION_MATRIX, notes.projection);
    glGetIntegerv(GL_VIEWPORT, notes.viewport);
    for (int p = 0; p < FramePartCount; ++p) {
        notes.low[p][0] = notes.low[p][1] = HUGE_VAL;
        notes.high[p][0] = notes.high[p][1] = -HUGE_VAL;
    }
}

void endNoting() {
    notes.noting = false;
    notes.measuring = false;
}

// Widens the part's window rectangle to the whole viewport: a corner behind the eye
// has no place in the window, and the part may then lie anywhere in it.
static void coverViewport(FramePart part) {
    notes.low[part][0] = notes.viewport[0];
    notes.low[part][1] = notes.viewport[1];
    notes.high[part][0] = notes.viewport[0] + notes.viewport[2];
    notes.high[part][1] = notes.viewport[1] + notes.viewport[3];
}

bool notePiece(const GLfloat (*corners)[3], int count) {
    if (!notes.noting) return !notes.currentOutside;
    const FramePart part = notes.current;
    if (part == PartNone) return !notes.measuring;
    GLdouble modelView[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    // The matrices are column major: m[column * 4 + row].
    GLdouble m[16];
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            GLdouble sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += notes.projection[k * 4 + r] * modelView[c * 4 + k];
            m[c * 4 + r] = sum;
        }
    for (int i = 0; i < count; ++i) {
        const GLdouble v[3] = {corners[i][0], corners[i][1], corners[i][2]};
        GLdouble clip[4];
        for (int r = 0; r < 4; ++r) clip[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r];
        if (!(clip[3] > 0.0)) {
            coverViewport(part);
            break;
        }
        for (int axis = 0; axis < 2; ++axis) {
            const double window = notes.viewport[axis] + (clip[axis] / clip[3] + 1.0) * 0.5 * notes.viewport[axis + 2];
            notes.low[part][axis] = std::min(notes.low[part][axis], window);
            notes.high[part][axis] = std::max(notes.high[part][axis], window);
        }
    }
    return !notes.measuring;
}

PixelRect notedRect(FramePart part) {
    if (part < 0 || part >= FramePartCount || notes.low[part][0] > notes.high[part][0]) return {0, 0, 0, 0};
    int edge[2][2];  // [axis][low, high]
    for (int axis = 0; axis < 2; ++axis) {
        const double first = notes.viewport[axis];
        const double last = first + notes.viewport[axis + 2];
        const double low = std::max(first, std::floor(notes.low[part][axis]) - EdgeMargin);
        const double high = std::min(last, std::ceil(notes.high[part][axis]) + EdgeMargin);
        edge[axis][0] = static_cast<int>(low);
        edge[axis][1] = static_cast<int>(std::max(low, high));
    }
    return {edge[0][0], edge[1][0], edge[0][1] - edge[0][0], edge[1][1] - edge[1][0]};
}

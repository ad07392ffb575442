// Mouse picking: a left press runs a pick pass over the screen shown, prints what was
// hit, and dispatches each name hit to a game action.
#include <GL/glut.h>

#include <cstdio>

#include "app/game_state.h"
#include "game/play.h"
#include "render/pick_names.h"
#include "render/render.h"

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

PickMode pickMode = PickModeAuto;

// Mesa's selection mode keeps memory for every pass, so where the GL has occlusion
// queries the pass is drawn in render mode and each run of drawing under one name is
// counted by a query; the hit records are then written as selection would write them.
enum PassKind { PassNone, PassSelect, PassQuery };

static const int MaxRuns = 16;            // runs of drawing under one name in one pass
static const GLsizei QueryViewport = 16;  // the pick region is sampled on a 16 x 16 grid
static const GLuint RecordWords = 4;      // name count, two depths, one name

// Entry points of the occlusion query: core (GL 1.5) or the ARB extension.
struct QueryApi {
    void(APIENTRY* gen)(GLsizei, GLuint*);
    void(APIENTRY* begin)(GLenum, GLuint);
    void(APIENTRY* end)(GLenum);
    void(APIENTRY* result)(GLuint, GLenum, GLuint*);
};

enum QuerySupport { QueriesNotLookedFor, QueriesAbsent, QueriesPresent };

// The occlusion queries, looked for and made once, and the pass under way: how it finds
// its hits, and the runs of drawing it has counted so far.
struct PickPasses {
    QuerySupport support;
    QueryApi api;
    bool queriesMade;
    GLuint queries[MaxRuns];
    PassKind kind;
    uint32_t runNames[MaxRuns];
    int runCount;
};
static PickPasses passes{};

// ---------------------------------------------------------------------------------
// Query support
// ---------------------------------------------------------------------------------

static bool hasExtension(const char* name) {
    return listsExtension(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

// Finds the query entry points once; false where the GL has none.
static bool queriesAvailable() {
    if (passes.support == QueriesNotLookedFor) {
        int major = 0;
        int minor = 0;
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        if (version) std::sscanf(version, "%d.%d", &major, &minor);
        passes.support = QueriesPresent;
        if (major > 1 || (major == 1 && minor >= 5))
            passes.api = {glGenQueries, glBeginQuery, glEndQuery, glGetQueryObjectuiv};
        else if (hasExtension("GL_ARB_occlusion_query"))
            passes.api = {glGenQueriesARB, glBeginQueryARB, glEndQueryARB, glGetQueryObjectuivARB};
        else
            passes.support = QueriesAbsent;
    }
    return passes.support == QueriesPresent;
}

// ---------------------------------------------------------------------------------
// Naming
// ---------------------------------------------------------------------------------

// The labeller a pass installs: each name becomes glLoadName while selecting, or a new
// occlusion query while counting samples.
static void labelPassRun(uint32_t name) {
    if (passes.kind == PassSelect) {
        glLoadName(name);
    } else if (passes.kind == PassQuery) {
        if (passes.runCount > 0) passes.api.end(GL_SAMPLES_PASSED);
        if (passes.runCount < MaxRuns) {
            passes.runNames[passes.runCount] = name;
            passes.api.begin(GL_SAMPLES_PASSED, passes.queries[passes.runCount]);
            ++passes.runCount;
        } else {
            passes.kind = PassNone;  // more runs than any screen draws: stop counting
        }
    }
}

// ---------------------------------------------------------------------------------
// The pick pass
// ---------------------------------------------------------------------------------

// Sets both matrices as the display does, narrowed to the pick region, draws the
// screen shown, and restores them.
static void drawPickScene(const GLint viewport[4]) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(game.pickX, viewport[3] - game.pickY, game.pickSize, game.pickSize, const_cast<GLint*>(viewport));
    applyProjection(game.windowWidth, game.windowHeight);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    applyDisplayCamera();
    drawScreenScene();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

static GLint selectPass(const GLint viewport[4]) {
    glSelectBuffer(SelectBufferSize, game.selectBuffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(PickNone);
    passes.kind = PassSelect;
    setPickLabeller(labelPassRun);
    drawPickScene(viewport);
    setPickLabeller(nullptr);
    passes.kind = PassNone;
    glFlush();
    return glRenderMode(GL_RENDER);
}

static GLint queryPass(const GLint viewport[4]) {
    if (!passes.queriesMade) {
        passes.api.gen(MaxRuns, passes.queries);
        passes.queriesMade = true;
    }
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_VIEWPORT_BIT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);  // selection ignores depth as well
    // The pick matrix maps the region onto the whole viewport, so a small one samples it.
    glViewport(0, 0, QueryViewport, QueryViewport);

    passes.runCount = 0;
    passes.kind = PassQuery;
    setPickLabeller(labelPassRun);
    setPickName(PickNone);
    drawPickScene(viewport);
    setPickLabeller(nullptr);
    if (passes.kind == PassQuery) passes.api.end(GL_SAMPLES_PASSED);
    passes.kind = PassNone;
    glPopAttrib();

    GLint hits = 0;
    for (int i = 0; i < passes.runCount; ++i) {
        GLuint samples = 0;
        passes.api.result(passes.queries[i], GL_QUERY_RESULT, &samples);
        if (samples == 0) continue;
        uint32_t* record = game.selectBuffer + static_cast<size_t>(hits) * RecordWords;
        record[0] = 1;
        record[1] = 0;  // the depths, which nothing reads
        record[2] = 0;
        record[3] = passes.runNames[i];
        ++hits;
    }
    return hits;
}

void pickAt() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Before the first reshape there is no projection to pick through.
    const bool sized = game.windowWidth > 0 && game.windowHeight > 0;
    const bool useQueries = pickMode != PickModeSelect && queriesAvailable();
    GLint hits = 0;
    if (sized) hits = useQueries ? queryPass(viewport) : selectPass(viewport);
    std::printf("number of hits %i\n", hits);
    if (hits != 0) processHits(hits, game.selectBuffer);
}

void processHits(int32_t hitCount, const uint32_t* buffer) {
    const uint32_t* word = buffer;
    for (int32_t h = 0; h < hitCount; ++h) {
        const uint32_t names = *word;
        word += 3;  // past the name count and the two depths
        std::printf("the name of the object(s) hit: ");
        for (uint32_t n = 0; n < names; ++n) {
            const uint32_t name = *word;
            std::printf("%d ", static_cast<int>(name));
            switch (name) {
            case PickLever: pullLever(); break;
            case PickBetOne: betOne(); break;
            case PickBetFive: betFive(); break;
            case PickDollarOne: buyTokens(1); break;
            case PickDollarTwo: buyTokens(2); break;
            case PickDollarFive: buyTokens(5); break;
            default: break;
            }
            ++word;
        }
        std::printf("\n");
    }
}

void onMouse(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON || state != GLUT_DOWN) return;
    game.pickX = x;
    game.pickY = y;
    pickAt();
    requestFrame();
}

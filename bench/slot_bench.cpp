// Benchmarks of the game in a real Mesa context at 900 x 900: the frame of each screen
// beside one full-window quad, the pick pass, loading the pictures, and the two animation
// steps. Prints one table at the end, with the first frames bench/first_frame.sh measured.
#include <GL/glut.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/game_state.h"
#include "assets/assets.h"
#include "bench/bench_table.h"
#include "game/play.h"
#include "render/pick_names.h"
#include "render/render.h"
#include "tests/stress/alloc_count.h"
#include "tests/stress/gl_session.h"

namespace {

const int BenchSize = 900;
const int MidSpinSteps = 150;  // left reel landed, centre and right still turning
const float MidFlightBall = 0.4f;
const int LoadRepetitions = 3;
// Ratios hold on a busy machine when llvmpipe rasterizes on one thread and the
// repetitions of every benchmark are shuffled together; a caller may ask otherwise.
const char* const DefaultRasterThreads = "1";
char interleaveFlag[] = "--benchmark_enable_random_interleaving=true";
const char FirstFrameFlag[] = "--first-frame-ms=";

GameState restState;  // the game right after start-up and its first frame
int leverX = 0;
int leverY = 0;
int backdropX = 0;
int backdropY = 0;

// Records what our code allocated over the timed loop, per iteration.
class AllocMeter {
public:
    AllocMeter() : start_(allocCounts()) {}
    void report(benchmark::State& state) const {
        const AllocCounts made = allocCounts() - start_;
        state.counters["allocs"] =
            benchmark::Counter(static_cast<double>(made.total()), benchmark::Counter::kAvgIterations);
    }

private:
    AllocCounts start_;
};

// ---------------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------------

void frameLoop(benchmark::State& state) {
    onDisplay();  // the first frame of a state may set up what later frames reuse
    glFinish();
    AllocMeter meter;
    for (auto _ : state) {
        onDisplay();
        glFinish();
    }
    meter.report(state);
}

void BM_Floor(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
    }
}

void BM_FloorWithSwap(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        glFinish();
    }
}

// One unlit quad over the whole view, depth-tested like every piece of the game: flat
// and untextured, what any screen that fills the window pays at least; or wearing the
// machine's backdrop picture, what shading every pixel once with a texel costs.
void quadLoop(benchmark::State& state, bool textured) {
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glDisable(GL_LIGHTING);
    if (textured) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, TexBackdrop);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_QUADS);
        glColor3f(1.0f, 1.0f, 1.0f);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(-1.0f, -1.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(1.0f, -1.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(1.0f, 1.0f);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(-1.0f, 1.0f);
        glEnd();
        glFinish();
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void BM_FullWindowQuad(benchmark::State& state) { quadLoop(state, false); }

void BM_FullWindowTexturedQuad(benchmark::State& state) { quadLoop(state, true); }

void BM_MachineAtRest(benchmark::State& state) {
    game = restState;
    frameLoop(state);
}

void BM_MachineMidSpin(benchmark::State& state) {
    game = restState;
    pullLever();
    for (int i = 0; i < MidSpinSteps; ++i) machineStep();
    frameLoop(state);
}

void BM_PrizeWithBall(benchmark::State& state) {
    game = restState;
    game.screen = ScreenPrize;
    game.tickets = WinnerTickets;
    game.ballHeight = MidFlightBall;
    frameLoop(state);
}

void BM_TokenCounter(benchmark::State& state) {
    game = restState;
    game.screen = ScreenTokens;
    frameLoop(state);
}

// ---------------------------------------------------------------------------------
// Pick passes
// ---------------------------------------------------------------------------------

void pickLoop(benchmark::State& state, int x, int y) {
    game = restState;  // stake 0: a hit on the lever spins without using up tokens
    game.pickX = x;
    game.pickY = y;
    QuietStdout quiet;
    pickAt();
    AllocMeter meter;
    for (auto _ : state) pickAt();
    meter.report(state);
}

void BM_PickLever(benchmark::State& state) { pickLoop(state, leverX, leverY); }

void BM_PickBackdrop(benchmark::State& state) { pickLoop(state, backdropX, backdropY); }

// ---------------------------------------------------------------------------------
// Start-up and steps
// ---------------------------------------------------------------------------------

void BM_LoadAllTextures(benchmark::State& state) {
    QuietStdout quiet;
    for (auto _ : state) {
        loadAllTextures();
        glFinish();
    }
}

void BM_MachineStep(benchmark::State& state) {
    game = restState;
    pullLever();
    AllocMeter meter;
    for (auto _ : state) {
        machineStep();
        if (game.animating == 0) pullLever();  // the next spin's timeline from step 1
    }
    meter.report(state);
}

void BM_BallStep(benchmark::State& state) {
    game = restState;
    AllocMeter meter;
    for (auto _ : state) {
        ballStep();
        benchmark::DoNotOptimize(game.ballHeight);
    }
    meter.report(state);
}

// The GL work runs in llvmpipe's threads as well as ours: the table judges the process's
// cpu time, which other programs on the machine barely move, and shows the wall time.
BENCHMARK(BM_Floor)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FloorWithSwap)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FullWindowQuad)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FullWindowTexturedQuad)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_MachineAtRest)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_MachineMidSpin)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_PrizeWithBall)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_TokenCounter)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_PickLever)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_PickBackdrop)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
// Every load keeps its pictures for good, as start-up does: a few rounds only.
BENCHMARK(BM_LoadAllTextures)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(4)
    ->Repetitions(LoadRepetitions);
BENCHMARK(BM_MachineStep)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_BallStep)->Unit(benchmark::kNanosecond);

// Checks that the two pick points land where the benchmarks say they do.
bool pickPointsHit() {
    QuietStdout quiet;
    game = restState;
    game.pickX = leverX;
    game.pickY = leverY;
    std::memset(game.selectBuffer, 0, sizeof game.selectBuffer);
    pickAt();
    bool lever = false;
    for (size_t i = 0; i < 4; ++i)
        lever = lever || (game.selectBuffer[i * 4] == 1 && game.selectBuffer[i * 4 + 3] == PickLever);
    game = restState;
    game.pickX = backdropX;
    game.pickY = backdropY;
    std::memset(game.selectBuffer, 0xAB, sizeof game.selectBuffer);
    pickAt();
    const bool backdrop =
        game.selectBuffer[0] == 1 && game.selectBuffer[3] == PickNone && game.selectBuffer[4] == 0xABABABABu;
    game = restState;
    return lever && backdrop;
}

}  // namespace

int main(int argc, char** argv) {
    // The first frames come from bench/first_frame.sh, measured before this runs.
    FirstFrames firstFrames;
    std::vector<char*> args = {argv[0], interleaveFlag};  // flags given later win
    for (int i = 1; i < argc; ++i) {
        const size_t flagLength = sizeof FirstFrameFlag - 1;
        if (std::strncmp(argv[i], FirstFrameFlag, flagLength) == 0) {
            if (!parseFirstFrames(argv[i] + flagLength, &firstFrames)) {
                std::fprintf(stderr, "%sGAME_WARM,BARE_WARM,GAME_COLD,BARE_COLD in milliseconds, each above 0\n",
                             FirstFrameFlag);
                return 1;
            }
        } else {
            args.push_back(argv[i]);
        }
    }
    int kept = static_cast<int>(args.size());
    args.push_back(nullptr);
    setenv("LP_NUM_THREADS", DefaultRasterThreads, 0);

    openGameWindow(BenchSize, BenchSize);
    onDisplay();
    glFinish();
    restState = game;
    // The upper left of the cabinet, clear of the marquee and of every named part.
    if (!leverKnobPoint(&leverX, &leverY) || !windowPointOf(-1.0, 2.1, 0.0, &backdropX, &backdropY) ||
        !pickPointsHit()) {
        std::fprintf(stderr, "the pick points miss the lever or the backdrop\n");
        return 1;
    }

    benchmark::Initialize(&kept, args.data());
    if (benchmark::ReportUnrecognizedArguments(kept, args.data())) return 1;
    TableReporter table(firstFrames);
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    if (table.failed()) return 1;
    return table.missed() ? 3 : 0;
}

// Benchmarks of the game in a real Mesa context at 900 x 900: the frame of each screen
// against the floor of a bare clear, the pick pass, loading the pictures, and the two
// animation steps. Prints one table at the end, with the start-up time run.sh measured.
#include <GL/glut.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "assets/assets.h"
#include "game/play.h"
#include "render/pick_names.h"
#include "render/render.h"
#include "tests/stress/alloc_count.h"
#include "tests/stress/gl_session.h"

namespace {

const int BenchSize = 900;
const int MidSpinSteps = 150;  // left reel landed, centre and right still turning
const float MidFlightBall = 0.4f;

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

// What any screen that fills the window pays at least: one flat, untextured, unlit
// quad over the whole view, depth-tested like every piece of the game.
void BM_FullWindowQuad(benchmark::State& state) {
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
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
        glVertex2f(-1.0f, -1.0f);
        glVertex2f(1.0f, -1.0f);
        glVertex2f(1.0f, 1.0f);
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

// The GL work runs in llvmpipe's threads: every figure is wall-clock time.
BENCHMARK(BM_Floor)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FloorWithSwap)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FullWindowQuad)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_MachineAtRest)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_MachineMidSpin)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PrizeWithBall)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_TokenCounter)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PickLever)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PickBackdrop)->Unit(benchmark::kMicrosecond)->UseRealTime();
// Every load keeps its pictures for good, as start-up does: a few rounds only.
BENCHMARK(BM_LoadAllTextures)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_MachineStep)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_BallStep)->Unit(benchmark::kNanosecond);

// ---------------------------------------------------------------------------------
// The table
// ---------------------------------------------------------------------------------

struct Row {
    std::string label;
    double micros;  // per iteration
    double allocs;  // per iteration, -1 when not counted
};

// Collects one figure per benchmark (the median where repetitions ran) and prints
// the table when all have run.
class TableReporter : public benchmark::BenchmarkReporter {
public:
    TableReporter(double startupMs, double bareStartupMs) : startupMs_(startupMs), bareStartupMs_(bareStartupMs) {}

    bool ReportContext(const Context& context) override {
        std::fprintf(stderr, "%d CPUs at %.0f MHz\n", context.cpu_info.num_cpus,
                     context.cpu_info.cycles_per_second / 1e6);
        return true;
    }

    void ReportRuns(const std::vector<Run>& runs) override {
        const Run* chosen = nullptr;
        for (const Run& run : runs) {
            if (run.error_occurred) {
                std::fprintf(stderr, "%s failed: %s\n", run.benchmark_name().c_str(), run.error_message.c_str());
                failed_ = true;
                continue;
            }
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") chosen = &run;
            if (!chosen && run.run_type == Run::RT_Iteration) chosen = &run;
        }
        if (!chosen) return;
        const double toMicros = 1e6 / benchmark::GetTimeUnitMultiplier(chosen->time_unit);
        double allocs = -1;
        const auto counter = chosen->counters.find("allocs");
        if (counter != chosen->counters.end()) allocs = counter->second.value;
        const std::string name = chosen->run_name.function_name;
        if (!rows_.count(name)) std::fprintf(stderr, "  %s\n", name.c_str());
        rows_[name] = Row{name, chosen->GetAdjustedRealTime() * toMicros, allocs};
    }

    void Finalize() override {
        const double floor = rows_.count("BM_Floor") ? rows_["BM_Floor"].micros : 0.0;
        std::printf("\n%-36s %12s %9s %8s  %-14s %s\n", "benchmark (900 x 900, llvmpipe)", "time", "x floor", "allocs",
                    "target", "result");
        line();
        frame("floor: clear + glFinish", "BM_Floor", floor, false);
        frame("floor + swap", "BM_FloorWithSwap", floor, false);
        frame("floor + one full-window quad", "BM_FullWindowQuad", floor, false);
        frame("machine at rest", "BM_MachineAtRest", floor, true);
        frame("machine mid-spin", "BM_MachineMidSpin", floor, true);
        frame("prize counter with ball", "BM_PrizeWithBall", floor, true);
        frame("token counter", "BM_TokenCounter", floor, true);
        line();
        timed("pick pass on the lever", "BM_PickLever", 1000.0, "< 1 ms");
        timed("pick pass on the backdrop", "BM_PickBackdrop", 1000.0, "< 1 ms");
        line();
        timed("load the 19 pictures", "BM_LoadAllTextures", -1, "");
        if (startupMs_ >= 0) {
            const bool ok = startupMs_ < 150.0;
            std::printf("%-36s %12s %9s %8s  %-14s %s\n", "start to \"perspective\" (median/20)",
                        format(startupMs_ * 1000.0).c_str(), "", "", "< 150 ms", ok ? "ok" : "MISSED");
            count(true, ok);
        } else {
            std::printf("%-36s %12s\n", "start to \"perspective\"", "not measured");
        }
        if (bareStartupMs_ >= 0)
            std::printf("%-36s %12s\n", "  bare freeglut window, same line", format(bareStartupMs_ * 1000.0).c_str());
        line();
        timed("machine step", "BM_MachineStep", -1, "");
        timed("ball step", "BM_BallStep", -1, "");
        std::printf(
            "\nallocs: calls our code made per iteration to malloc/new/gluNewQuadric/glGen*, after the first\n");
        std::printf("targets met: %d of %d\n", met_, targets_);
        std::fflush(stdout);
    }

    bool failed() const { return failed_; }
    bool missed() const { return met_ < targets_; }

private:
    static void line() { std::printf("%s\n", std::string(94, '-').c_str()); }

    static std::string format(double micros) {
        char text[32];
        if (micros >= 1000.0)
            std::snprintf(text, sizeof text, "%.2f ms", micros / 1000.0);
        else if (micros >= 1.0)
            std::snprintf(text, sizeof text, "%.1f us", micros);
        else
            std::snprintf(text, sizeof text, "%.1f ns", micros * 1000.0);
        return text;
    }

    static std::string allocText(double allocs) {
        if (allocs < 0) return "";
        char text[16];
        std::snprintf(text, sizeof text, "%g", allocs);
        return text;
    }

    bool allocsOk(const Row& row) const { return row.allocs <= 0; }

    void frame(const char* label, const char* key, double floor, bool targeted) {
        if (!rows_.count(key)) return missing(label);
        const Row& row = rows_[key];
        // Without the floor in the same run (a filtered run) a ratio cannot be judged.
        const bool hasFloor = floor > 0;
        const double ratio = hasFloor ? row.micros / floor : 0.0;
        const bool ok = (!targeted || (hasFloor && ratio <= 3.0)) && allocsOk(row);
        char ratioText[16] = "-";
        if (hasFloor) std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
        const char* result = ok ? (targeted ? "ok" : "") : (hasFloor || !targeted ? "MISSED" : "no floor");
        std::printf("%-36s %12s %9s %8s  %-14s %s\n", label, format(row.micros).c_str(), ratioText,
                    allocText(row.allocs).c_str(), targeted ? "<= 3x floor" : "", result);
        count(targeted || row.allocs >= 0, ok);
    }

    void timed(const char* label, const char* key, double limitMicros, const char* target) {
        if (!rows_.count(key)) return missing(label);
        const Row& row = rows_[key];
        const bool ok = (limitMicros < 0 || row.micros < limitMicros) && allocsOk(row);
        std::printf("%-36s %12s %9s %8s  %-14s %s\n", label, format(row.micros).c_str(), "",
                    allocText(row.allocs).c_str(), target, ok ? (limitMicros < 0 ? "" : "ok") : "MISSED");
        count(limitMicros >= 0 || row.allocs >= 0, ok);
    }

    void missing(const char* label) { std::printf("%-36s %12s\n", label, "not run"); }

    // A row with a target (a time limit, or no allocation) counts towards the summary.
    void count(bool targeted, bool ok) {
        if (!targeted) return;
        ++targets_;
        if (ok) ++met_;
    }

    double startupMs_;
    double bareStartupMs_;
    std::map<std::string, Row> rows_;
    bool failed_ = false;
    int targets_ = 0;
    int met_ = 0;
};

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
    // The start-up figures come from bench/startup.sh, measured before this runs.
    double startupMs = -1;
    double bareStartupMs = -1;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--startup-ms=", 13) == 0)
            startupMs = std::atof(argv[i] + 13);
        else if (std::strncmp(argv[i], "--bare-startup-ms=", 18) == 0)
            bareStartupMs = std::atof(argv[i] + 18);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;

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

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TableReporter table(startupMs, bareStartupMs);
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    if (table.failed()) return 1;
    return table.missed() ? 3 : 0;
}

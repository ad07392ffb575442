// The benchmarks' table: one figure per benchmark, each screen against the full-window
// quad, the first frame on screen against the bare window, and every target judged.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------
// Targets
// ---------------------------------------------------------------------------------

constexpr double ScreenLimitRatio = 2.0;      // a screen's frame against the full-window quad
constexpr double WarmFirstFrameRatio = 1.25;  // the game's first frame against the bare window's
constexpr double ColdFirstFrameRatio = 3.0;   // the same with Mesa's shader cache disabled
constexpr double PickLimitMicros = 1000.0;

// ---------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------

// Medians of the first frame on screen in milliseconds, as bench/first_frame.sh
// measured them; negative when not measured.
struct FirstFrames {
    double gameWarm = -1;
    double bareWarm = -1;
    double gameCold = -1;
    double bareCold = -1;
};

// Reads "GAME_WARM,BARE_WARM,GAME_COLD,BARE_COLD" (four positive figures) into frames.
bool parseFirstFrames(const char* text, FirstFrames* frames);

// Collects one figure per benchmark (the median where repetitions ran) and prints the
// table when all have run.
class TableReporter : public benchmark::BenchmarkReporter {
public:
    explicit TableReporter(const FirstFrames& firstFrames) : firstFrames_(firstFrames) {}

    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    bool failed() const { return failed_; }
    bool missed() const { return met_ < targets_; }

private:
    struct Row {
        double wallMicros;  // per iteration
        double cpuMicros;   // per iteration: the process's, llvmpipe's threads included
        double allocs;      // per iteration, -1 when not counted
    };

    void frame(const char* label, const char* key, bool targeted);
    void timed(const char* label, const char* key, double limitMicros, const char* target);
    void firstFrame(const char* label, double gameMs, double bareMs, double limitRatio);
    void missing(const char* label);
    void count(bool targeted, bool ok);

    FirstFrames firstFrames_;
    std::map<std::string, Row> rows_;
    bool failed_ = false;
    int targets_ = 0;
    int met_ = 0;
};

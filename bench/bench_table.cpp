// The benchmarks' table: the rows, their ratios, and which targets are met.
#include "bench/bench_table.h"

#include <cstdio>
#include <cstdlib>

namespace {

const int TableWidth = 104;
const char* const RowFormat = "%-38s %10s %10s %7s %7s  %-16s %s\n";
const char* const QuadKey = "BM_FullWindowQuad";

void line() { std::printf("%s\n", std::string(TableWidth, '-').c_str()); }

std::string format(double micros) {
    char text[32];
    if (micros < 0)
        text[0] = '\0';
    else if (micros >= 1000.0)
        std::snprintf(text, sizeof text, "%.2f ms", micros / 1000.0);
    else if (micros >= 1.0)
        std::snprintf(text, sizeof text, "%.1f us", micros);
    else
        std::snprintf(text, sizeof text, "%.1f ns", micros * 1000.0);
    return text;
}

// A figure in the format given, or nothing where it was not measured (negative).
std::string figure(const char* format, double value) {
    if (value < 0) return "";
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string ratioText(double ratio) { return figure("%.2f", ratio); }

std::string allocText(double allocs) { return figure("%g", allocs); }

// "<= 2x quad": the limit of a ratio against the row it is measured by.
std::string limitText(double ratio, const char* against) {
    char text[32];
    std::snprintf(text, sizeof text, "<= %gx %s", ratio, against);
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------------

bool parseFirstFrames(const char* text, FirstFrames* frames) {
    double figures[4];
    char* end = nullptr;
    for (int i = 0; i < 4; ++i) {
        figures[i] = std::strtod(text, &end);
        if (end == text || !(figures[i] > 0)) return false;
        if (*end != (i < 3 ? ',' : '\0')) return false;
        text = end + 1;
    }
    *frames = FirstFrames{figures[0], figures[1], figures[2], figures[3]};
    return true;
}

// ---------------------------------------------------------------------------------
// Collecting
// ---------------------------------------------------------------------------------

bool TableReporter::ReportContext(const Context& context) {
    std::fprintf(stderr, "%d CPUs at %.0f MHz\n", context.cpu_info.num_cpus, context.cpu_info.cycles_per_second / 1e6);
    return true;
}

void TableReporter::ReportRuns(const std::vector<Run>& runs) {
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
    rows_[name] = Row{chosen->GetAdjustedRealTime() * toMicros, chosen->GetAdjustedCPUTime() * toMicros, allocs};
}

// ---------------------------------------------------------------------------------
// Printing
// ---------------------------------------------------------------------------------

void TableReporter::Finalize() {
    const char* threads = std::getenv("LP_NUM_THREADS");
    char title[64];
    std::snprintf(title, sizeof title, "900 x 900, LP_NUM_THREADS=%s", threads ? threads : "(unset)");
    std::printf("\n");
    std::printf(RowFormat, title, "wall", "cpu", "ratio", "allocs", "target", "result");
    line();
    frame("floor: clear + glFinish", "BM_Floor", false);
    frame("floor + swap", "BM_FloorWithSwap", false);
    frame("floor + one full-window quad", QuadKey, false);
    frame("  the same quad wearing a picture", "BM_FullWindowTexturedQuad", false);
    frame("machine at rest", "BM_MachineAtRest", true);
    frame("machine mid-spin", "BM_MachineMidSpin", true);
    frame("prize counter with ball", "BM_PrizeWithBall", true);
    frame("token counter", "BM_TokenCounter", true);
    line();
    const std::string pickLimit = "< " + format(PickLimitMicros);
    timed("pick pass on the lever", "BM_PickLever", PickLimitMicros, pickLimit.c_str());
    timed("pick pass on the backdrop", "BM_PickBackdrop", PickLimitMicros, pickLimit.c_str());
    line();
    timed("load the 19 pictures", "BM_LoadAllTextures", -1, "");
    firstFrame("first frame on screen, warm cache", firstFrames_.gameWarm, firstFrames_.bareWarm, WarmFirstFrameRatio);
    firstFrame("first frame on screen, cold cache", firstFrames_.gameCold, firstFrames_.bareCold, ColdFirstFrameRatio);
    line();
    timed("machine step", "BM_MachineStep", -1, "");
    timed("ball step", "BM_BallStep", -1, "");
    std::printf("\nratio: a frame's cpu time against the full-window quad's; a first frame's wall time against\n");
    std::printf("the bare freeglut window's (median of interleaved starts, bench/first_frame.sh)\n");
    std::printf("allocs: calls our code made per iteration to malloc/new/gluNewQuadric/glGen*, after the first;\n");
    std::printf("every row that counts them is met only at 0\n");
    std::printf("targets met: %d of %d\n", met_, targets_);
    std::fflush(stdout);
}

void TableReporter::frame(const char* label, const char* key, bool targeted) {
    if (!rows_.count(key)) return missing(label);
    const Row& row = rows_[key];
    // Without the quad in the same run (a filtered run) a ratio cannot be judged.
    const bool hasQuad = rows_.count(QuadKey) && rows_[QuadKey].cpuMicros > 0;
    const double ratio = hasQuad ? row.cpuMicros / rows_[QuadKey].cpuMicros : -1;
    const bool ok = (!targeted || (hasQuad && ratio <= ScreenLimitRatio)) && row.allocs <= 0;
    const char* result = ok ? (targeted ? "ok" : "") : (hasQuad || !targeted ? "MISSED" : "no quad");
    std::printf(RowFormat, label, format(row.wallMicros).c_str(), format(row.cpuMicros).c_str(),
                ratioText(ratio).c_str(), allocText(row.allocs).c_str(),
                targeted ? limitText(ScreenLimitRatio, "quad").c_str() : "", result);
    count(targeted || row.allocs >= 0, ok);
}

void TableReporter::timed(const char* label, const char* key, double limitMicros, const char* target) {
    if (!rows_.count(key)) return missing(label);
    const Row& row = rows_[key];
    const bool ok = (limitMicros < 0 || row.cpuMicros < limitMicros) && row.allocs <= 0;
    std::printf(RowFormat, label, format(row.wallMicros).c_str(), format(row.cpuMicros).c_str(), "",
                allocText(row.allocs).c_str(), target, ok ? (limitMicros < 0 ? "" : "ok") : "MISSED");
    count(limitMicros >= 0 || row.allocs >= 0, ok);
}

void TableReporter::firstFrame(const char* label, double gameMs, double bareMs, double limitRatio) {
    if (gameMs < 0 || bareMs <= 0) return missing(label);
    const double ratio = gameMs / bareMs;
    const bool ok = ratio <= limitRatio;
    std::printf(RowFormat, label, format(gameMs * 1000.0).c_str(), "", ratioText(ratio).c_str(), "",
                limitText(limitRatio, "bare").c_str(), ok ? "ok" : "MISSED");
    std::printf(RowFormat, "  bare freeglut window", format(bareMs * 1000.0).c_str(), "", "", "", "", "");
    count(true, ok);
}

void TableReporter::missing(const char* label) { std::printf("%-38s %10s\n", label, "not run"); }

// A row with a target (a time limit, or no allocation) counts towards the summary.
void TableReporter::count(bool targeted, bool ok) {
    if (!targeted) return;
    ++targets_;
    if (ok) ++met_;
}

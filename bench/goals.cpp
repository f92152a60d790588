#include "goals.h"

#include <algorithm>
#include <cstdarg>
#include <sstream>

namespace {

constexpr double kMostOverhead = 1.05;
constexpr double kScalingTolerance = 0.10;
constexpr double kStartupBudgetMs = 5.0;
constexpr long kMemoryBudgetKiB = 1024;
constexpr int kRate = 62;
constexpr std::size_t kLeastRateLines = 2;

__attribute__((format(printf, 1, 2))) std::string format(const char *pattern, ...)
{
    char text[160];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

} // namespace

Row frameCost(double frameMs, double emptyMs)
{
    return {"frame / empty frame", format("%.3f / %.3f ms = %.2fx", frameMs, emptyMs, frameMs / emptyMs), "",
            true};
}

Row frameOverhead(double ratio, double frameMs, double replayMs)
{
    return {"frame / replay of its GL calls", format("%.3fx (%.3f vs %.3f ms)", ratio, frameMs, replayMs),
            format("at most %.2fx", kMostOverhead), ratio <= kMostOverhead};
}

namespace {

std::string cpuRatio(double ratio, double cpu, double otherCpu)
{
    return format("%.3fx (%.2f vs %.2f ms of CPU a frame)", ratio, cpu * 1e3, otherCpu * 1e3);
}

} // namespace

Row pacedCost(const std::string &screen, double ratio, double programCpu, double replayCpu)
{
    return {"paced CPU on " + screen + " / replay", cpuRatio(ratio, programCpu, replayCpu),
            format("at most %.2fx", kMostOverhead), ratio <= kMostOverhead};
}

Row previewCost(const std::string &preview, double ratio, double previewCpu, double wholeCpu)
{
    return {"paced CPU as a " + preview + " preview / whole", cpuRatio(ratio, previewCpu, wholeCpu),
            format("at most %.2fx", kMostOverhead), ratio <= kMostOverhead};
}

Row scalingCost(const std::string &screen, double ratio, double asRunsCpu, double unscaledCpu, bool sameGoal)
{
    const bool same = ratio >= 1 - kScalingTolerance && ratio <= 1 + kScalingTolerance;
    return {"paced CPU on " + screen + " / scaling off", cpuRatio(ratio, asRunsCpu, unscaledCpu),
            sameGoal ? format("1 +/- %.2f", kScalingTolerance) : "", !sameGoal || same};
}

namespace {

std::string difference(double a, double b, const char *unit)
{
    return format("%.1f - %.1f %s = %+.1f %s", a, b, unit, a - b, unit);
}

} // namespace

Row startupCost(double programMs, double replayMs, double readyAddedMs)
{
    const double added = programMs - replayMs;
    return {"start-up to first frame / replay",
            difference(programMs, replayMs, "ms") +
                format(" (%+.1f before the first frame, %+.1f in it)", readyAddedMs, added - readyAddedMs),
            format("at most +%.0f ms", kStartupBudgetMs), added <= kStartupBudgetMs};
}

Row startupOverDisplay(double programMs, double displayMs)
{
    return {"start-up to first frame / display only", difference(programMs, displayMs, "ms"), "", true};
}

Row memoryCost(long programKiB, long replayKiB)
{
    return {"peak resident memory / replay", difference(programKiB / 1024.0, replayKiB / 1024.0, "MiB"),
            format("at most +%.0f MiB", kMemoryBudgetKiB / 1024.0), programKiB - replayKiB <= kMemoryBudgetKiB};
}

Row memoryOverDisplay(long programKiB, long displayKiB)
{
    return {"peak resident memory / display only", difference(programKiB / 1024.0, displayKiB / 1024.0, "MiB"),
            "", true};
}

Row rateLines(const std::string &output)
{
    std::istringstream in(output);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::string shown;
    for (const std::string &line : lines)
        shown += (shown.empty() ? "" : " ") + line;
    if (shown.empty())
        shown = "none";

    const bool enough = lines.size() >= kLeastRateLines + 1;
    const bool steady = std::all_of(lines.begin() + (lines.empty() ? 0 : 1), lines.end(),
                                    [](const std::string &line) { return line == std::to_string(kRate); });
    return {"frame-rate lines", shown + " (first not counted)",
            "62 after the first, at least " + std::to_string(kLeastRateLines), enough && steady};
}

Row heapAllocations(long count, long frames)
{
    return {"heap allocations per frame",
            std::to_string(count) + " in " + std::to_string(frames) + " frames of the program's own code",
            "none", count == 0};
}

Row notMeasured(const std::string &figure, const std::string &reason)
{
    return {figure, "not measured: " + reason, "", false};
}

void printRows(const std::vector<Row> &rows, std::FILE *out)
{
    std::size_t figure = 6, measured = 8, goal = 4;
    for (const Row &row : rows) {
        figure = std::max(figure, row.figure.size());
        measured = std::max(measured, row.measured.size());
        goal = std::max(goal, row.goal.size());
    }
    const auto line = [&](const std::string &a, const std::string &b, const std::string &c, const char *d) {
        std::fprintf(out, "%-*s  %-*s  %-*s  %s\n", static_cast<int>(figure), a.c_str(),
                     static_cast<int>(measured), b.c_str(), static_cast<int>(goal), c.c_str(), d);
    };
    line("figure", "measured", "goal", "result");
    line(std::string(figure, '-'), std::string(measured, '-'), std::string(goal, '-'), "------");
    for (const Row &row : rows)
        line(row.figure, row.measured, row.goal.empty() ? "-" : row.goal,
             row.goal.empty() && row.pass ? "-" : row.pass ? "pass" : "FAIL");
}

// Google Benchmark's console reporter, kept for its tables, that also
// collects each benchmark's median for the goals.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Google Benchmark's console tables, one per phase under one header, keeping
// the medians.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    explicit MedianReporter(OutputOptions options) : ConsoleReporter(options) {}

    bool ReportContext(const Context &context) override
    {
        if (!contextShown_) {
            contextShown_ = true;
            return ConsoleReporter::ReportContext(context);
        }
        name_field_width_ = context.name_field_width;
        printed_header_ = false;
        return true;
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median" || run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name;
            medians[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            for (const auto &[counter, value] : run.counters)
                medians[name + "." + counter] = value;
        }
    }

    // Times in milliseconds by benchmark name, counters as "name.counter".
    std::map<std::string, double> medians;

private:
    bool contextShown_ = false;
};

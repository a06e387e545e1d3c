#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

// The console report, remembering each benchmark's CPU time (the median when repeated) for a
// closing comparison; CPU time, because the machine may be shared while the benchmark runs.
class TSummaryReporter : public benchmark::ConsoleReporter
{
public:
    TSummaryReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& Reports) override
    {
        for (const Run& R : Reports) {
            if (R.error_occurred)
                continue;
            if (R.run_type == Run::RT_Iteration ||
                (R.run_type == Run::RT_Aggregate && R.aggregate_name == "median"))
                Times[R.run_name.str()] = R.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(Reports);
    }

    std::map<std::string, double> Times;
};

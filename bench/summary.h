#pragma once
// One line of the table `make bench` ends with, declared by the benchmark program beside
// the benchmarks it pairs: an operation, the baseline timed in the same run that it is
// compared with, and its target. The declaration travels in the context of the program's
// JSON output (--benchmark_out=FILE --benchmark_out_format=json), where bench_table
// (bench/bench_table.cpp) reads it, pairs the two runs and prints the table.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>

namespace qmx44::bench {

// Which figure of a run is compared: its wall time, its CPU time (steadier on a machine
// shared with other work, but blind to a database server's share), or one of its counters.
enum class Figure { RealTime, CpuTime, Counter };

struct SummaryLine {
    std::string operation{};     // what the user does
    std::string size{};          // of the measured run
    std::string backend{};       // database back-end, or "-"
    std::string measured{};      // benchmark name of the measured run
    std::string baseline{};      // benchmark name of the baseline run; empty when there is none
    std::string baselineLabel{}; // what the baseline is, shown beside its figure
    Figure figure = Figure::RealTime;
    std::string counter{}; // with Figure::Counter: the counter's name
    std::string unit{};    // with Figure::Counter: the counter's unit
    double maxRatio = 0;   // target: measured / baseline at most this (0: no ratio target)
    double maxValue = 0;   // target: the figure at most this, in ms for times (0: none)
};

// Declares `line` in this program's JSON output. Call before RunSpecifiedBenchmarks.
inline void declare(const SummaryLine &line)
{
    static int count = 0;
    const char *figures[] = {"real_time", "cpu_time", "counter"};
    const nlohmann::json j = {
        {"operation", line.operation},         {"size", line.size},         {"backend", line.backend},
        {"measured", line.measured},           {"baseline", line.baseline}, {"baseline_label", line.baselineLabel},
        {"figure", figures[int(line.figure)]}, {"counter", line.counter},   {"unit", line.unit},
        {"max_ratio", line.maxRatio},          {"max_value", line.maxValue}};
    char key[32];
    std::snprintf(key, sizeof key, "qmx44_summary_%03d", ++count);
    benchmark::AddCustomContext(key, j.dump());
}

// "SQLite" or "PostgreSQL" for a scratch database's label.
inline std::string backendName(const std::string &label)
{
    return label == "postgres" ? "PostgreSQL" : label == "sqlite" ? "SQLite" : label;
}

} // namespace qmx44::bench

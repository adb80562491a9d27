// Reads the JSON output of the benchmark programs and prints one table of every line they
// declared (bench/summary.h): operation, size, back-end, its figure, the baseline's figure
// from the same run, their ratio, the target and whether it was met. With --docs FILE it
// also writes that table, with the machine it was measured on, between the markers of FILE.
// Exits 1 when a benchmark failed to run or a declared run is missing; a missed target
// is reported in the table, not in the exit status.
//   bench_table [--docs FILE] RESULT.json...
#include <nlohmann/json.hpp>

#include <sched.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

const std::string BeginMarker = "<!-- bench:begin -->";
const std::string EndMarker = "<!-- bench:end -->";

// The run a name stands for: the median of its repetitions (steadier than their mean on
// a machine shared with other work), or its only run.
struct Run {
    double realNs = 0, cpuNs = 0;
    json counters;
    bool median = false;
};

double toNs(double t, const std::string &unit)
{
    if (unit == "us")
        return t * 1e3;
    if (unit == "ms")
        return t * 1e6;
    if (unit == "s")
        return t * 1e9;
    return t;
}

// "raw_save/sqlite/iterations:5" names the same benchmark as "raw_save/sqlite".
std::string baseName(std::string name)
{
    const auto at = name.find("/iterations:");
    if (at != std::string::npos) {
        const auto end = name.find('/', at + 1);
        name.erase(at, end == std::string::npos ? std::string::npos : end - at);
    }
    return name;
}

std::string format(const char *fmt, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

std::string number(double v)
{
    return format(v < 10 ? "%.2f" : v < 100 ? "%.1f" : "%.0f", v);
}

std::string duration(double ns)
{
    if (ns < 1e3)
        return number(ns) + " ns";
    if (ns < 1e6)
        return number(ns / 1e3) + " µs";
    if (ns < 1e9)
        return number(ns / 1e6) + " ms";
    return number(ns / 1e9) + " s";
}

// Width on screen: UTF-8 continuation bytes take no column.
std::size_t width(const std::string &s)
{
    return std::size_t(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

using Table = std::vector<std::vector<std::string>>;

// A Markdown table with its columns padded, readable as it stands on a terminal.
std::string render(const Table &t)
{
    std::vector<std::size_t> w(t[0].size(), 3);
    for (const auto &row : t)
        for (std::size_t i = 0; i < row.size(); ++i)
            w[i] = std::max(w[i], width(row[i]));
    std::string out;
    auto line = [&](const std::vector<std::string> &row) {
        for (std::size_t i = 0; i < row.size(); ++i)
            out += "| " + row[i] + std::string(w[i] - width(row[i]), ' ') + ' ';
        out += "|\n";
    };
    line(t[0]);
    for (std::size_t i = 0; i < w.size(); ++i)
        out += "|" + std::string(w[i] + 2, '-');
    out += "|\n";
    for (std::size_t r = 1; r < t.size(); ++r)
        line(t[r]);
    return out;
}

std::string firstValue(const char *path, const std::string &key)
{
    std::ifstream in(path);
    for (std::string l; std::getline(in, l);)
        if (l.compare(0, key.size(), key) == 0) {
            const auto colon = l.find(':');
            const auto start = l.find_first_not_of(" \t", colon + 1);
            return start == std::string::npos ? std::string() : l.substr(start);
        }
    return {};
}

// The machine the figures were taken on, as one sentence.
std::string machine()
{
    cpu_set_t set;
    const int cpus = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 0;
    std::string model = firstValue("/proc/cpuinfo", "model name");
    if (model.empty())
        model = "unknown processor";
    const double memKb = std::atof(firstValue("/proc/meminfo", "MemTotal").c_str());
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    return std::string("Measured on ") + date + ": " + std::to_string(cpus) + " CPUs available (nproc), " + model + ", "
        + format("%.1f", memKb / 1048576) + " GiB of memory; release preset.";
}

bool writeDocs(const std::string &path, const std::string &section)
{
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    const auto begin = text.find(BeginMarker), end = text.find(EndMarker);
    if (!in || begin == std::string::npos || end == std::string::npos || end < begin) {
        std::fprintf(stderr, "bench_table: %s has no %s ... %s section\n", path.c_str(), BeginMarker.c_str(),
                     EndMarker.c_str());
        return false;
    }
    text.replace(begin, end - begin, BeginMarker + "\n" + section);
    std::ofstream(path) << text;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    std::string docs;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--docs" && i + 1 < argc)
            docs = argv[++i];
        else
            files.push_back(a);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: bench_table [--docs FILE] RESULT.json...\n");
        return 2;
    }

    bool failed = false;
    std::map<std::string, Run> runs;
    std::vector<json> lines;
    for (const std::string &file : files) {
        json j;
        try {
            std::ifstream(file) >> j;
        } catch (const json::exception &e) {
            std::fprintf(stderr, "bench_table: %s: %s\n", file.c_str(), e.what());
            failed = true;
            continue;
        }
        // Their keys are numbered with leading zeros: sorted, they come back in their order.
        for (const auto &[key, value] : j["context"].items())
            if (key.rfind("qmx44_summary_", 0) == 0)
                lines.push_back(json::parse(value.get<std::string>()));
        for (const json &b : j["benchmarks"]) {
            const std::string name = baseName(b.value("run_name", b.value("name", "")));
            if (b.value("error_occurred", false)) {
                std::fprintf(stderr, "bench_table: %s failed: %s\n", name.c_str(),
                             b.value("error_message", "").c_str());
                failed = true;
                runs.erase(name);
                continue;
            }
            const bool median = b.value("run_type", "") == "aggregate";
            if (median && b.value("aggregate_name", "") != "median")
                continue;
            Run &r = runs[name];
            if (r.median && !median)
                continue;
            const std::string unit = b.value("time_unit", "ns");
            r = Run{toNs(b.value("real_time", 0.0), unit), toNs(b.value("cpu_time", 0.0), unit), b, median};
        }
    }

    Table table{{"operation", "size", "back-end", "time", "baseline", "ratio", "target", "met"}};
    const double none = std::nan("");
    for (const json &l : lines) {
        const std::string figure = l["figure"], counter = l["counter"], unit = l["unit"];
        const double maxRatio = l["max_ratio"], maxValue = l["max_value"];
        // The line's figure of the named run; NaN when there is none.
        auto value = [&](const std::string &name) {
            const auto r = runs.find(name);
            if (name.empty() || r == runs.end())
                return none;
            if (figure == "counter")
                return r->second.counters.contains(counter) ? r->second.counters[counter].get<double>() : none;
            return figure == "cpu_time" ? r->second.cpuNs : r->second.realNs;
        };
        auto show = [&](double v) {
            return figure == "counter" ? number(v) + " " + unit : duration(v) + (figure == "cpu_time" ? " cpu" : "");
        };
        std::vector<std::string> row{l["operation"], l["size"], l["backend"], "-", "-", "-", "-", "FAILED"};
        const std::string measuredName = l["measured"], baselineName = l["baseline"];
        const double mv = value(measuredName), bv = value(baselineName);
        if (maxRatio > 0)
            row[6] = "ratio ≤ " + format("%.2f", maxRatio);
        else if (maxValue > 0)
            row[6] = "≤ " + number(maxValue) + " " + (figure == "counter" ? unit : "ms");
        if (std::isnan(mv) || (!baselineName.empty() && std::isnan(bv))) {
            std::fprintf(stderr, "bench_table: no result for %s\n",
                         (std::isnan(mv) ? measuredName : baselineName).c_str());
            failed = true;
            table.push_back(row);
            continue;
        }
        row[3] = show(mv);
        double ratio = none;
        if (!baselineName.empty()) {
            row[4] = show(bv) + " (" + l["baseline_label"].get<std::string>() + ")";
            if (bv > 0) {
                ratio = mv / bv;
                row[5] = format("%.2f", ratio);
            }
        }
        bool met = true;
        if (maxRatio > 0)
            met = ratio <= maxRatio; // false when there is no ratio
        else if (maxValue > 0)
            met = (figure == "counter" ? mv : mv / 1e6) <= maxValue;
        row[7] = maxRatio > 0 || maxValue > 0 ? (met ? "yes" : "no") : "-";
        table.push_back(row);
    }

    const std::string rendered = render(table);
    std::printf("\n%s", rendered.c_str());
    if (!docs.empty() && !failed && !writeDocs(docs, machine() + "\n\n" + rendered + "\n"))
        failed = true;
    return failed ? 1 : 0;
}

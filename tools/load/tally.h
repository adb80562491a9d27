#pragma once
// What the clerks of a load run did: operations, save latencies and messages by kind.
#include <QString>
#include <map>
#include <vector>

namespace qmx44::load {

struct Tally {
    std::map<QString, int> operations;  // "save", "save refused", "cancel", ...
    std::map<QString, int> expected;    // refusals the load provokes on purpose, by kind
    std::map<QString, int> unexplained; // everything else, by kind
    std::map<QString, QString> samples; // kind -> the first text seen
    std::map<QString, int> kills;       // clerks killed, by the step in flight
    std::map<QString, int> connection;  // lost-connection messages while the server restarts, by kind
    std::vector<double> saveMilliseconds;
    int notesSaved = 0;
    std::vector<double> rebateMilliseconds; // each `qmx44 rebate` process, start to end
    int rebateNotes = 0;                    // notes of the rebates granted

    void count(const QString &operation) { ++operations[operation]; }
    void unexpected(const QString &kind, const QString &text)
    {
        if (++unexplained[kind] == 1)
            samples[kind] = text;
    }
};

// The kind of a message or error text: what a database or the screen says, without the
// folios, amounts and line numbers that differ from one occurrence to the next.
QString kindOf(const QString &id, const QString &text);

} // namespace qmx44::load

#pragma once
// The draft of a note being entered: what the clerk put in (not the screen's state), so
// that it can be typed in again: a new note on a purchase or a saved note being
// modified, the header fields typed, each line's bonus as typed (a percent or an
// amount), the additional fields, and the moment it was written. Kept as small,
// versioned JSON.
#include <QDateTime>
#include <QString>
#include <utility>
#include <vector>

namespace qmx44::screen {

struct DraftBonus {
    int row = 0;  // 0-based, as the grid had it
    QString line; // the purchase line it was typed on (lineKey)
    bool percent = false;
    double value = 0;
};

struct Draft {
    static constexpr int Version = 1;

    QDateTime written;
    bool modifying = false;
    QString noteFolio; // modifying: the saved note
    QString purchase;  // the purchase folio as it stands
    bool purchaseTaken = false;
    // The purchase's lines and pending amounts when the draft was written (linesDigest).
    QString lines;
    // Header fields by name, in the order they are typed again.
    std::vector<std::pair<QString, QString>> fields;
    std::vector<DraftBonus> bonuses;
    std::vector<std::pair<QString, QString>> additional;

    // Without `written`: two drafts of the same inputs give the same text.
    QByteArray toJson(bool withMoment = true) const;
    // RuntimeError naming what is wrong for text that is not a draft of this version.
    static Draft fromJson(const QByteArray &json);
};

} // namespace qmx44::screen

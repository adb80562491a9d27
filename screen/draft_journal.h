#pragma once
// Nothing typed is lost: while a note is being entered (Nuevo) or modified (Modificar)
// the clerk's inputs are journalled as a draft (draft.h) after every change, once the
// event that made it is over; saving the note, or clearing the screen, removes the draft.
// When the screen opens on a draft it asks whether to recover it, and recovering types
// it in again through the controls, so that every rule runs again (the purchase taken
// in, the pending amounts marked); a purchase that changed meanwhile is named.
#include "screen/draft.h"

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <memory>
#include <vector>

namespace qmx44::controls {
class Control;
}

namespace qmx44::screen {

class DraftStore;
class FrmQMX44;

class DraftJournal : public QObject {
public:
    DraftJournal(FrmQMX44 &frm, std::unique_ptr<DraftStore> store);
    ~DraftJournal() override;

    // A note is being entered or modified: from now on its inputs are journalled.
    void begin();
    // The screen was cleared (the note saved, cancelled or given up): the draft goes.
    void discard();
    // The form closes: what changed last is written, and the draft stays for next time.
    void close();
    // Offers the draft, once the host has shown the screen (after the events pending now).
    void offerLater();

    // The purchase line of `row` as the draft names it, and all lines with their bases
    // and pending amounts in one digest.
    static QString lineKey(const FrmQMX44 &frm, int row);
    static QString linesDigest(const FrmQMX44 &frm);
    // Writes what changed now, not after the pending events (tests).
    void flush();
    void offer();

private:
    void watch(controls::Control &control);
    void changed();
    void gridChanged(int row, int column);
    Draft capture();
    void replay(const Draft &draft);
    bool typeInto(controls::Control &field, const QString &text);
    void warn(const QString &text, const QString &title, const QString &id);

    FrmQMX44 &m_frm;
    std::unique_ptr<DraftStore> m_store;
    std::vector<std::pair<controls::Control *, int>> m_tickets;
    bool m_active = false;
    bool m_replaying = false;
    bool m_scheduled = false;
    bool m_writeFailed = false;
    QByteArray m_written;    // the last draft written, without its moment
    QSet<int> m_percentRows; // rows whose bonus was last typed as a percent
    bool m_linesChanged = true;
    QString m_lines;
};

} // namespace qmx44::screen

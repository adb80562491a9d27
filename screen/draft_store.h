#pragma once
// Where the draft of a note being entered is kept: one small file per user and database
// in the user's data folder ($XDG_DATA_HOME/qmx44/drafts, else ~/.local/share/...),
// written whole and atomically, so that a crash leaves the last draft or the one before,
// never half of one. A lock beside it keeps a second copy of the program on the same user
// and database from overwriting or offering the draft of the first. An in-memory
// database's drafts are kept in memory, in a table the host keeps as long as it.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <optional>

class QLockFile;

namespace qmx44::screen {

class DraftStore {
public:
    // The store for `user`'s drafts of `database` (db::ConnectionSpec::identity()); those
    // of an in-memory database (":memory:") go into `memory`, or nowhere without one.
    DraftStore(const QString &user, const QString &database, QHash<QString, QByteArray> *memory = nullptr);
    ~DraftStore();
    DraftStore(const DraftStore &) = delete;
    DraftStore &operator=(const DraftStore &) = delete;

    // False while another running program keeps this user's draft of this database: this
    // one then neither reads nor writes it.
    bool owned() const { return m_owned; }
    // The file, or "" for a draft kept in memory.
    QString path() const { return m_path; }
    // The draft, or none. RuntimeError when the file exists and cannot be read.
    std::optional<QByteArray> read() const;
    // Replaces the draft. RuntimeError when it cannot be written.
    void write(const QByteArray &draft);
    void remove();
    // Moves an unreadable draft out of the way (beside it, renamed with the moment) and
    // returns its new name; the next draft starts afresh.
    QString setAside();

private:
    QString partPath() const;

    QString m_key;
    QString m_path;
    QHash<QString, QByteArray> *m_memory = nullptr;
    std::unique_ptr<QLockFile> m_lock;
    bool m_owned = true;
};

} // namespace qmx44::screen

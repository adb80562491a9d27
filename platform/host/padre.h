#pragma once
// Padre: the host's parent object of the screen. The screen knows nothing of its type
// and reaches its members by name at run time ("Transaccion", "Modulo"); the exit
// command closes it like a window.
#include <QObject>
#include <QString>
#include <QVariant>

namespace qmx44::host {

class Padre : public QObject {
    Q_OBJECT
public:
    explicit Padre(QObject *parent = nullptr);

    // The member `nombre`, late-bound: a dynamic property or a declared property of the
    // object. Throws RuntimeError when the object has no such member.
    QVariant member(const QString &name) const;
    bool hasMember(const QString &name) const;
    // Sets (or, with an invalid value, removes) the member `nombre`.
    void setMember(const QString &name, const QVariant &value);

    // Closes the host's window: remembered, and announced once through closed().
    void close();
    bool isClosed() const { return m_closed; }

signals:
    void closed();

private:
    bool m_closed = false;
};

} // namespace qmx44::host

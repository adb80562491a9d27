#pragma once
// The coded message: every text the product shows to a user passes through a sink
// with these six parts. The GUI shows a box; headless runs record them.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace qmx44 {

// The styles of a coded message: the icon the user sees (the values are the host's).
enum class MessageStyle : int { Error = 16, Warning = 48, Information = 64 };

struct Message {
    QString text;
    int style = 0; // a MessageStyle: 16 error, 48 warning, 64 information
    QString title;
    qint64 owner = 0; // window handle of the form that shows it
    QString module;   // module tag of the screen that shows it
    QString id;       // e.g. "ERR-ID:7500016"
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows the message modally and returns the user's answer (unused by the screen).
    virtual int show(const Message &message) = 0;
};

// Keeps every message; for headless runs and tests.
class RecordingMessageSink : public MessageSink {
public:
    int show(const Message &message) override
    {
        m_messages.push_back(message);
        return 1;
    }
    const std::vector<Message> &messages() const { return m_messages; }
    std::vector<Message> take()
    {
        auto out = std::move(m_messages);
        m_messages.clear();
        return out;
    }
    void clear() { m_messages.clear(); }

private:
    std::vector<Message> m_messages;
};

} // namespace qmx44

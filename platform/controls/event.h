#pragma once
// One control event: a single handler with its procedure name (e.g.
// "txtNombre_Enter()"), raised inside the event boundary of its owner.
//
// The event boundary: a handler that throws (qmx44::RuntimeError or any std::exception)
// is stopped there; the owner reports the failure through its form's message sink
// (style 16, title = the handler's name, owner = the form's handle, the form's module,
// empty identifier) and stays usable. Handlers with an error trap of their own simply
// do not throw.
#include <QString>
#include <functional>
#include <utility>

namespace qmx44::controls {

// Whatever raises events: a control or a form.
class EventOwner {
public:
    virtual ~EventOwner() = default;
    // The name that prefixes default handler names (the control's name; "Form" for a form).
    virtual QString eventOwnerName() const = 0;
    // Shows a failure of the handler `title` through the form's message sink.
    virtual void reportFailure(const QString &title, const QString &description) const = 0;
    // A handler of this owner starts and returns (the form counts the running ones).
    virtual void handlerStarted() const {}
    virtual void handlerReturned() const {}
};

namespace detail {
// Runs `body`; on an exception reports it through `owner` with `title`. True when the
// body finished without throwing.
bool runGuarded(const EventOwner *owner, const QString &title, const std::function<void()> &body);

// Tells the owner that a handler runs while it exists.
class HandlerRunning {
public:
    explicit HandlerRunning(const EventOwner *owner) : m_owner(owner) { m_owner->handlerStarted(); }
    ~HandlerRunning() { m_owner->handlerReturned(); }
    HandlerRunning(const HandlerRunning &) = delete;
    HandlerRunning &operator=(const HandlerRunning &) = delete;

private:
    const EventOwner *m_owner;
};
} // namespace detail

template <class... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    Event(const EventOwner *owner, QString eventName) : m_owner(owner), m_eventName(std::move(eventName)) {}
    Event(const Event &) = delete;
    Event &operator=(const Event &) = delete;

    // Sets the handler; its name defaults to "<owner>_<event>()".
    void connect(Handler handler) { connect(QString(), std::move(handler)); }
    void connect(const QString &handlerName, Handler handler)
    {
        m_handler = std::move(handler);
        m_handlerName = handlerName;
    }
    void disconnect()
    {
        m_handler = nullptr;
        m_handlerName.clear();
    }
    bool connected() const { return bool(m_handler); }

    const QString &eventName() const { return m_eventName; }
    QString handlerName() const
    {
        if (!m_handlerName.isEmpty())
            return m_handlerName;
        return m_owner->eventOwnerName() + QLatin1Char('_') + m_eventName + QStringLiteral("()");
    }

    // Raises the event inside the boundary. False when the handler failed (it was
    // reported); true when it finished or there is no handler.
    bool raise(Args... args) const
    {
        if (!m_handler)
            return true;
        Handler h = m_handler; // the handler may replace itself while it runs
        detail::HandlerRunning running(m_owner);
        return detail::runGuarded(m_owner, handlerName(), [&] { h(std::forward<Args>(args)...); });
    }

    // Runs the handler without the boundary: a failure reaches the caller (used where
    // the caller has its own trap, e.g. a host creating the form).
    void call(Args... args) const
    {
        if (m_handler) {
            Handler h = m_handler;
            detail::HandlerRunning running(m_owner);
            h(std::forward<Args>(args)...);
        }
    }

private:
    const EventOwner *m_owner;
    QString m_eventName;
    QString m_handlerName;
    Handler m_handler;
};

} // namespace qmx44::controls

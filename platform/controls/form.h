#pragma once
// A form: owns its controls (found by name in O(1), case-insensitively), has a window
// handle, the focus and tab order, the key-release preview, the database connection and
// message sink set by the host, the catalogue statements of its fields' searches, and
// modal display of dialogs through a presenter.
#include "platform/controls/control.h"
#include "platform/controls/event.h"
#include "platform/controls/observers.h"
#include "platform/core/error.h"

#include <QHash>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

namespace qmx44 {
class MessageSink;
namespace db {
class Conexion;
}
} // namespace qmx44

namespace qmx44::controls {

class Form;

// Runs a modal dialog until it hides itself. The GUI opens a window and waits; the
// headless runner drives the dialog's controls from its script. Set by the host.
class ModalPresenter {
public:
    virtual ~ModalPresenter() = default;
    virtual void runModal(Form &dialog) = 0;
};

class Form : public EventOwner {
public:
    explicit Form(const QString &name);
    ~Form() override;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    const QString &name() const { return m_name; }
    // A whole number unique to this form for the life of the process (the owner window
    // of its messages).
    qint64 handle() const { return m_handle; }
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption)
    {
        if (caption == m_caption)
            return;
        m_caption = caption;
        m_observers.notify({Aspect::Caption});
    }
    // The view channel of the form itself: Focus (which control has it), Caption,
    // Geometry (client size), Shown (shown or hidden). Each control has its own.
    Observers &observers() const { return m_observers; }

    // ---- controls ------------------------------------------------------------
    // Creates a control owned by the form. Throws RuntimeError when the name is taken.
    // New controls come last in the tab order (tabIndex = number of controls so far).
    template <class T, class... More>
    T &add(const QString &name, More &&...more)
    {
        auto owned = std::make_unique<T>(*this, name, std::forward<More>(more)...);
        T &ref = *owned;
        adopt(std::move(owned));
        return ref;
    }
    // Null when there is no such control.
    Control *find(const QString &name) const;
    // The named control of type T; throws RuntimeError when missing or of another type.
    template <class T>
    T &get(const QString &name) const
    {
        Control *c = find(name);
        auto *t = dynamic_cast<T *>(c);
        if (!t)
            throw RuntimeError(c ? QStringLiteral("El control %1 no es del tipo esperado").arg(name)
                                 : QStringLiteral("No existe el control %1").arg(name));
        return *t;
    }
    // All controls in creation order.
    const std::vector<std::unique_ptr<Control>> &controls() const { return m_controls; }

    // ---- focus -----------------------------------------------------------------
    Control *focused() const { return m_focus; }
    // Moves the focus (Control::setFocus calls this). False when `c` cannot take it.
    bool focusControl(Control *c);
    void clearFocus();
    // What one Tab keystroke does: the next control in tab order (wrapping around) that
    // has a tab stop and can take the focus (enabled, visible, not inside a disabled
    // frame; locked fields count). True when the focus moved.
    bool focusNext();
    bool focusPrevious();
    // The whole Tab keystroke: the focused control may consume it (the grid moves to its
    // next cell); otherwise focusNext()/focusPrevious().
    bool sendTab(bool backwards = false);
    // The controls that Tab visits, in order (for views and tests).
    std::vector<Control *> tabOrder() const;
    // What Alt+`letter` does: the focus goes to the buddy of the label with that mnemonic
    // that can take it; with several, to the one after the focused buddy, round again.
    // False when no such label's buddy can take the focus.
    bool focusByMnemonic(QChar letter);

    // ---- keyboard (the GUI and the runner drive the form through these) ----------
    // One keystroke: Alt+letter may move the focus to a label's buddy (focusByMnemonic),
    // and goes no further when it does; otherwise key down and the typed character (if
    // `ch` is not null) go to the focused control; then the key release goes to the form's KeyUp preview, and the
    // key is not seen further if the preview zeroes it.
    void keyStroke(int keyCode, int shift = 0, char16_t ch = 0);
    // Types each character of `text` as a keystroke into the focused control.
    void typeText(const QString &text);
    // Key release only (what a window gets for a key whose down went elsewhere). When the
    // preview switches a tab control's page (a page shortcut) and leaves the focus where
    // it was, the tab control takes the focus, as a click on its tab gives it.
    void keyRelease(int keyCode, int shift = 0);

    // ---- form events ---------------------------------------------------------------
    Event<> Load;              // load(): first thing when the form is created
    Event<> Activate;          // activate(): every time the form becomes active
    Event<int &, int &> KeyUp; // key-release preview: key code, shift (may zero the key)
    Event<> Resize;            // setClientSize() with a changed size
    Event<> Unload;            // unload()

    // Raises Load without the boundary: a failing load reaches the caller (the host
    // decides; the component's entry returns no form).
    void load();
    void activate();
    void unload();

    // Inner (client) size in twips; raises Resize when it changes.
    float clientWidth() const { return m_clientWidth; }
    float clientHeight() const { return m_clientHeight; }
    void setClientSize(double width, double height);

    // ---- visibility and modal display -------------------------------------------------
    bool isVisible() const { return m_visible; }
    // Shows the form modelessly, makes it the desktop's active form and raises Activate.
    void show();
    // Hides the form (a modal dialog hiding itself ends its modal display).
    void hide();
    // Shows `dialog` modally, owned by this form: it becomes the desktop's active form,
    // inherits connection, sink, presenter and module when it has none, and the presenter runs
    // it until it hides. Without a presenter this returns at once (after showing and
    // hiding). Returns when the dialog is hidden. An edit open in this form ends first.
    void showModal(Form &dialog);
    Form *owner() const { return m_owner; }
    bool isModal() const { return m_modal; }
    // Ends an edit left open in the focused control (a grid cell being typed: its event
    // 50), as the user leaving it would: showModal does it, and so does the message service,
    // before a modal window takes the user's input.
    void endOpenEdit();

    // ---- host wiring -----------------------------------------------------------
    db::Conexion *connection() const { return m_connection; }
    void setConnection(db::Conexion *c) { m_connection = c; }
    MessageSink *messageSink() const { return m_sink; }
    void setMessageSink(MessageSink *sink) { m_sink = sink; }
    ModalPresenter *presenter() const { return m_presenter; }
    void setPresenter(ModalPresenter *p) { m_presenter = p; }
    // The module tag of the failures this form reports (set by the screen that builds it).
    QString module() const { return m_module; }
    void setModule(const QString &module) { m_module = module; }

    // ---- catalogue searches --------------------------------------------------------
    // The statements behind the text fields' catalogue search (TextField::search), which
    // whoever builds the form registers: catalogue `id` (an `idconsulta`, compared
    // ignoring case and surrounding blanks) -> a statement giving CLAVE and DESCRIPCION.
    // Registering an id again replaces its statement.
    void registerCatalogue(const QString &id, const QString &statement);
    // The statement of catalogue `id`; empty when none was registered.
    QString catalogue(const QString &id) const;

    // EventOwner: failures are shown through the message sink with style 16, the handler
    // name as title, this form's handle as owner, its module and an empty identifier.
    // Without a sink they go to the Qt warning log.
    // Form handlers are named "Form_<event>()", whatever the form is called.
    QString eventOwnerName() const override { return QStringLiteral("Form"); }
    void reportFailure(const QString &title, const QString &description) const override;
    // Counts the running handlers of the form and of its controls.
    void handlerStarted() const override { ++m_handlersRunning; }
    void handlerReturned() const override;

    // ---- running handlers ----------------------------------------------------------------
    // Whether a handler of the form or of one of its controls is running.
    bool handlerRunning() const { return m_handlersRunning > 0; }
    // Runs `then` at once when no handler is running, else as soon as the last running one
    // returns (what may free the form waits for it). A later call replaces a waiting one.
    void whenNoHandlerRuns(std::function<void()> then);

    // Used by Control when its tab index changes or it is destroyed.
    void tabOrderChanged() { m_tabOrderDirty = true; }

private:
    void adopt(std::unique_ptr<Control> control);
    bool stepFocus(bool backwards);

    QString m_name;
    QString m_caption;
    qint64 m_handle;
    std::vector<std::unique_ptr<Control>> m_controls;
    QHash<QString, Control *> m_byName; // key: lower-case name
    Control *m_focus = nullptr;
    mutable std::vector<Control *> m_tabCache;
    mutable bool m_tabOrderDirty = true;
    float m_clientWidth = 0, m_clientHeight = 0;
    bool m_visible = false;
    bool m_modal = false;
    Form *m_owner = nullptr;
    mutable int m_handlersRunning = 0;
    mutable std::function<void()> m_whenNoHandlerRuns;
    db::Conexion *m_connection = nullptr;
    MessageSink *m_sink = nullptr;
    ModalPresenter *m_presenter = nullptr;
    QString m_module;
    QHash<QString, QString> m_catalogues; // key: upper-case id
    mutable Observers m_observers;
};

} // namespace qmx44::controls

#pragma once
// The base of every control model: name, owning form, enabled/visible state, tab order,
// the containing frame, and the position and size in twips stored as single precision.
#include "platform/controls/event.h"
#include "platform/controls/observers.h"

#include <QString>
#include <QVariant>

namespace qmx44::controls {

class Form;

enum class ControlKind {
    TextField,
    DateField,
    Grid,
    Toolbar,
    TabControl,
    Button,
    OptionButton,
    Frame,
    Label,
    TitleBar,
    Shape,
    ColorScheme
};

class Control : public EventOwner {
public:
    Control(Form &form, const QString &name, ControlKind kind);
    ~Control() override;
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    const QString &name() const { return m_name; }
    ControlKind kind() const { return m_kind; }
    Form &form() const { return m_form; }

    // enabled / visible. A disabled control takes no focus and no input; so does every
    // control inside a disabled container (frame).
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    bool visible() const { return m_visible; }
    void setVisible(bool on);

    // The frame (or other control) this one sits in; null = directly on the form.
    Control *container() const { return m_container; }
    void setContainer(Control *container);
    // True when this control and every container up the chain are enabled and visible.
    bool effectivelyEnabled() const;

    // Tab order: ascending tabIndex, ties by creation order. tabStop false = skipped by
    // Tab but still focusable by code or click.
    int tabIndex() const { return m_tabIndex; }
    void setTabIndex(int index);
    bool tabStop() const { return m_tabStop; }
    void setTabStop(bool on) { m_tabStop = on; }

    // Whether this kind of control ever takes the keyboard focus (labels, frames and
    // shapes do not).
    virtual bool focusable() const { return false; }
    // Focusable kind, effectively enabled and on a form.
    bool canFocus() const;
    // Takes the focus. Returns false and changes nothing when the control cannot take it
    // (disabled, in a disabled frame, or a kind without focus); this is not an error.
    bool setFocus();
    bool hasFocus() const;

    // Position and size in twips. Stored as float; a setter refuses (returns false and
    // keeps the old value) a value that is not finite or not representable as float, and
    // a negative width or height.
    float left() const { return m_left; }
    float top() const { return m_top; }
    float width() const { return m_width; }
    float height() const { return m_height; }
    bool setLeft(double v);
    bool setTop(double v);
    bool setWidth(double v);
    bool setHeight(double v);

    // What the control holds or does, in the clerk's words (setting "hint"): views show it
    // as the tool tip and tell it to assistive technology.
    const QString &hint() const { return m_hint; }

    // Design-time settings by their stored names ("left", "maxlength", "mayusculas", ...).
    // Returns false for a name this control does not know. Base names: left, top, width,
    // height, enabled, visible, tabindex, tabstop, hint.
    virtual bool applySetting(const QString &name, const QVariant &value);

    // Keyboard input while this control has the focus (routed by Form::keyStroke).
    // keyDown gets virtual-key codes; keyPress the character typed (0 = none). Both may
    // zero the code to swallow the key.
    virtual void keyDown(int &keyCode, int &shift) {}
    virtual void keyPress(int &charCode) {}
    // A Tab sent to the form while this control has the focus: a control that moves
    // inside itself (the grid's cells) returns true; false lets the form move the focus.
    virtual bool handleTab(bool backwards) { return false; }

    // Focus notifications from the form.
    virtual void focusIn() {}
    virtual void focusOut() {}

    // The view channel: what about this control changed, for any number of views.
    Observers &observers() const { return m_observers; }
    // Tells the observers; models call it from their setters, the form for focus.
    void notify(Aspect aspect, int row = -1, int column = -1) const { m_observers.notify({aspect, row, column}); }

    // EventOwner
    QString eventOwnerName() const override { return m_name; }
    void reportFailure(const QString &title, const QString &description) const override;
    void handlerStarted() const override;
    void handlerReturned() const override;

protected:
    // A control may refuse to be enabled/disabled differently; called after the change.
    virtual void enabledChanged() {}

private:
    static bool storeFloat(float &slot, double v, bool nonNegative);
    bool storeGeometry(float &slot, double v, bool nonNegative);
    // Tells this control and every control inside it (a frame's content) that `aspect`
    // changed: a container's state is part of theirs.
    void notifyWithContent(Aspect aspect) const;

    Form &m_form;
    QString m_name;
    QString m_hint;
    ControlKind m_kind;
    Control *m_container = nullptr;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_tabStop = true;
    int m_tabIndex = 0;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    mutable Observers m_observers;
};

} // namespace qmx44::controls

#pragma once
// Command buttons and option buttons (one selected per container).
#include "platform/controls/control.h"
#include "platform/controls/event.h"

namespace qmx44::controls {

class Button : public Control {
public:
    Button(Form &form, const QString &name);

    Event<> Click; // 9

    QString caption() const { return m_caption; }
    void setCaption(const QString &c)
    {
        m_caption = c;
        notify(Aspect::Caption);
    }
    // The user pressed it: raises Click when the button is effectively enabled.
    bool click();

    bool focusable() const override { return true; }
    // Space and Enter press a focused button.
    void keyDown(int &keyCode, int &shift) override;
    bool applySetting(const QString &name, const QVariant &value) override;

private:
    QString m_caption;
};

class OptionButton : public Control {
public:
    OptionButton(Form &form, const QString &name);

    Event<int &, int &> KeyDown; // 5: key pressed (key code, shift)
    Event<> Click;               // selected by the user

    QString caption() const { return m_caption; }
    void setCaption(const QString &c)
    {
        m_caption = c;
        notify(Aspect::Caption);
    }
    bool selected() const { return m_selected; }
    // Selecting one clears the other option buttons of the same container.
    void setSelected(bool on);
    // The user clicked it: selects it and raises Click. False when disabled.
    bool click();

    bool focusable() const override { return true; }
    void keyDown(int &keyCode, int &shift) override;
    // "caption", "value" (selected), plus base settings.
    bool applySetting(const QString &name, const QVariant &value) override;

private:
    QString m_caption;
    bool m_selected = false;
};

} // namespace qmx44::controls

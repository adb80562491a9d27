#pragma once
// Controls without input: frames (containers whose disabled state blocks the focus of
// what they hold), labels, shapes, the title bar and the colour scheme.
#include "platform/controls/control.h"

#include <QStringList>
#include <QVariantHash>

namespace qmx44::controls {

class Frame : public Control {
public:
    Frame(Form &form, const QString &name);
    QString caption() const { return m_caption; }
    void setCaption(const QString &c)
    {
        m_caption = c;
        notify(Aspect::Caption);
    }
    bool applySetting(const QString &name, const QVariant &value) override;

private:
    QString m_caption;
};

class Label : public Control {
public:
    Label(Form &form, const QString &name);
    QString caption() const { return m_caption; }
    void setCaption(const QString &c)
    {
        m_caption = c;
        notify(Aspect::Caption);
    }
    QString idetiqueta() const { return m_labelId; }
    void setIdetiqueta(const QString &id) { m_labelId = id; }
    // The control this label names (its buddy): Alt with the label's mnemonic letter
    // gives it the focus (Form::keyStroke). Null when there is none on the form.
    Control *buddy() const;
    // The mnemonic letter, upper case ('\0' for none); views underline it in the caption.
    QChar mnemonic() const { return m_mnemonic; }
    // The caption drawn against the label's right edge (figures in a column).
    bool rightAligned() const { return m_rightAligned; }
    // "caption", "idetiqueta", "buddy" (a control's name), "mnemonic" (one letter of the
    // caption), "alignment" ("right"; anything else: left), plus base settings.
    bool applySetting(const QString &name, const QVariant &value) override;

private:
    QString m_caption, m_labelId, m_buddy;
    QChar m_mnemonic;
    bool m_rightAligned = false;
};

class Shape : public Control {
public:
    Shape(Form &form, const QString &name);
};

// The form's title bar: caption and its button settings ("SI"/"NO" texts).
class TitleBar : public Control {
public:
    TitleBar(Form &form, const QString &name);
    QString caption() const { return m_caption; }
    void setCaption(const QString &c)
    {
        m_caption = c;
        notify(Aspect::Caption);
    }
    // caption, showminbutton, showmaxbutton, showexitbutton, adjusticon.
    bool applySetting(const QString &name, const QVariant &value) override;
    QString setting(const QString &name) const { return m_settings.value(name.toLower()).toString(); }

private:
    QString m_caption;
    QVariantHash m_settings;
};

// The colour-scheme component: one operation that applies the scheme's colours to its
// form. The view reads the colours; the model records that they were applied.
class ColorScheme : public Control {
public:
    ColorScheme(Form &form, const QString &name);
    void apply();
    int timesApplied() const { return m_applied; }
    // Colour by role ("back", "fore", "enabled", "focus"): "#rrggbb".
    QString color(const QString &role) const { return m_colors.value(role.toLower()).toString(); }
    // Any setting is a colour role.
    bool applySetting(const QString &name, const QVariant &value) override;

private:
    int m_applied = 0;
    QVariantHash m_colors;
};

} // namespace qmx44::controls

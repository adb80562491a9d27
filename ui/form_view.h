#pragma once
// A form's window content: one widget per control model, placed from the design (twips
// to pixels at the screen's resolution), kept in step through the models' view channel,
// with every key routed into the form's keyboard path (Form::keyStroke), so that focus,
// Enter-as-Tab and the key preview behave exactly as in the scenario runner.
#include <QSize>
#include <QWidget>

namespace qmx44::controls {
class Control;
class Form;
} // namespace qmx44::controls

namespace qmx44::ui {

// Twips (1/1440 inch) to pixels of `widget`'s screen, and back.
int toPixels(double twips, const QWidget *widget);
double toTwips(int pixels, const QWidget *widget);

class FormView : public QWidget {
    Q_OBJECT
public:
    explicit FormView(controls::Form &form, QWidget *parent = nullptr);
    ~FormView() override;

    // The form shown; invalid once formGone() was emitted.
    controls::Form &form() const { return *m_form; }
    bool hasForm() const { return m_form != nullptr; }
    // The widget showing `control` (by model or by name), or null.
    QWidget *widgetFor(const controls::Control &control) const;
    QWidget *widgetFor(const QString &controlName) const;
    // The view showing the form whose window handle is `handle` (a message's owner).
    static FormView *forHandle(qint64 handle);

    // The design's client size.
    QSize sizeHint() const override;

signals:
    // The model hid the form (a dialog closed itself, the main form unloaded).
    void formHidden();
    // The model is being destroyed; the view shows nothing from now on.
    void formGone();

protected:
    // Tells the model its client size in twips (the screen lays itself out on Resize).
    void resizeEvent(QResizeEvent *event) override;

private:
    controls::Form *m_form = nullptr;
};

} // namespace qmx44::ui

#pragma once
// A form's window content: one widget per control model, placed from the design (twips
// to pixels at the screen's resolution), kept in step through the models' view channel,
// with every key routed into the form's keyboard path (Form::keyStroke), so that focus,
// Enter-as-Tab and the key preview behave exactly as in the scenario runner.
#include <QSize>
#include <QWidget>

class QInputMethodEvent;
class QMouseEvent;
#include <memory>

namespace qmx44::controls {
class Control;
class Form;
class TextField;
struct ModelChange;
} // namespace qmx44::controls

namespace qmx44::ui {

// Twips (1/1440 inch) to pixels of `widget`'s screen, at the scale of the form view that
// holds it, and back (in whole points, 20 twips, while a pixel is no larger than one).
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
    // How much larger than the design (at the screen's resolution) the form is drawn, so
    // that the font fits: every label shows its caption, every key field its longest key,
    // the date field its date. One scale for every control keeps the design's
    // proportions; 1 when the design's room is enough.
    double scale() const;

signals:
    // The model hid the form (a dialog closed itself, the main form unloaded).
    void formHidden();
    // The model is being destroyed; the view shows nothing from now on.
    void formGone();

protected:
    // Tells the model its client size in twips (the screen lays itself out on Resize).
    void resizeEvent(QResizeEvent *event) override;
    // Keys and focus of the controls' widgets go to the model.
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Qt's own Tab handling never moves the focus: the form's tab order does.
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Private;
    void build();
    void watch(controls::Control &control, QWidget *widget);
    void changed(controls::Control &control, const controls::ModelChange &change);
    void formChanged(const controls::ModelChange &change);
    void place(controls::Control &control, QWidget *widget);
    // The scale that lets every label, date and key field of the form show its content.
    double fitScale() const;
    // Pixels the toolbar needs beyond its strip in the design (0 without a toolbar).
    int toolbarExtra() const;
    void showShown(controls::Control &control, QWidget *widget);
    void showTitle();
    void showColors();
    // Gives the keyboard focus to the widget of the model's focused control.
    void showFocus();
    void forget();
    bool routeKey(controls::Control &control, QWidget *widget, QKeyEvent *event);
    void openSearch(controls::TextField &field, QWidget *widget);
    // A click, drag or double click on a text field: the model places the caret.
    void pointAt(controls::TextField &field, QWidget *widget, QMouseEvent *event);
    // An input method's commit string typed into the field; false when it has none.
    bool typeComposed(controls::TextField &field, QWidget *widget, QInputMethodEvent *event);

    controls::Form *m_form = nullptr;
    std::unique_ptr<Private> d;
};

} // namespace qmx44::ui

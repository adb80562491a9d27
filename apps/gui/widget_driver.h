#pragma once
// The scenario's user steps through the desktop application's real windows: the main
// window opens the screen from its menu, fields and cells are clicked and typed into key
// by key, toolbar buttons are clicked, tabs are clicked, and message boxes and dialogs
// are answered through their windows (confirmations and proration answers as the script
// queued them, anything else with its default button, or Escape). The host records the
// same messages, prints and queries as under the model driver, so both runs' dumps can be
// compared. `shot NAME` saves a picture of the window in front.
#include "apps/script/driver.h"
#include "apps/script/script_host.h"

#include <QPoint>
#include <QSizeF>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>

class QWidget;

namespace qmx44::controls {
class TextField;
}

namespace qmx44::ui {
class FormView;
}

namespace qmx44::apps::gui {

class MainWindow;

class WidgetDriver : public script::Driver {
public:
    // Pictures go to `shotFolder` (none taken when it is empty). With `ownSettings` the
    // window's remembered geometry and column widths are the run's alone; else the
    // user's, as the desktop application keeps them.
    WidgetDriver(script::ScriptHost &host, QString shotFolder, bool ownSettings = true);
    ~WidgetDriver() override;
    WidgetDriver(const WidgetDriver &) = delete;
    WidgetDriver &operator=(const WidgetDriver &) = delete;

    void settle() override;

    // The pictures written so far.
    const QStringList &shots() const { return m_shots; }

protected:
    void open() override;
    void activate() override;
    void confirm(bool yes) override;
    void prorate(const script::ProrateStep &step) override;
    void type(const script::steps::Type &s) override;
    void enter(const script::steps::Enter &s) override;
    void click(const script::steps::Click &s) override;
    void cell(const script::steps::Cell &s) override;
    void key(const script::steps::Key &s) override;
    void page(const script::steps::Page &s) override;
    void resize(const script::steps::Resize &s) override;
    void additional(const script::steps::Additional &s) override;
    void shot(const QString &name) override;
    script::SearchShown search(const script::steps::Search &s) override;

private:
    // A picture of `window` into the shot folder (none without one).
    void picture(QWidget &window, const QString &name);

    ui::FormView &screenView();
    // Clicks the input of field `name` so that it takes the focus; false (with the same
    // warning as the model driver's) when the focus went elsewhere.
    bool focusField(controls::Control &field, const QString &verb);

    // Input, as the clerk gives it: to the focused widget, else the window in front.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString(),
               QWidget *to = nullptr);
    void typeKeys(const QString &text, QWidget *to = nullptr);
    // Replaces the whole content of `field`, which has the focus, by `text`.
    void replaceText(const controls::TextField &field, const QString &text);
    // The main window made the active one, as a window manager would.
    void toFront();
    void mouseClick(QWidget &widget, QPoint at = QPoint(-1, -1));

    // Modal windows: looked at from a timer that runs inside their event loops.
    void pollModals();
    void answer(QWidget &modal);
    void answerDialog(QWidget &window, ui::FormView &view);
    void playProrate(ui::FormView &view, const script::ProrateStep &step);
    // The catalogue search window: the filter typed, its rows read once the typing
    // paused, then the row picked or the window left.
    void answerSearch(QWidget &dialog);
    // Closes the print previews and record windows a step opened.
    void closeWindows();

    script::ScriptHost &m_host;
    QString m_shotFolder;
    QTemporaryDir m_settings;
    std::unique_ptr<MainWindow> m_window;
    std::deque<bool> m_confirmations;
    std::deque<script::ProrateStep> m_prorates;
    std::optional<script::steps::Additional> m_additional; // for the dialog about to open
    struct PendingSearch {
        script::steps::Search step;
        script::SearchShown shown;
        bool served = false;
    };
    std::optional<PendingSearch> m_search; // for the search window about to open
    std::vector<const QObject *> m_answered;
    QStringList m_shots;
    QSizeF m_designSize;
    std::unique_ptr<QObject> m_poll = std::make_unique<QObject>(); // owns the looks at the windows
    int m_shot = 0;
};

} // namespace qmx44::apps::gui

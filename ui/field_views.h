#pragma once
// The widget of each kind of control model, for FormView: made under its container's
// widget, and redrawn from the model's state. Input and focus are FormView's: it watches
// these widgets and turns what the clerk does into model calls.
#include "platform/controls/observers.h"

#include <QLineEdit>
#include <QWidget>

class QTabBar;
class QFrame;

namespace qmx44::controls {
class Control;
class TextField;
class TabControl;
} // namespace qmx44::controls

namespace qmx44::ui::detail {

// A text field's widget: shows the model's text, caret and selection; the clerk's keys,
// clicks and input-method text reach the model, never the widget's own editing. Its
// context menu offers the model's editing commands; its trailing action opens the
// catalogue search.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    FieldEdit(controls::TextField &field, QWidget *parent);
    controls::TextField &field() const { return m_field; }
    // The catalogue search's button (null when the field has no catalogue).
    QAction *searchAction() const { return m_search; }
    // Text, selection, alignment, locked and colours from the model.
    void showModel();

signals:
    void searchRequested();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    controls::TextField &m_field;
    QAction *m_search = nullptr;
};

// A tab control's widget: the tab strip over the page area, where the pages' controls go.
class TabView : public QWidget {
    Q_OBJECT
public:
    TabView(controls::TabControl &tabs, QWidget *parent);
    QTabBar *bar() const { return m_bar; }
    QWidget *pageArea() const;
    // The page `control` (a control inside the tab control) belongs to; -1 for every page.
    int pageOf(const controls::Control &control) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    controls::TabControl &m_tabs;
    QTabBar *m_bar;
    QFrame *m_pages;
};

// Creates the widget of `control` under `parent` (null for the controls that have none:
// the title bar and the colour scheme).
QWidget *createWidget(controls::Control &control, QWidget *parent);
// The widget that holds the widgets of the controls inside `control`.
QWidget *contentOf(QWidget *widget);
// Shows what `aspect` of `control` is now (text, caption, locked, page) in `widget`.
void showAspect(controls::Control &control, QWidget *widget, controls::Aspect aspect);

} // namespace qmx44::ui::detail

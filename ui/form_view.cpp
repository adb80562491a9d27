// A form's widgets: one per control, placed from the model and kept in step through the
// view channel; the clerk's keys, clicks and focus go to the models.
#include "ui/form_view.h"

#include "platform/controls/controls.h"
#include "ui/accessibility.h"
#include "ui/catalogue_search.h"
#include "ui/field_views.h"
#include "ui/grid_view.h"
#include "ui/key_map.h"
#include "ui/toolbar_view.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <algorithm>
#include <cmath>

namespace qmx44::ui {

namespace {

using namespace controls;
using detail::FieldEdit;
using detail::TabView;

constexpr double TwipsPerInch = 1440;
constexpr double TwipsPerPoint = 20;
// However large the font, the form stays within twice its designed size.
constexpr double MaxScale = 2;
// Fields this long or longer are texts the clerk reads by scrolling, not keys.
constexpr int MeasuredLength = 20;

int dpiOf(const QWidget *widget)
{
    return widget ? widget->logicalDpiX() : 96;
}

// Pixels of `widget`'s screen per twip, at the scale of the form view holding it.
double pixelsPerTwip(const QWidget *widget)
{
    double scale = 1;
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (auto *view = qobject_cast<const FormView *>(w)) {
            scale = view->scale();
            break;
        }
    return dpiOf(widget) * scale / TwipsPerInch;
}

QHash<qint64, FormView *> &viewsByHandle()
{
    static QHash<qint64, FormView *> views;
    return views;
}

// The widget that takes the keyboard focus for a control's widget.
QWidget *focusTarget(QWidget *widget)
{
    if (auto *tabs = qobject_cast<TabView *>(widget))
        return tabs->bar();
    return widget;
}

// Keys that a date edit leaves to the form: moving on, the dialogs' keys and the chords.
bool formKey(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    return (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier))
        || (event.key() >= Qt::Key_F1 && event.key() <= Qt::Key_F12);
}

} // namespace

int toPixels(double twips, const QWidget *widget)
{
    return int(std::lround(twips * pixelsPerTwip(widget)));
}

double toTwips(int pixels, const QWidget *widget)
{
    // In whole points: while a pixel is at most a point, a size in points shown in
    // pixels reads back as the same size.
    const double twips = pixels / pixelsPerTwip(widget);
    const double pixelTwips = 1 / pixelsPerTwip(widget);
    return pixelTwips > TwipsPerPoint ? twips : std::round(twips / TwipsPerPoint) * TwipsPerPoint;
}

struct FormView::Private {
    QHash<const Control *, QWidget *> widgets;
    QHash<const QObject *, Control *> controlOf; // a watched widget's control
    std::vector<std::pair<Control *, int>> tickets;
    int formTicket = 0;
    QWidget *toolbar = nullptr;
    double scale = 1;
};

FormView::FormView(controls::Form &form, QWidget *parent) : QWidget(parent), m_form(&form), d(new Private)
{
    setObjectName(form.name());
    // Holds the keyboard while no control has the focus, so the form still gets the keys.
    setFocusPolicy(Qt::ClickFocus);
    viewsByHandle().insert(form.handle(), this);
    d->formTicket = form.observers().add([this](const ModelChange &change) { formChanged(change); });
    build();
}

FormView::~FormView()
{
    if (m_form) {
        for (const auto &[control, ticket] : d->tickets)
            control->observers().remove(ticket);
        m_form->observers().remove(d->formTicket);
        viewsByHandle().remove(m_form->handle());
    }
}

void FormView::build()
{
    d->scale = fitScale();
    for (const auto &owned : m_form->controls()) {
        Control &control = *owned;
        QWidget *parent = this;
        if (QWidget *container = control.container() ? d->widgets.value(control.container()) : nullptr)
            parent = detail::contentOf(container);
        QWidget *widget = nullptr;
        if (control.kind() == ControlKind::Grid)
            widget = new GridView(static_cast<Grid &>(control), parent);
        else if (control.kind() == ControlKind::Toolbar)
            widget = d->toolbar = new ToolbarView(static_cast<Toolbar &>(control), parent);
        else
            widget = detail::createWidget(control, parent);
        d->tickets.emplace_back(&control, control.observers().add([this, &control](const ModelChange &change) {
            changed(control, change);
        }));
        if (!widget)
            continue;
        if (widget->objectName().isEmpty())
            widget->setObjectName(control.name());
        d->widgets.insert(&control, widget);
        watch(control, widget);
        place(control, widget);
        widget->setEnabled(control.effectivelyEnabled());
        showShown(control, widget);
    }
    if (d->toolbar)
        d->toolbar->raise();
    describeControls(*m_form, [this](const Control &control) {
        QWidget *widget = d->widgets.value(&control);
        return widget ? focusTarget(widget) : nullptr;
    });
    showTitle();
    showColors();
    showFocus();
}

void FormView::watch(controls::Control &control, QWidget *widget)
{
    QWidget *target = focusTarget(widget);
    d->controlOf.insert(target, &control);
    target->installEventFilter(this);
    switch (control.kind()) {
    case ControlKind::TextField: {
        auto *edit = static_cast<FieldEdit *>(widget);
        auto &field = static_cast<TextField &>(control);
        connect(edit, &FieldEdit::searchRequested, this, [this, &field, edit] { openSearch(field, edit); });
        break;
    }
    case ControlKind::DateField: {
        auto *edit = static_cast<QDateEdit *>(widget);
        auto &field = static_cast<DateField &>(control);
        connect(edit, &QDateEdit::dateChanged, this, [&field, edit](QDate date) {
            if (date != edit->minimumDate())
                field.typeDate(date.toString(Qt::ISODate));
            detail::showAspect(field, edit, Aspect::Text); // what the model kept
        });
        break;
    }
    case ControlKind::TabControl: {
        auto *tabs = static_cast<TabView *>(widget);
        auto &model = static_cast<TabControl &>(control);
        connect(tabs->bar(), &QTabBar::currentChanged, this, [&model, tabs](int page) {
            if (page >= 0)
                model.setActivePage(page);
            detail::showAspect(model, tabs, Aspect::Page);
        });
        break;
    }
    case ControlKind::Button:
        connect(static_cast<QAbstractButton *>(widget), &QAbstractButton::clicked, this,
                [&control] { static_cast<Button &>(control).click(); });
        break;
    case ControlKind::OptionButton:
        connect(static_cast<QAbstractButton *>(widget), &QAbstractButton::clicked, this, [&control, widget] {
            static_cast<OptionButton &>(control).click();
            detail::showAspect(control, widget, Aspect::Text);
        });
        break;
    default:
        break;
    }
}

void FormView::changed(controls::Control &control, const controls::ModelChange &change)
{
    if (control.kind() == ControlKind::TitleBar && change.aspect == Aspect::Caption)
        showTitle();
    if (control.kind() == ControlKind::ColorScheme)
        showColors();
    QWidget *widget = d->widgets.value(&control);
    if (!widget)
        return;
    switch (change.aspect) {
    case Aspect::Geometry:
        place(control, widget);
        break;
    case Aspect::Enabled:
        widget->setEnabled(control.effectivelyEnabled());
        break;
    case Aspect::Visible:
        showShown(control, widget);
        break;
    case Aspect::Page:
        detail::showAspect(control, widget, change.aspect);
        for (auto it = d->widgets.cbegin(); it != d->widgets.cend(); ++it)
            if (it.key()->container() == &control)
                showShown(*const_cast<Control *>(it.key()), it.value());
        break;
    default:
        detail::showAspect(control, widget, change.aspect);
        break;
    }
}

void FormView::formChanged(const controls::ModelChange &change)
{
    switch (change.aspect) {
    case Aspect::Focus:
        showFocus();
        break;
    case Aspect::Caption:
        showTitle();
        break;
    case Aspect::Shown:
        if (!m_form->isVisible())
            emit formHidden();
        break;
    case Aspect::Gone:
        forget();
        emit formGone();
        break;
    default:
        break;
    }
}

double FormView::scale() const
{
    return d->scale;
}

double FormView::fitScale() const
{
    // Each label, date and key field is measured in a widget of its own kind made for the
    // purpose and never shown.
    QWidget probe;
    probe.setFont(font());
    double scale = 1;
    const double pixelsPerDesignTwip = dpiOf(this) / TwipsPerInch;
    const auto need = [&](double pixels, float twips) {
        if (twips > 0)
            scale = std::max(scale, pixels / (twips * pixelsPerDesignTwip));
    };
    for (const auto &owned : m_form->controls()) {
        const Control &control = *owned;
        const ControlKind kind = control.kind();
        if (kind != ControlKind::Label && kind != ControlKind::DateField && kind != ControlKind::TextField)
            continue;
        QWidget *widget = detail::createWidget(*owned, &probe);
        need(widget->minimumSizeHint().height(), control.height());
        const int length = kind == ControlKind::TextField ? static_cast<const TextField &>(control).maxlength() : 0;
        if (kind != ControlKind::TextField) {
            need(widget->sizeHint().width(), control.width());
        } else if (length > 0 && length < MeasuredLength) {
            // A key field: its longest key in capitals of average width, beside its frame,
            // margins and search button.
            const QFontMetrics metrics = widget->fontMetrics();
            const QString capitals = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
            const double content = metrics.horizontalAdvance(capitals) * length / double(capitals.size());
            need(widget->minimumSizeHint().width() - metrics.maxWidth() + content, control.width());
        }
        delete widget;
    }
    return std::min(scale, MaxScale);
}

int FormView::toolbarExtra() const
{
    if (!d->toolbar || !m_form)
        return 0;
    const auto *bar = m_form->find(d->toolbar->objectName());
    const int designed = bar ? toPixels(bar->height(), this) : 0;
    return qMax(0, d->toolbar->sizeHint().height() - designed);
}

void FormView::place(controls::Control &control, QWidget *widget)
{
    // The toolbar takes the height its icons and captions need; whatever it needs beyond
    // the design's strip pushes the form's other controls down by as much, so that the
    // design's coordinates hold below it.
    const int extra = toolbarExtra();
    if (widget == d->toolbar) {
        widget->setGeometry(0, toPixels(control.top(), this), width(), toPixels(control.height(), this) + extra);
        return;
    }
    const int shift = control.container() ? 0 : extra;
    widget->setGeometry(toPixels(control.left(), this), toPixels(control.top(), this) + shift,
                        toPixels(control.width(), this), toPixels(control.height(), this));
}

void FormView::showShown(controls::Control &control, QWidget *widget)
{
    bool shown = control.visible();
    // A control on a page of a tab control shows while its page is the active one.
    if (auto *tabs = qobject_cast<TabView *>(d->widgets.value(control.container()))) {
        const int page = tabs->pageOf(control);
        if (page >= 0 && page != static_cast<TabControl *>(control.container())->activePage())
            shown = false;
    }
    widget->setVisible(shown);
}

void FormView::showTitle()
{
    QString title = m_form->caption();
    for (const auto &c : m_form->controls())
        if (c->kind() == ControlKind::TitleBar)
            title = static_cast<const TitleBar &>(*c).caption();
    setWindowTitle(title);
    setAccessibleName(title);
}

void FormView::showColors()
{
    for (const auto &c : m_form->controls()) {
        if (c->kind() != ControlKind::ColorScheme)
            continue;
        const auto &scheme = static_cast<const ColorScheme &>(*c);
        QPalette p = palette();
        if (const QColor back(scheme.color(QStringLiteral("back"))); back.isValid()) {
            p.setColor(QPalette::Window, back);
            p.setColor(QPalette::Button, back);
        }
        if (const QColor fore(scheme.color(QStringLiteral("fore"))); fore.isValid()) {
            p.setColor(QPalette::WindowText, fore);
            p.setColor(QPalette::Text, fore);
        }
        setPalette(p);
        setAutoFillBackground(true);
    }
}

void FormView::showFocus()
{
    if (!m_form)
        return;
    Control *focused = m_form->focused();
    QWidget *widget = focused ? d->widgets.value(focused) : nullptr;
    QWidget *target = widget ? focusTarget(widget) : this;
    if (!target->hasFocus())
        target->setFocus(Qt::OtherFocusReason);
}

void FormView::forget()
{
    // The controls are going with the form: their widgets stop talking to them.
    for (const auto &[control, ticket] : d->tickets)
        control->observers().remove(ticket);
    d->tickets.clear();
    for (QWidget *widget : std::as_const(d->widgets)) {
        widget->blockSignals(true);
        focusTarget(widget)->removeEventFilter(this);
        widget->hide();
        widget->deleteLater();
    }
    d->widgets.clear();
    d->controlOf.clear();
    d->toolbar = nullptr;
    viewsByHandle().remove(m_form->handle());
    m_form = nullptr;
}

QWidget *FormView::widgetFor(const controls::Control &control) const
{
    return d->widgets.value(&control);
}

QWidget *FormView::widgetFor(const QString &controlName) const
{
    Control *control = m_form ? m_form->find(controlName) : nullptr;
    return control ? d->widgets.value(control) : nullptr;
}

FormView *FormView::forHandle(qint64 handle)
{
    return viewsByHandle().value(handle);
}

QSize FormView::sizeHint() const
{
    if (!m_form)
        return QWidget::sizeHint();
    return {toPixels(m_form->clientWidth(), this), toPixels(m_form->clientHeight(), this) + toolbarExtra()};
}

void FormView::resizeEvent(QResizeEvent *)
{
    if (!m_form)
        return;
    if (d->toolbar)
        d->toolbar->resize(width(), d->toolbar->height());
    m_form->setClientSize(toTwips(width(), this), toTwips(height() - toolbarExtra(), this));
}

bool FormView::focusNextPrevChild(bool)
{
    return false;
}

void FormView::keyPressEvent(QKeyEvent *event)
{
    if (m_form && sendKey(*m_form, *event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool FormView::eventFilter(QObject *watched, QEvent *event)
{
    Control *control = d->controlOf.value(watched);
    if (!control || !m_form)
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    const bool ownKeys = control->kind() == ControlKind::Grid || control->kind() == ControlKind::Toolbar;
    switch (event->type()) {
    case QEvent::KeyPress:
        return !ownKeys && routeKey(*control, widget, static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        // The model had the release with the press.
        return !ownKeys && control->kind() != ControlKind::DateField;
    case QEvent::FocusIn: {
        // The clerk clicked it (or used its shortcut): the model decides whether it takes
        // the focus. Qt moving the focus by itself (a window activated) does not count.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (m_form->focused() == control)
            break;
        if (reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason)
            control->setFocus();
        if (m_form && m_form->focused() != control)
            QMetaObject::invokeMethod(this, &FormView::showFocus, Qt::QueuedConnection);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        // A text field's caret and selection are the model's: the widget only says where.
        if (control->kind() != ControlKind::TextField)
            break;
        pointAt(static_cast<TextField &>(*control), static_cast<FieldEdit *>(widget),
                static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::InputMethod:
        return control->kind() == ControlKind::TextField
            && typeComposed(static_cast<TextField &>(*control), widget, static_cast<QInputMethodEvent *>(event));
    default:
        break;
    }
    return false;
}

bool FormView::routeKey(controls::Control &control, QWidget *widget, QKeyEvent *event)
{
    if (control.kind() == ControlKind::TextField) {
        auto &field = static_cast<TextField &>(control);
        auto *edit = static_cast<FieldEdit *>(widget);
        sendKey(*m_form, *event); // editing keys and chords included: the model edits
        if (m_form && event->key() == Qt::Key_F2 && !field.catalogueStatement().isEmpty())
            openSearch(field, edit);
        if (m_form)
            edit->showModel(); // the caret moved with the key
        return true;
    }
    if (control.kind() == ControlKind::DateField && !formKey(*event)) {
        sendKey(*m_form, *event);
        return false; // the date edit edits its sections; the date goes to the model
    }
    sendKey(*m_form, *event);
    return true;
}

void FormView::pointAt(controls::TextField &field, QWidget *widget, QMouseEvent *event)
{
    // Placed after the click's focus: a field the model did not give the focus to takes
    // no caret. Shift+click and a drag extend the selection, a double click picks a word.
    if (event->button() != Qt::LeftButton && !(event->buttons() & Qt::LeftButton))
        return;
    if (!field.hasFocus())
        return;
    const int at = static_cast<FieldEdit *>(widget)->cursorPositionAt(event->position().toPoint());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        field.setCursorPosition(at, event->modifiers() & Qt::ShiftModifier);
        break;
    case QEvent::MouseMove:
        field.setCursorPosition(at, true);
        break;
    case QEvent::MouseButtonDblClick:
        field.selectWordAt(at);
        break;
    default:
        break;
    }
}

bool FormView::typeComposed(controls::TextField &field, QWidget *widget, QInputMethodEvent *event)
{
    // Text an input method composed (a dead key and its letter, compose sequences, an
    // input method's words) is typed through the model, as keys are; only the text still
    // being composed is left to the widget to show.
    if (event->commitString().isEmpty())
        return false;
    if (m_form->focused() == &field)
        field.typeText(event->commitString());
    // The widget's composition ends or goes on without the committed text.
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    QCoreApplication::sendEvent(widget, &composing);
    static_cast<FieldEdit *>(widget)->showModel();
    return true;
}

void FormView::openSearch(controls::TextField &field, QWidget *widget)
{
    if (field.locked() || !field.effectivelyEnabled())
        return;
    if (m_form && m_form->focused() != &field)
        field.setFocus();
    searchCatalogue(field, widget);
    showFocus();
}

} // namespace qmx44::ui

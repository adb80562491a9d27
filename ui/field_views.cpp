// The widgets of the control kinds and how each shows its model's state.
#include "ui/field_views.h"

#include "platform/controls/clipboard.h"
#include "platform/controls/controls.h"
#include "ui/accessibility.h"

#include <QContextMenuEvent>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>

namespace qmx44::ui::detail {

namespace {

using namespace controls;

// The date edit's value for "no date".
const QDate NoDate(1900, 1, 1);

const ColorScheme *schemeOf(const Form &form)
{
    for (const auto &c : form.controls())
        if (c->kind() == ControlKind::ColorScheme)
            return static_cast<const ColorScheme *>(c.get());
    return nullptr;
}

QColor schemeColor(const Form &form, const char *role, const QColor &fallback)
{
    const ColorScheme *scheme = schemeOf(form);
    const QColor color(scheme ? scheme->color(QLatin1String(role)) : QString());
    return color.isValid() ? color : fallback;
}

Qt::Alignment alignmentOf(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// A thin shape is a line; anything taller a box.
constexpr float LineShapeHeight = 60;

} // namespace

// ---- text field ------------------------------------------------------------------------------

FieldEdit::FieldEdit(TextField &field, QWidget *parent) : QLineEdit(parent), m_field(field)
{
    setObjectName(field.name());
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled); // dead keys, compose and input methods
    if (!field.catalogueStatement().isEmpty()) {
        const QIcon icon =
            QIcon::fromTheme(QStringLiteral("edit-find"), style()->standardIcon(QStyle::SP_FileDialogContentsView));
        m_search = addAction(icon, QLineEdit::TrailingPosition);
        m_search->setToolTip(tr("Buscar (F2)"));
        connect(m_search, &QAction::triggered, this, &FieldEdit::searchRequested);
    }
    showModel();
}

void FieldEdit::showModel()
{
    if (text() != m_field.text())
        setText(m_field.text());
    const int anchor = m_field.selectionAnchor(), caret = m_field.cursorPosition();
    if (!m_field.hasFocus())
        setCursorPosition(0); // not being typed in: no selection, the beginning of the text
    else if (m_field.selectionLength() > 0 && m_field.selectionLength() == text().size())
        setSelection(int(text().size()), -int(text().size())); // all of it: a long text shows its beginning
    else if (anchor != caret)
        setSelection(anchor, caret - anchor); // the caret at its end of the selection
    else
        setCursorPosition(caret);
    setAlignment(alignmentOf(m_field.alignment()));
    setReadOnly(m_field.locked()); // which also takes input methods away from a locked field
    if (m_search)
        m_search->setEnabled(!m_field.locked());
    QPalette p = palette();
    const Form &form = m_field.form();
    QColor base = schemeColor(form, "enabled", Qt::white);
    if (m_field.locked())
        base = schemeColor(form, "back", p.color(QPalette::Window));
    else if (m_field.hasFocus())
        base = schemeColor(form, "focus", base);
    p.setColor(QPalette::Active, QPalette::Base, base);
    p.setColor(QPalette::Inactive, QPalette::Base, base);
    setPalette(p);
}

void FieldEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // The usual editing commands, each done by the model under the field's own rules.
    TextField &field = m_field;
    const bool editable = field.editable();
    const bool selected = field.selectionLength() > 0;
    QMenu menu(this);
    const auto add = [&](const QString &text, bool enabled, auto command) {
        menu.addAction(text, this, [&field, command] { command(field); })->setEnabled(enabled);
    };
    add(tr("Deshacer\tCtrl+Z"), editable && field.canUndo(), [](TextField &f) { f.undo(); });
    menu.addSeparator();
    add(tr("Cortar\tCtrl+X"), editable && selected, [](TextField &f) { f.cut(); });
    add(tr("Copiar\tCtrl+C"), selected && field.effectivelyEnabled(), [](TextField &f) { f.copy(); });
    add(tr("Pegar\tCtrl+V"), editable && !Clipboard::text().isEmpty(), [](TextField &f) { f.paste(); });
    add(tr("Eliminar\tSupr"), editable && selected, [](TextField &f) { f.eraseSelection(); });
    menu.addSeparator();
    add(tr("Seleccionar todo\tCtrl+A"), !field.text().isEmpty(), [](TextField &f) { f.selectAll(); });
    if (m_search) {
        menu.addSeparator();
        menu.addAction(m_search);
    }
    menu.exec(event->globalPos());
}

// ---- tab control -------------------------------------------------------------------------------

TabView::TabView(TabControl &tabs, QWidget *parent)
    : QWidget(parent), m_tabs(tabs), m_bar(new QTabBar(this)), m_pages(new QFrame(this))
{
    setObjectName(tabs.name());
    m_bar->setObjectName(tabs.name() + QStringLiteral("_bar"));
    m_bar->setFocusPolicy(Qt::StrongFocus);
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_pages->setFrameShape(QFrame::StyledPanel);
    for (const QString &caption : tabs.pages())
        m_bar->addTab(caption);
    m_bar->setCurrentIndex(tabs.activePage());
}

QWidget *TabView::pageArea() const
{
    return m_pages;
}

int TabView::pageOf(const Control &control) const
{
    const QVariantList pages = m_tabs.extra(QStringLiteral("pagecontrols")).toList();
    for (int page = 0; page < int(pages.size()); ++page)
        for (const QString &name : pages.at(page).toStringList())
            if (name.compare(control.name(), Qt::CaseInsensitive) == 0)
                return page;
    return -1;
}

void TabView::resizeEvent(QResizeEvent *)
{
    const int barHeight = m_bar->sizeHint().height();
    m_bar->setGeometry(0, 0, width(), barHeight);
    m_pages->setGeometry(0, barHeight - 1, width(), qMax(0, height() - barHeight + 1));
}

// ---- every kind --------------------------------------------------------------------------------

QWidget *createWidget(Control &control, QWidget *parent)
{
    QWidget *widget = nullptr;
    switch (control.kind()) {
    case ControlKind::TextField:
        widget = new FieldEdit(static_cast<TextField &>(control), parent);
        break;
    case ControlKind::DateField: {
        auto *edit = new QDateEdit(parent);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        edit->setMinimumDate(NoDate);
        edit->setSpecialValueText(QStringLiteral(" "));
        edit->setFocusPolicy(Qt::StrongFocus);
        widget = edit;
        break;
    }
    case ControlKind::TabControl:
        widget = new TabView(static_cast<TabControl &>(control), parent);
        break;
    case ControlKind::Button: {
        auto *button = new QPushButton(parent);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
        widget = button;
        break;
    }
    case ControlKind::OptionButton: {
        auto *option = new QRadioButton(parent);
        option->setAutoExclusive(false); // the model keeps one selected per frame
        option->setFocusPolicy(Qt::StrongFocus);
        widget = option;
        break;
    }
    case ControlKind::Frame:
        if (static_cast<Frame &>(control).caption().isEmpty()) {
            auto *frame = new QFrame(parent);
            frame->setFrameShape(QFrame::NoFrame);
            widget = frame;
        } else {
            widget = new QGroupBox(parent);
        }
        break;
    case ControlKind::Label: {
        auto *label = new QLabel(parent);
        if (static_cast<Label &>(control).rightAligned())
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        widget = label;
        break;
    }
    case ControlKind::Shape: {
        auto *shape = new QFrame(parent);
        shape->setFrameShape(control.height() <= LineShapeHeight ? QFrame::HLine : QFrame::Box);
        shape->setFrameShadow(QFrame::Sunken);
        widget = shape;
        break;
    }
    case ControlKind::Grid:
    case ControlKind::Toolbar: // FormView makes the grid's and the toolbar's own views
    case ControlKind::TitleBar:
    case ControlKind::ColorScheme:
        return nullptr;
    }
    if (widget->objectName().isEmpty())
        widget->setObjectName(control.name());
    if (!control.focusable())
        widget->setFocusPolicy(Qt::NoFocus);
    for (Aspect aspect : {Aspect::Text, Aspect::Caption})
        showAspect(control, widget, aspect);
    return widget;
}

QWidget *contentOf(QWidget *widget)
{
    if (auto *tabs = qobject_cast<TabView *>(widget))
        return tabs->pageArea();
    return widget;
}

void showAspect(Control &control, QWidget *widget, Aspect aspect)
{
    switch (control.kind()) {
    case ControlKind::TextField:
        if (aspect == Aspect::Text || aspect == Aspect::Locked || aspect == Aspect::Focus)
            static_cast<FieldEdit *>(widget)->showModel();
        break;
    case ControlKind::DateField:
        if (aspect == Aspect::Text) {
            auto *edit = static_cast<QDateEdit *>(widget);
            const QDate date = static_cast<DateField &>(control).value();
            const QSignalBlocker quiet(edit);
            edit->setDate(date.isValid() ? date : NoDate);
        }
        break;
    case ControlKind::TabControl: {
        auto &tabs = static_cast<TabControl &>(control);
        QTabBar *bar = static_cast<TabView *>(widget)->bar();
        const QSignalBlocker quiet(bar);
        if (aspect == Aspect::Caption) {
            while (bar->count() > 0)
                bar->removeTab(0);
            for (const QString &caption : tabs.pages())
                bar->addTab(caption);
        }
        bar->setCurrentIndex(tabs.activePage() < bar->count() ? tabs.activePage() : -1);
        break;
    }
    case ControlKind::Button:
        if (aspect == Aspect::Caption)
            static_cast<QPushButton *>(widget)->setText(static_cast<Button &>(control).caption());
        break;
    case ControlKind::OptionButton: {
        auto &option = static_cast<OptionButton &>(control);
        auto *radio = static_cast<QRadioButton *>(widget);
        const QSignalBlocker quiet(radio);
        radio->setText(option.caption());
        radio->setChecked(option.selected());
        break;
    }
    case ControlKind::Frame:
        if (auto *box = qobject_cast<QGroupBox *>(widget))
            box->setTitle(static_cast<Frame &>(control).caption());
        break;
    case ControlKind::Label:
        if (aspect == Aspect::Caption)
            static_cast<QLabel *>(widget)->setText(labelText(static_cast<Label &>(control)));
        break;
    default:
        break;
    }
}

} // namespace qmx44::ui::detail

// Text field behaviour: typing rules, commit and lookup, Enter with tab-on-enter, the
// currency amount type.
#include "platform/controls/text_field.h"

#include "platform/controls/clipboard.h"
#include "platform/controls/form.h"
#include "platform/controls/keys.h"
#include "platform/controls/number_format.h"
#include "platform/core/flag.h"
#include "platform/db/connection.h"
#include "platform/db/sql_text.h"

#include <cmath>

namespace qmx44::controls {

TextField::TextField(Form &form, const QString &name)
    : Control(form, name, ControlKind::TextField), Enter(this, QStringLiteral("Enter")),
      Change(this, QStringLiteral("Change")), Revalidate(this, QStringLiteral("Revalidate"))
{
}

// ---- text and value ------------------------------------------------------------------------

QString TextField::currencyPicture() const
{
    // Every currency format code shows four decimals; 10 is the one the forms use.
    return QStringLiteral("$#,##0.0000");
}

void TextField::assignText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_anchor = m_caret = int(m_text.size());
    m_undo.clear();
    m_typingRun = false;
    notify(Aspect::Text);
    Change.raise();
}

void TextField::setText(const QString &text)
{
    if (isCurrency()) {
        m_amount = parseNumber(text).value_or(0.0);
        m_amountShown = formatNumber(m_amount, currencyPicture());
        assignText(m_amountShown);
    } else {
        assignText(text);
    }
    commitBy(false);
}

QVariant TextField::value() const
{
    if (!isCurrency())
        return m_text;
    // Full precision for what code wrote; typed text is read as it stands.
    if (m_text == m_amountShown)
        return m_amount;
    return parseNumber(m_text).value_or(0.0);
}

void TextField::setValue(const QVariant &value)
{
    if (!isCurrency()) {
        setText(value.toString());
        return;
    }
    double amount = 0;
    if (value.isValid() && !value.isNull()) {
        bool ok = false;
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString();
            auto parsed = parseNumber(t);
            ok = parsed.has_value() || t.trimmed().isEmpty();
            amount = parsed.value_or(0.0);
        } else {
            amount = value.toDouble(&ok);
        }
        if (!ok || !std::isfinite(amount))
            throw RuntimeError(
                QStringLiteral("El valor de %1 no es un número válido: %2").arg(name(), value.toString()));
    }
    m_amount = amount;
    m_amountShown = formatNumber(amount, currencyPicture());
    assignText(m_amountShown);
    commitBy(false);
}

void TextField::clear()
{
    if (isCurrency())
        setValue(0.0);
    else
        setText(QString());
}

void TextField::setTipodato(int code)
{
    m_dataType = code;
    normaliseCurrencyText();
    m_committed = m_text;
}

void TextField::setFormato(int code)
{
    m_formatCode = code;
    normaliseCurrencyText();
    m_committed = m_text;
}

// Reads the text of a currency field as its amount and shows it formatted (no-op for
// other fields). Fires Change when the shown text changes.
void TextField::normaliseCurrencyText()
{
    if (!isCurrency())
        return;
    if (m_text == m_amountShown && !m_amountShown.isEmpty())
        return;
    m_amount = parseNumber(m_text).value_or(0.0);
    m_amountShown = formatNumber(m_amount, currencyPicture());
    assignText(m_amountShown);
}

// ---- commit and lookup ------------------------------------------------------------------------

void TextField::commitBy(bool byEnter)
{
    const bool changed = m_text != m_committed;
    normaliseCurrencyText();
    m_committed = m_text;
    lookup();
    if (!byEnter && changed)
        Revalidate.raise();
}

void TextField::commit()
{
    if (m_text != m_committed)
        commitBy(false);
}

void TextField::lookup()
{
    if (m_sql.isEmpty() || m_sqlResult.isEmpty()) {
        m_lookupFound = true;
        return;
    }
    // A result field that looks up into this one (or this one itself) must not start
    // the lookup over while it is running.
    if (m_inLookup)
        return;
    struct Running {
        bool &flag;
        explicit Running(bool &f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(m_inLookup);
    auto *result = dynamic_cast<TextField *>(form().find(m_sqlResult));
    bool found = false;
    QString description;
    const bool ok = detail::runGuarded(this, name() + QStringLiteral("_Validar()"), [&] {
        if (!result)
            throw RuntimeError(QStringLiteral("No existe el campo %1").arg(m_sqlResult));
        if (m_text.isEmpty())
            return; // a blank key has no description
        db::Conexion *db = form().connection();
        if (!db)
            throw RuntimeError(QStringLiteral("No hay conexión a la base de datos"));
        QString statement = m_sql;
        statement.replace(QLatin1Char('?'), db::quoted(m_text));
        auto rs = db->execute(statement);
        if (!rs->eof()) {
            found = true;
            const QStringList columns = rs->columns();
            if (!columns.isEmpty())
                description = rs->field(columns.first()).toString();
        }
        rs->close();
    });
    m_lookupFound = ok && found;
    if (result)
        result->setText(description);
}

// ---- keyboard ---------------------------------------------------------------------------------

void TextField::enterPressed()
{
    Control *before = form().focused();
    commitBy(true);
    const bool found = m_lookupFound;
    const bool ok = Enter.raise();
    if (!m_tabOnEnter || before != this || form().focused() != this || !ok)
        return;
    if (m_text.isEmpty() && !m_tabOnEnterEmpty)
        return;
    if (m_tabOnEnterCancel && !found)
        return;
    form().focusNext();
}

bool TextField::insertTyped(QString chars)
{
    if (!editable() || chars.isEmpty())
        return false;
    if (m_upper)
        chars = chars.toUpper(); // Unicode-aware: "ñ" -> "Ñ"
    if (isCurrency()) {
        for (QChar c : chars)
            if (!(c.isDigit() && c.unicode() < 128) && c != u'.' && c != u'-' && c != u'$' && c != u',')
                return false;
    }
    QString next = m_text;
    const int start = selectionStart();
    next.replace(start, selectionLength(), chars);
    if (m_maxLength > 0 && next.size() > m_maxLength)
        return false;
    applyEdit(next, start + int(chars.size()), EditKind::Typing);
    return true;
}

void TextField::applyEdit(const QString &text, int caret, EditKind kind)
{
    if (text == m_text) {
        select(caret, caret);
        return;
    }
    if (kind != EditKind::Typing || !m_typingRun) {
        constexpr std::size_t UndoSteps = 100;
        if (m_undo.size() == UndoSteps)
            m_undo.erase(m_undo.begin());
        m_undo.push_back({m_text, m_anchor, m_caret});
    }
    m_typingRun = kind == EditKind::Typing;
    m_text = text;
    m_anchor = m_caret = caret;
    notify(Aspect::Text);
    Change.raise();
}

void TextField::select(int anchor, int caret)
{
    const int size = int(m_text.size());
    anchor = qBound(0, anchor, size);
    caret = qBound(0, caret, size);
    m_typingRun = false; // typing after a move is a new step
    if (anchor == m_anchor && caret == m_caret)
        return;
    m_anchor = anchor;
    m_caret = caret;
    notify(Aspect::Text); // the view shows the selection with the text
}

void TextField::setCursorPosition(int position, bool extend)
{
    select(extend ? m_anchor : position, position);
}

namespace {

// Word moves as in any desktop program: Ctrl+Right to the start of the next word,
// Ctrl+Left to the start of this or the previous one; blanks separate words.
int nextWord(const QString &text, int from)
{
    const int size = int(text.size());
    while (from < size && !text.at(from).isSpace())
        ++from;
    while (from < size && text.at(from).isSpace())
        ++from;
    return from;
}

int previousWord(const QString &text, int from)
{
    while (from > 0 && text.at(from - 1).isSpace())
        --from;
    while (from > 0 && !text.at(from - 1).isSpace())
        --from;
    return from;
}

} // namespace

void TextField::selectWordAt(int position)
{
    position = qBound(0, position, int(m_text.size()));
    int start = position, end = position;
    while (start > 0 && !m_text.at(start - 1).isSpace())
        --start;
    while (end < m_text.size() && !m_text.at(end).isSpace())
        ++end;
    select(start, end);
}

bool TextField::copy() const
{
    if (!effectivelyEnabled() || selectionLength() == 0)
        return false;
    Clipboard::setText(selectedText());
    return true;
}

bool TextField::cut()
{
    if (!editable() || !copy())
        return false;
    return eraseSelection();
}

bool TextField::eraseSelection()
{
    if (!editable() || selectionLength() == 0)
        return false;
    const int start = selectionStart();
    applyEdit(QString(m_text).remove(start, selectionLength()), start, EditKind::Other);
    return true;
}

bool TextField::paste()
{
    if (!editable())
        return false;
    // A field holds one line: the clipboard's first, typed key by key (upper case, the
    // length limit and the amount's characters apply) as one step of the undo history.
    QString text = Clipboard::text().section(QLatin1Char('\n'), 0, 0);
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\t'));
    m_typingRun = false; // the first character starts the paste's step, the rest join it
    bool any = false;
    for (QChar ch : text)
        any = insertTyped(QString(ch)) || any;
    m_typingRun = false;
    return any;
}

bool TextField::undo()
{
    if (!editable() || m_undo.empty())
        return false;
    const Snapshot last = m_undo.back();
    m_undo.pop_back();
    m_typingRun = false;
    if (last.text != m_text) {
        m_text = last.text;
        m_anchor = last.anchor;
        m_caret = last.caret;
        notify(Aspect::Text);
        Change.raise();
    } else {
        select(last.anchor, last.caret);
    }
    return true;
}

int TextField::typeText(const QString &text)
{
    int accepted = 0;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\r' || u == u'\n') {
            pressKey(keys::Enter);
        } else if (u == u'\b') {
            pressKey(keys::Backspace);
        } else if (u == u'\t') {
            pressKey(keys::Tab);
        } else {
            int code = u;
            const QString before = m_text;
            keyPress(code);
            if (m_text != before)
                ++accepted;
        }
    }
    return accepted;
}

void TextField::pressKey(int keyCode, int shift)
{
    if (keyCode == keys::Tab) {
        if (hasFocus())
            form().sendTab(shift & keys::ShiftMask);
        return;
    }
    int k = keyCode, s = shift;
    keyDown(k, s);
}

void TextField::keyDown(int &keyCode, int &shift)
{
    if (!effectivelyEnabled())
        return;
    const int modifiers = shift & (keys::ShiftMask | keys::CtrlMask | keys::AltMask);
    // The editing chords, as in any desktop program; each swallows its key.
    const auto chord = [&](int code, int mask) { return keyCode == code && modifiers == mask; };
    bool handled = true;
    if (chord('A', keys::CtrlMask))
        selectAll();
    else if (chord('C', keys::CtrlMask) || chord(keys::Insert, keys::CtrlMask))
        copy();
    else if (chord('X', keys::CtrlMask) || chord(keys::Delete, keys::ShiftMask))
        cut();
    else if (chord('V', keys::CtrlMask) || chord(keys::Insert, keys::ShiftMask))
        paste();
    else if (chord('Z', keys::CtrlMask))
        undo();
    else
        handled = false;
    if (handled) {
        keyCode = 0;
        return;
    }
    switch (keyCode) {
    case keys::Enter:
        keyCode = 0;
        enterPressed();
        break;
    case keys::Backspace:
    case keys::Delete: {
        const bool back = keyCode == keys::Backspace;
        keyCode = 0;
        if (!editable())
            break;
        if (selectionLength() > 0) {
            eraseSelection();
            break;
        }
        const int at = back ? m_caret - 1 : m_caret;
        if (at >= 0 && at < m_text.size())
            applyEdit(QString(m_text).remove(at, 1), at, EditKind::Other);
        break;
    }
    default:
        navigate(keyCode, modifiers);
        break;
    }
}

// Home, End, Left and Right move the caret (Ctrl: Left/Right by words); with Shift they
// extend the selection. Without Shift, Left and Right first collapse a selection to its
// start or end.
bool TextField::navigate(int keyCode, int shift)
{
    if (shift & keys::AltMask)
        return false;
    const bool extend = shift & keys::ShiftMask;
    const bool byWord = shift & keys::CtrlMask;
    const int size = int(m_text.size());
    int to = m_caret;
    switch (keyCode) {
    case keys::Home:
        to = 0;
        break;
    case keys::End:
        to = size;
        break;
    case keys::Left:
        if (byWord)
            to = previousWord(m_text, m_caret);
        else if (!extend && selectionLength() > 0)
            to = selectionStart();
        else
            to = qMax(0, m_caret - 1);
        break;
    case keys::Right:
        if (byWord)
            to = nextWord(m_text, m_caret);
        else if (!extend && selectionLength() > 0)
            to = selectionStart() + selectionLength();
        else
            to = qMin(size, m_caret + 1);
        break;
    default:
        return false;
    }
    setCursorPosition(to, extend);
    return true;
}

void TextField::keyPress(int &charCode)
{
    if (charCode < 32 || charCode == 127)
        return; // control characters type nothing
    insertTyped(QString(QChar(char16_t(charCode))));
}

void TextField::selectAll()
{
    select(0, int(m_text.size()));
}

void TextField::focusIn()
{
    selectAll();
}

void TextField::focusOut()
{
    commit();
}

// ---- design settings ----------------------------------------------------------------------------

bool TextField::applySetting(const QString &name, const QVariant &value)
{
    const QString n = name.toLower();
    if (n == u"text") {
        // Design text: no events, no lookup.
        m_text = value.toString();
        if (isCurrency()) {
            m_amount = parseNumber(m_text).value_or(0.0);
            m_amountShown = formatNumber(m_amount, currencyPicture());
            m_text = m_amountShown;
        }
        m_committed = m_text;
        m_anchor = m_caret = int(m_text.size());
        m_undo.clear();
        notify(Aspect::Text);
    } else if (n == u"locked") {
        setLocked(flagFromValue(value));
    } else if (n == u"maxlength") {
        setMaxlength(value.toInt());
    } else if (n == u"alignment") {
        const QString a = value.toString().toLower();
        if (a == u"right" || a == u"1")
            setAlignment(Alignment::Right);
        else if (a == u"center" || a == u"centre" || a == u"2")
            setAlignment(Alignment::Center);
        else
            setAlignment(Alignment::Left);
    } else if (n == u"mayusculas") {
        setMayusculas(flagFromValue(value));
    } else if (n == u"esclave") {
        setEsclave(flagFromValue(value));
    } else if (n == u"idconsulta") {
        setIdconsulta(value.toString());
    } else if (n == u"transaccion") {
        setTransaccion(value.toString());
    } else if (n == u"sql") {
        setSql(value.toString());
    } else if (n == u"sql_control_resultado") {
        setSqlControlResultado(value.toString());
    } else if (n == u"sql_lista") {
        setSqlLista(value.toString());
    } else if (n == u"tabonenter") {
        setTabonenter(flagFromValue(value));
    } else if (n == u"tabonentervacio") {
        setTabonentervacio(flagFromValue(value));
    } else if (n == u"tabonentercancel") {
        setTabonentercancel(flagFromValue(value));
    } else if (n == u"tipodato") {
        setTipodato(value.toInt());
    } else if (n == u"formato") {
        setFormato(value.toInt());
    } else if (n == u"subrayar") {
        setSubrayar(flagFromValue(value));
    } else if (n == u"enabledcolor") {
        setEnabledcolor(value.toString());
    } else if (n == u"focuscolor") {
        setFocuscolor(value.toString());
    } else if (n == u"modegroup") {
        setModeGroup(value.toInt());
    } else if (n == u"modeunlock") {
        setUnlockedByMode(flagFromValue(value));
    } else if (n == u"tag") {
        setTag(value.toString());
    } else if (n == u"format") {
        setFormat(value);
    } else {
        return Control::applySetting(name, value);
    }
    return true;
}

} // namespace qmx44::controls

#include "apps/script/script_step.h"

#include "platform/core/faults.h"

#include <QRegularExpression>
#include <cmath>

namespace qmx44::apps::script {

namespace {

void requireArgs(const ScriptLine &line, int min, int max, const char *usage)
{
    const int n = int(line.args.size());
    if (n < min || n > max)
        throw ScriptError{QStringLiteral("%1 takes %2 (usage: %1 %3)")
                              .arg(line.command,
                                   min == max
                                       ? (min == 0 ? QStringLiteral("no argument")
                                                   : QStringLiteral("%1 argument%2").arg(min).arg(min == 1 ? "" : "s"))
                                       : QStringLiteral("%1 to %2 arguments").arg(min).arg(max),
                                   QString::fromLatin1(usage))};
}

QDate dateArg(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate d = QDate::fromString(text, Qt::ISODate);
    if (!shape.match(text).hasMatch() || !d.isValid())
        throw ScriptError{QStringLiteral("'%1' is not a date YYYY-MM-DD").arg(text)};
    return d;
}

double numberArg(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw ScriptError{QStringLiteral("'%1' is not a number").arg(text)};
    return v;
}

int wholeArg(const QString &text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok)
        throw ScriptError{QStringLiteral("'%1' is not a whole number").arg(text)};
    return v;
}

bool choiceArg(const QString &text, const char *yes, const char *no)
{
    if (text == QLatin1String(yes))
        return true;
    if (text == QLatin1String(no))
        return false;
    throw ScriptError{QStringLiteral("'%1' is neither %2 nor %3").arg(text, QLatin1String(yes), QLatin1String(no))};
}

using controls::Command;
const Command kCommands[] = {Command::Nuevo,     Command::Modificar, Command::Imprimir,
                             Command::Consultar, Command::Eliminar,  Command::Aceptar,
                             Command::Cancelar,  Command::Salir,     Command::Opcional};

const struct {
    ProrateAction action;
    const char *name;
} kProrateActions[] = {{ProrateAction::Accept, "accept"},
                       {ProrateAction::F4, "f4"},
                       {ProrateAction::Cancel, "cancel"},
                       {ProrateAction::Escape, "escape"}};

// An argument as a script writes it: quoted when it is empty or holds blanks or quotes.
QString quoted(const QString &text)
{
    if (!text.isEmpty() && !text.contains(u' ') && !text.contains(u'\t') && !text.contains(u'"')
        && !text.startsWith(u'#'))
        return text;
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

QString number(double v)
{
    return QString::number(v, 'g', 17);
}

} // namespace

QString commandName(controls::Command command)
{
    switch (command) {
    case Command::Nuevo:
        return QStringLiteral("Nuevo");
    case Command::Modificar:
        return QStringLiteral("Modificar");
    case Command::Imprimir:
        return QStringLiteral("Imprimir");
    case Command::Consultar:
        return QStringLiteral("Consultar");
    case Command::Eliminar:
        return QStringLiteral("Eliminar");
    case Command::Aceptar:
        return QStringLiteral("Aceptar");
    case Command::Cancelar:
        return QStringLiteral("Cancelar");
    case Command::Salir:
        return QStringLiteral("Salir");
    case Command::Opcional:
        return QStringLiteral("Opcional");
    }
    return QString();
}

namespace warnings {

QString focusWentElsewhere(const QString &verb, const QString &field)
{
    return QStringLiteral("%1 %2: the focus went elsewhere on entering the field; %3")
        .arg(verb, field,
             verb == u"type"         ? QStringLiteral("nothing was typed")
                 : verb == u"search" ? QStringLiteral("no search was opened")
                                     : QStringLiteral("Enter was not pressed"));
}

QString notOffered(const QString &command)
{
    return QStringLiteral("click %1: the toolbar does not offer it now; nothing ran").arg(command);
}

QString columnNotShown(const QString &column)
{
    return QStringLiteral("cell: column %1 is not shown; nothing was typed").arg(column);
}

QString gridOutOfReach()
{
    return QStringLiteral("cell: the grid cannot take the focus now (disabled, or on another page); nothing was typed");
}

QString tabsDisabled()
{
    return QStringLiteral("page: the tab control is disabled; nothing changed");
}

QString searchOutOfReach(const QString &field)
{
    return QStringLiteral("search %1: the field cannot take the focus or is locked; no search was opened").arg(field);
}

QString additionalRefused(const QString &field, const QString &reason)
{
    return QStringLiteral("additional %1: the dialog refused it: %2").arg(field, reason);
}

QString dialogLacks(const QString &dialog, const QString &control)
{
    if (control == u"txtImporte")
        return QStringLiteral("prorate: the dialog %1 has no txtImporte; the amount was not typed").arg(dialog);
    return QStringLiteral("prorate: the dialog %1 has no %2").arg(dialog, control);
}

} // namespace warnings

Step typedStep(const ScriptLine &line)
{
    Step step;
    step.line = line.number;
    step.verb = line.command;
    const QString &verb = line.command;
    const QStringList &a = line.args;
    if (verb == u"exec" || verb == u"query") {
        if (line.rest.isEmpty())
            throw ScriptError{QStringLiteral("%1 needs an SQL statement").arg(verb)};
        if (verb == u"exec")
            step.action = steps::Exec{line.rest};
        else
            step.action = steps::Query{line.rest};
    } else if (verb == u"user") {
        requireArgs(line, 2, 2, "BRANCH WAREHOUSE");
        step.action = steps::User{a[0], a[1]};
    } else if (verb == u"param") {
        requireArgs(line, 2, 2, "NAME VALUE");
        if (a[0].isEmpty())
            throw ScriptError{QStringLiteral("a parameter needs a name")};
        step.action = steps::Param{a[0], a[1]};
    } else if (verb == u"right") {
        requireArgs(line, 2, 2, "KEY 0|1");
        step.action = steps::Right{a[0], choiceArg(a[1], "1", "0")};
    } else if (verb == u"rate") {
        requireArgs(line, 3, 3, "CURRENCY YYYY-MM-DD VALUE");
        const QDate from = dateArg(a[1]);
        step.action = steps::Rate{a[0], from, numberArg(a[2])};
    } else if (verb == u"period") {
        requireArgs(line, 4, 4, "MODULE YYYY-MM-DD YYYY-MM-DD open|closed");
        const QDate from = dateArg(a[1]);
        const QDate to = dateArg(a[2]);
        if (to < from)
            throw ScriptError{QStringLiteral("the period ends (%1) before it starts (%2)").arg(a[2], a[1])};
        step.action = steps::Period{a[0], from, to, choiceArg(a[3], "open", "closed")};
    } else if (verb == u"fail") {
        requireArgs(line, 1, 2, "OPERATION [TEXT]");
        if (a[0].isEmpty())
            throw ScriptError{QStringLiteral("fail needs an operation")};
        // A planned failure that nothing consults would let the script quietly run the
        // success path instead.
        if (!faults::consulted(a[0]))
            throw ScriptError{QStringLiteral("unknown operation '%1'").arg(a[0])};
        step.action = steps::Fail{a[0], a.size() > 1 ? a[1] : QStringLiteral("Falla programada: %1").arg(a[0])};
    } else if (verb == u"confirm") {
        requireArgs(line, 1, 1, "yes|no");
        step.action = steps::Confirm{choiceArg(a[0], "yes", "no")};
    } else if (verb == u"open" || verb == u"activate" || verb == u"dump" || verb == u"messages" || verb == u"preview") {
        requireArgs(line, 0, 0, "");
        if (verb == u"open")
            step.action = steps::Open{};
        else if (verb == u"activate")
            step.action = steps::Activate{};
        else if (verb == u"dump")
            step.action = steps::Dump{};
        else if (verb == u"preview")
            step.action = steps::Preview{};
        else
            step.action = steps::Messages{};
    } else if (verb == u"type") {
        requireArgs(line, 2, 2, "FIELD TEXT");
        step.action = steps::Type{a[0], a[1]};
    } else if (verb == u"enter") {
        requireArgs(line, 1, 1, "FIELD");
        step.action = steps::Enter{a[0]};
    } else if (verb == u"click") {
        requireArgs(line, 1, 1, "COMMAND");
        for (Command c : kCommands) {
            if (a[0].compare(commandName(c), Qt::CaseInsensitive) == 0) {
                step.action = steps::Click{c, a[0]};
                return step;
            }
        }
        throw ScriptError{QStringLiteral("unknown toolbar command '%1'").arg(a[0])};
    } else if (verb == u"cell") {
        requireArgs(line, 3, 3, "ROW COLUMN TEXT");
        step.action = steps::Cell{wholeArg(a[0]), a[1], a[2]};
    } else if (verb == u"key") {
        requireArgs(line, 1, 1, "KEY");
        const auto chord = parseKeyChord(a[0]);
        if (!chord)
            throw ScriptError{QStringLiteral("unknown key '%1'").arg(a[0])};
        step.action = steps::Key{a[0], *chord};
    } else if (verb == u"page") {
        requireArgs(line, 1, 1, "N");
        step.action = steps::Page{wholeArg(a[0])};
    } else if (verb == u"resize") {
        requireArgs(line, 2, 2, "WIDTH HEIGHT");
        const double width = numberArg(a[0]);
        const double height = numberArg(a[1]);
        if (width < 0 || height < 0)
            throw ScriptError{QStringLiteral("a size cannot be negative")};
        step.action = steps::Resize{width, height};
    } else if (verb == u"additional") {
        requireArgs(line, 2, 2, "FIELD VALUE");
        step.action = steps::Additional{a[0], a[1]};
    } else if (verb == u"prorate") {
        requireArgs(line, 3, 3, "AMOUNT 1|2|3 accept|f4|cancel|escape");
        ProrateStep p;
        p.amount = a[0];
        p.option = wholeArg(a[1]);
        if (p.option < 1 || p.option > 3)
            throw ScriptError{QStringLiteral("option %1: the options are 1, 2 and 3").arg(a[1])};
        bool known = false;
        for (const auto &k : kProrateActions) {
            if (a[2] == QLatin1String(k.name)) {
                p.action = k.action;
                known = true;
            }
        }
        if (!known)
            throw ScriptError{QStringLiteral("'%1' is not accept, f4, cancel or escape").arg(a[2])};
        step.action = steps::Prorate{p};
    } else if (verb == u"search") {
        requireArgs(line, 2, 3, "FIELD FILTER [ROW]");
        const int row = a.size() > 2 ? wholeArg(a[2]) : 0;
        if (a.size() > 2 && row < 1)
            throw ScriptError{QStringLiteral("row %1: rows count from 1").arg(a[2])};
        step.action = steps::Search{a[0], a[1], row};
    } else if (verb == u"shot") {
        requireArgs(line, 1, 1, "NAME");
        static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_.-]+$"));
        if (!name.match(a[0]).hasMatch())
            throw ScriptError{QStringLiteral("'%1' is not a picture name (letters, digits, - _ .)").arg(a[0])};
        step.action = steps::Shot{a[0]};
    } else if (verb == u"clipboard") {
        requireArgs(line, 0, 1, "[TEXT]");
        steps::Clipboard c;
        if (!a.isEmpty()) {
            QString text = a[0];
            text.replace(QStringLiteral("\\t"), QStringLiteral("\t"))
                .replace(QStringLiteral("\\n"), QStringLiteral("\n"));
            c.text = text;
        }
        step.action = c;
    } else {
        throw ScriptError{QStringLiteral("unknown command '%1'").arg(verb)};
    }
    return step;
}

QString stepText(const StepAction &action)
{
    const auto date = [](const QDate &d) { return d.toString(Qt::ISODate); };
    return std::visit(
        [&](const auto &s) -> QString {
            using T = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<T, steps::Exec>)
                return QStringLiteral("exec ") + s.sql;
            else if constexpr (std::is_same_v<T, steps::Query>)
                return QStringLiteral("query ") + s.sql;
            else if constexpr (std::is_same_v<T, steps::User>)
                return QStringLiteral("user %1 %2").arg(quoted(s.branch), quoted(s.warehouse));
            else if constexpr (std::is_same_v<T, steps::Param>)
                return QStringLiteral("param %1 %2").arg(quoted(s.name), quoted(s.value));
            else if constexpr (std::is_same_v<T, steps::Right>)
                return QStringLiteral("right %1 %2")
                    .arg(quoted(s.key), s.granted ? QStringLiteral("1") : QStringLiteral("0"));
            else if constexpr (std::is_same_v<T, steps::Rate>)
                return QStringLiteral("rate %1 %2 %3").arg(quoted(s.currency), date(s.from), number(s.value));
            else if constexpr (std::is_same_v<T, steps::Period>)
                return QStringLiteral("period %1 %2 %3 %4")
                    .arg(quoted(s.module), date(s.from), date(s.to),
                         s.open ? QStringLiteral("open") : QStringLiteral("closed"));
            else if constexpr (std::is_same_v<T, steps::Fail>)
                return QStringLiteral("fail %1 %2").arg(quoted(s.operation), quoted(s.text));
            else if constexpr (std::is_same_v<T, steps::Confirm>)
                return QStringLiteral("confirm ") + QString::fromUtf16(s.yes ? u"yes" : u"no");
            else if constexpr (std::is_same_v<T, steps::Prorate>) {
                QString name;
                for (const auto &k : kProrateActions)
                    if (k.action == s.step.action)
                        name = QLatin1String(k.name);
                return QStringLiteral("prorate %1 %2 %3").arg(quoted(s.step.amount)).arg(s.step.option).arg(name);
            } else if constexpr (std::is_same_v<T, steps::Open>)
                return QStringLiteral("open");
            else if constexpr (std::is_same_v<T, steps::Activate>)
                return QStringLiteral("activate");
            else if constexpr (std::is_same_v<T, steps::Type>)
                return QStringLiteral("type %1 %2").arg(quoted(s.field), quoted(s.text));
            else if constexpr (std::is_same_v<T, steps::Enter>)
                return QStringLiteral("enter ") + quoted(s.field);
            else if constexpr (std::is_same_v<T, steps::Click>)
                return QStringLiteral("click ") + commandName(s.command);
            else if constexpr (std::is_same_v<T, steps::Cell>)
                return QStringLiteral("cell %1 %2 %3").arg(s.row).arg(quoted(s.column), quoted(s.text));
            else if constexpr (std::is_same_v<T, steps::Key>)
                return QStringLiteral("key ") + s.name;
            else if constexpr (std::is_same_v<T, steps::Page>)
                return QStringLiteral("page %1").arg(s.page);
            else if constexpr (std::is_same_v<T, steps::Resize>)
                return QStringLiteral("resize %1 %2").arg(number(s.width), number(s.height));
            else if constexpr (std::is_same_v<T, steps::Additional>)
                return QStringLiteral("additional %1 %2").arg(quoted(s.field), quoted(s.value));
            else if constexpr (std::is_same_v<T, steps::Search>)
                return QStringLiteral("search %1 %2").arg(quoted(s.field), quoted(s.filter))
                    + (s.pick > 0 ? QStringLiteral(" %1").arg(s.pick) : QString());
            else if constexpr (std::is_same_v<T, steps::Dump>)
                return QStringLiteral("dump");
            else if constexpr (std::is_same_v<T, steps::Messages>)
                return QStringLiteral("messages");
            else if constexpr (std::is_same_v<T, steps::Preview>)
                return QStringLiteral("preview");
            else if constexpr (std::is_same_v<T, steps::Shot>)
                return QStringLiteral("shot ") + s.name;
            else if (!s.text)
                return QStringLiteral("clipboard");
            else {
                QString text = *s.text;
                text.replace(u'\t', QStringLiteral("\\t")).replace(u'\n', QStringLiteral("\\n"));
                return QStringLiteral("clipboard ") + quoted(text);
            }
        },
        action);
}

} // namespace qmx44::apps::script

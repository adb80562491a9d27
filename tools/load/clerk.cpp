#include "tools/load/clerk.h"

#include "tools/load/load_data.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace qmx44::load {

namespace {

const QString kExceedsPending = QStringLiteral("ERR-ID:7500007");

// What the screen says when the server went away (the session is replaced at the next
// action), and when it is not back yet.
const QString kSessionLost = QStringLiteral("Se perdió la conexión con la base de datos");
const QString kNoSession = QStringLiteral("No hay conexión con la base de datos");

// The runner's last words when the clerk's own query found no session, or when the
// server refused it at its start (opening the database, or reading the user's settings
// on a session that died just after): it ends there.
bool queryLostConnection(const QString &line)
{
    static const QRegularExpression query(
        QStringLiteral("^qmx44 script: (line [0-9]+: SQL error: (%1|%2)|No se pudo abrir la base de datos|%2)")
            .arg(QRegularExpression::escape(kSessionLost), QRegularExpression::escape(kNoSession)));
    return query.match(line).hasMatch();
}

QString lostConnectionEnding(const QString &line)
{
    if (line.contains(kSessionLost))
        return kSessionLost;
    if (line.contains(QLatin1String("SQL error: ") + kNoSession))
        return kNoSession + QStringLiteral(" (its own query)");
    if (line.contains(kNoSession))
        return kNoSession + QStringLiteral(" (at its start)");
    return QStringLiteral("No se pudo abrir la base de datos (at its start)");
}

script::StepAction click(controls::Command command)
{
    return script::steps::Click{command, script::commandName(command)};
}

script::StepAction cancel()
{
    return click(controls::Command::Cancelar);
}

script::StepAction bonusCell(int row, int amount)
{
    return script::steps::Cell{row, QStringLiteral("BON_IMPORTE"), QString::number(amount)};
}

} // namespace

QString kindOf(const QString &id, const QString &text)
{
    static const struct {
        const char *pattern;
        const char *kind;
    } known[] = {
        {"deadlock", "deadlock"},
        {"could not serialize", "serialization failure"},
        {"database is locked", "database is locked"},
        {"database table is locked", "database is locked"},
        {"server closed the connection", "lost connection"},
        {"connection", "connection problem"},
        {"not offered", "toolbar command not offered"},
    };
    const QString lower = text.toLower();
    QString kind;
    for (const auto &k : known) {
        if (lower.contains(QLatin1String(k.pattern))) {
            kind = QLatin1String(k.kind);
            break;
        }
    }
    if (kind.isEmpty()) {
        static const QRegularExpression numbers(QStringLiteral("[0-9]+([.,][0-9]+)*"));
        kind = text.simplified();
        kind.replace(numbers, QStringLiteral("#"));
        kind.truncate(90);
    }
    return id.isEmpty() ? kind : id + QLatin1Char(' ') + kind;
}

Clerk::Clerk(int number, const Setup &setup, Tally &tally, QObject *parent)
    : QObject(parent), m_number(number), m_setup(setup), m_tally(tally), m_random(quint32(number * 7919 + 17))
{
    QProcessEnvironment environment = m_setup.environment;
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dataHome.path());
    m_process.setProcessEnvironment(environment);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &Clerk::readOutput);
    connect(&m_process, &QProcess::readyReadStandardError, this, &Clerk::readErrors);
    connect(&m_process, &QProcess::finished, this, &Clerk::processEnded);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // the others end in finished()
        m_tally.unexpected(QStringLiteral("clerk did not start"),
                           QStringLiteral("%1: %2").arg(m_setup.program, m_process.errorString()));
        end();
    });
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        m_tally.unexpected(
            QStringLiteral("no answer"),
            QStringLiteral("clerk %1 had no answer for %2 s").arg(m_number).arg(m_setup.stepTimeoutMs / 1000));
        m_process.kill();
    });
}

void Clerk::start()
{
    // A site's database: the clerk signs in (on a server the login's own user).
    QStringList arguments{QStringLiteral("script"), QStringLiteral("--db"), m_setup.connection};
    if (!m_setup.connection.startsWith(QLatin1String("postgresql:")))
        arguments << QStringLiteral("--user") << QLatin1String(kClerkUser);
    m_process.start(m_setup.program, arguments << QStringLiteral("-"));
    send(Step::Open, {script::steps::Open{}, script::steps::Messages{}}, 1);
}

void Clerk::stop()
{
    m_stopping = true;
    if (m_expected == 0)
        closeInput();
}

void Clerk::write(const std::vector<script::StepAction> &steps)
{
    QString text;
    for (const script::StepAction &step : steps)
        text += script::stepText(step) + QLatin1Char('\n');
    m_process.write(text.toUtf8());
}

void Clerk::send(Step step, const std::vector<script::StepAction> &lines, int replies)
{
    m_step = step;
    m_expected = replies;
    m_replies.clear();
    if (step == Step::Save)
        m_saveClock.start();
    write(lines);
    m_watchdog.start(m_setup.stepTimeoutMs);
    if (m_killDelayMs >= 0 && step == (m_killDuring == Operation::Save ? Step::Save : Step::Cancel)) {
        QTimer::singleShot(m_killDelayMs, this, &Clerk::kill);
        m_killDelayMs = -1;
    }
}

QString Clerk::stepName() const
{
    static const char *const names[] = {
        "open", "draw notes", "take a purchase in", "grant bonuses", "save",      "show a note", "show to modify",
        "edit", "modify",     "show to cancel",     "cancel",        "next cycle"};
    if (m_step == Step::Save && m_modifying)
        return QStringLiteral("replacement save");
    return QLatin1String(names[int(m_step)]);
}

void Clerk::kill()
{
    if (m_stopping || m_killed || m_process.state() == QProcess::NotRunning)
        return;
    const QString step = stepName();
    ++m_tally.kills[m_expected > 0 ? step : step + QStringLiteral(" (answered)")];
    m_killed = true;
    m_process.kill();
    emit killed();
}

void Clerk::readOutput()
{
    m_outBuffer += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_outBuffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_outBuffer.left(end);
        m_outBuffer.remove(0, end + 1);
        if (m_step == Step::Save && m_replies.empty())
            m_tally.saveMilliseconds.push_back(double(m_saveClock.nsecsElapsed()) / 1e6);
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            m_tally.unexpected(QStringLiteral("output that is not JSON"), QString::fromUtf8(line.left(200)));
            continue;
        }
        m_replies.push_back(document.object());
        if (int(m_replies.size()) == m_expected) {
            m_watchdog.stop();
            m_expected = 0;
            answered();
        }
    }
}

void Clerk::readErrors()
{
    m_errBuffer += m_process.readAllStandardError();
    qsizetype end;
    while ((end = m_errBuffer.indexOf('\n')) >= 0) {
        QString line = QString::fromUtf8(m_errBuffer.left(end)).trimmed();
        m_errBuffer.remove(0, end + 1);
        if (line.isEmpty() || line.startsWith(QLatin1String("QStandardPaths:")))
            continue;
        static const QRegularExpression prefix(QStringLiteral("^qmx44 script: (line [0-9]+: )?"));
        const QString kind = kindOf(QString(), QString(line).remove(prefix));
        if (m_setup.serverRestarts && queryLostConnection(line)) {
            ++m_tally.connection[QStringLiteral("clerk process ended and was replaced: ") + lostConnectionEnding(line)];
            m_endedOnLostConnection = true;
            continue;
        }
        // The screen's load met the dead session (its message is counted with the
        // others): the runner says the screen gave no form, and the clerk opens it again.
        if (m_setup.serverRestarts && line.endsWith(QLatin1String("gave no form"))) {
            ++m_tally.connection[QStringLiteral("screen not opened: its load met the lost connection")];
            continue;
        }
        // The advice that follows a refused start, counted with it above.
        if (m_setup.serverRestarts && line.startsWith(QLatin1String("qmx44 script: qmx44 cannot reach the database")))
            continue;
        // What the database driver and libpq print themselves when the session dies under
        // them (the server's notice, statements freed or run on the dead session): no
        // message to the clerk, counted apart.
        if (m_setup.serverRestarts && !line.startsWith(QLatin1String("qmx44 script:"))) {
            ++m_tally.connection[QStringLiteral("driver's own print on standard error: ") + kind];
            continue;
        }
        m_tally.unexpected(QStringLiteral("standard error: ") + kind,
                           QStringLiteral("clerk %1 (%2): %3").arg(m_number).arg(stepName(), line));
    }
}

void Clerk::processEnded(int exitCode, QProcess::ExitStatus status)
{
    m_watchdog.stop();
    readOutput();
    readErrors();
    if (replaceable() && !m_inputClosed) {
        // killed, or ended on a lost connection: counted already
    } else if (!m_inputClosed) {
        m_tally.unexpected(QStringLiteral("clerk ended before its time"),
                           QStringLiteral("clerk %1: exit status %2").arg(m_number).arg(exitCode));
    } else if (status != QProcess::NormalExit || exitCode != 0) {
        m_tally.unexpected(QStringLiteral("clerk ended with a failure"),
                           QStringLiteral("clerk %1: exit status %2").arg(m_number).arg(exitCode));
    }
    end();
}

void Clerk::closeInput()
{
    if (m_inputClosed)
        return;
    m_inputClosed = true;
    m_process.closeWriteChannel();
}

void Clerk::end()
{
    if (m_done)
        return;
    m_done = true;
    emit finished();
}

bool Clerk::classifyMessages(const QJsonObject &printed)
{
    const QJsonArray messages = printed.value(QLatin1String("messages")).toArray();
    for (const QJsonValue &value : messages) {
        const QJsonObject m = value.toObject();
        const QString id = m.value(QLatin1String("id")).toString();
        const QString text = m.value(QLatin1String("text")).toString();
        const bool cancelled = (id == QLatin1String("ERR-ID:7500006") || id == QLatin1String("ERR-ID:7500013"))
            && text.contains(QStringLiteral("ya está cancelada"));
        if (id == kExceedsPending)
            ++m_tally.expected[QStringLiteral("exceeds what is pending (7500007)")];
        else if (m_setup.serverRestarts && (text.contains(kSessionLost) || text.contains(kNoSession)))
            ++m_tally.connection[kindOf(id, text.contains(kSessionLost) ? kSessionLost : kNoSession)
                                 + (text.contains(QLatin1String("al confirmar")) ? QStringLiteral(" (at the commit)")
                                                                                 : QString())];
        else if (cancelled)
            ++m_tally.expected[QStringLiteral("note already cancelled by another clerk (%1)").arg(id.mid(7))];
        else
            m_tally.unexpected(QStringLiteral("message ") + kindOf(id, text),
                               QStringLiteral("clerk %1: %2 %3").arg(m_number).arg(id, text));
    }
    return !messages.isEmpty();
}

void Clerk::answered()
{
    for (const QJsonObject &reply : m_replies)
        classifyMessages(reply);
    const QJsonObject last = m_replies.empty() ? QJsonObject() : m_replies.back();
    const bool refused = !last.value(QLatin1String("messages")).toArray().isEmpty();
    // What the step did is counted even when the time is over.
    switch (m_step) {
    case Step::Cancel:
        m_tally.count(refused ? QStringLiteral("cancel refused") : QStringLiteral("cancel"));
        break;
    case Step::Save: {
        const QString what = m_modifying ? QStringLiteral("replacement save") : QStringLiteral("save");
        m_tally.count(refused ? what + QStringLiteral(" refused") : what);
        if (!refused)
            ++m_tally.notesSaved;
        else // the note stays being edited: leave it
            write({cancel()});
        break;
    }
    case Step::Show:
        m_tally.count(QStringLiteral("note shown"));
        break;
    default:
        break;
    }
    if (m_stopping) {
        closeInput();
        return;
    }
    switch (m_step) {
    case Step::Open:
    case Step::Cancel:
    case Step::Next:
        send(Step::Pick,
             {script::steps::Query{
                 QStringLiteral("SELECT Nc_Folio AS \"F\" FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Linea = 1 AND "
                                "Es_Cve_Estado = 'AC' AND Co_Folio LIKE 'L%' ORDER BY RANDOM() LIMIT 3")}},
             1);
        return;
    case Step::Pick:
        m_picks.clear();
        for (const QJsonValue &row : last.value(QLatin1String("rows")).toArray())
            m_picks << row.toObject().value(QLatin1String("F")).toString();
        intake();
        return;
    case Step::Intake:
        if (refused) { // the purchase was not taken in (a lost connection): start again
            leaveEdition(last);
            send(Step::Next, {script::steps::Messages{}}, 1);
        } else {
            grant();
        }
        return;
    case Step::Grant:
    case Step::Modify:
        m_tally.count(m_step == Step::Grant ? QStringLiteral("purchase taken in") : QStringLiteral("note modified"));
        m_modifying = m_step == Step::Modify;
        send(Step::Save, {click(controls::Command::Aceptar), script::steps::Messages{}}, 1);
        return;
    case Step::Save:
        if (m_modifying)
            showFolio(Step::ShowForCancel, 2);
        else
            showFolio(Step::Show, 0);
        return;
    case Step::Show:
        showFolio(Step::ShowForModify, 1);
        return;
    case Step::ShowForModify:
    case Step::ShowForCancel: {
        m_shownMessages = QString::fromUtf8(
            QJsonDocument(last.value(QLatin1String("messages")).toArray()).toJson(QJsonDocument::Compact));
        const QJsonObject toolbar = last.value(QLatin1String("toolbar")).toObject();
        const bool modify = m_step == Step::ShowForModify;
        if (!modify && m_random.bounded(2) == 0) { // half the cycles cancel nothing: notes pile up
            send(Step::Next, {script::steps::Messages{}}, 1);
            return;
        }
        if (!toolbar.value(QLatin1String(modify ? "modify" : "cancel")).toBool()) {
            // Cancelled (or replaced) by another clerk since it was drawn.
            m_tally.count(modify ? QStringLiteral("modify skipped: note no longer live")
                                 : QStringLiteral("cancel skipped: note no longer live"));
            if (modify)
                showFolio(Step::ShowForCancel, 2);
            else
                send(Step::Next, {script::steps::Messages{}}, 1);
            return;
        }
        if (modify)
            send(Step::Edit, {click(controls::Command::Modificar), script::steps::Dump{}}, 1);
        else
            send(Step::Cancel,
                 {script::steps::Confirm{true}, click(controls::Command::Eliminar), script::steps::Messages{}}, 1);
        return;
    }
    case Step::Edit: {
        const bool noLines =
            !refused && last.value(QLatin1String("grid")).toObject().value(QLatin1String("rows")).toArray().isEmpty();
        if (noLines)
            m_tally.unexpected(QStringLiteral("a note being modified with no lines"),
                               QStringLiteral("clerk %1: note %2, shown with the messages %3")
                                   .arg(m_number)
                                   .arg(m_picks.value(1), m_shownMessages));
        if (refused || noLines) {
            leaveEdition(last);
            showFolio(Step::ShowForCancel, 2);
        } else {
            send(Step::Modify,
                 {script::steps::Page{1}, bonusCell(randomBetween(1, m_setup.rowsEach), randomBetween(5, 60)),
                  script::steps::Messages{}},
                 1);
        }
        return;
    }
    }
}

void Clerk::intake()
{
    ++m_notes;
    const QString purchase = m_setup.purchases.at(randomBetween(0, int(m_setup.purchases.size()) - 1));
    send(Step::Intake,
         {click(controls::Command::Nuevo), script::steps::Type{QStringLiteral("txt_Co_Folio"), purchase},
          script::steps::Enter{QStringLiteral("txt_Co_Folio")},
          script::steps::Type{QStringLiteral("txt_Cn_Cve_Causa_Nota"), QStringLiteral("BC")},
          script::steps::Enter{QStringLiteral("txt_Cn_Cve_Causa_Nota")},
          script::steps::Type{QStringLiteral("txt_Nc_Referencia"), QStringLiteral("L%1-%2").arg(m_number).arg(m_notes)},
          script::steps::Dump{}},
         1);
}

// A note left being edited by a step that failed is abandoned.
void Clerk::leaveEdition(const QJsonObject &dump)
{
    if (dump.value(QLatin1String("toolbar")).toObject().value(QLatin1String("EnEdicion")).toBool())
        write({cancel()});
}

// The bonuses, once the purchase is in the grid.
void Clerk::grant()
{
    send(Step::Grant,
         {script::steps::Page{1},
          script::steps::Prorate{
              script::ProrateStep{QString::number(randomBetween(20, 150)), 3, script::ProrateAction::Accept}},
          click(controls::Command::Opcional), bonusCell(randomBetween(1, m_setup.rowsEach), randomBetween(5, 60)),
          script::steps::Messages{}},
         1);
}

// Shows the drawn note `pick`; a step with no note drawn goes on to the next one.
void Clerk::showFolio(Step step, int pick)
{
    if (pick >= m_picks.size()) {
        if (step == Step::Show)
            showFolio(Step::ShowForModify, 1);
        else if (step == Step::ShowForModify)
            showFolio(Step::ShowForCancel, 2);
        else
            send(Step::Next, {script::steps::Messages{}}, 1);
        return;
    }
    const QString folio = m_picks.at(pick);
    send(step,
         {script::steps::Type{QStringLiteral("txtFolio"), folio}, script::steps::Enter{QStringLiteral("txtFolio")},
          step == Step::Show ? script::StepAction{script::steps::Messages{}}
                             : script::StepAction{script::steps::Dump{}}},
         1);
}

} // namespace qmx44::load

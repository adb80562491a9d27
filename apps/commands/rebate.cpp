// `qmx44 rebate ...`: a volume rebate without the window. It reads the eligible lines,
// spreads the amount, saves the notes and prints one JSON line; or cancels a stored run,
// or prints one. A refusal (nothing written) prints {"error": ...} and ends with status 1.
#include "apps/cli.h"
#include "apps/command.h"
#include "apps/host_setup.h"
#include "platform/core/message.h"
#include "platform/host/platform_context.h"
#include "platform/services/session.h"
#include "rebate/volume_rebate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace qmx44::apps {

namespace {

// What the save says to the clerk besides its outcome (a lost connection, a warning)
// goes into the printed line.
class CollectingSink : public MessageSink {
public:
    int show(const Message &m) override
    {
        messages.append(QJsonObject{{QStringLiteral("id"), m.id}, {QStringLiteral("text"), m.text}});
        return 1;
    }
    QJsonArray messages;
};

QDate dateOption(QStringList &args, const char *name, bool required)
{
    const auto value = takeOption(args, QLatin1String(name));
    if (!value) {
        if (required)
            throw UsageError{QStringLiteral("--%1 YYYY-MM-DD is missing").arg(QLatin1String(name))};
        return {};
    }
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate d = QDate::fromString(*value, Qt::ISODate);
    if (!shape.match(*value).hasMatch() || !d.isValid())
        throw UsageError{QStringLiteral("--%1 takes a date YYYY-MM-DD, not '%2'").arg(QLatin1String(name), *value)};
    return d;
}

double money(std::int64_t cents)
{
    return double(cents) / 100.0;
}

QJsonObject runJson(const rebate::RebateRun &run)
{
    const rebate::RebateParameters &p = run.parameters;
    QJsonArray notes;
    for (const rebate::RunNote &n : run.notes)
        notes.append(QJsonObject{{QStringLiteral("folio"), n.folio},
                                 {QStringLiteral("purchase"), n.purchase},
                                 {QStringLiteral("subtotal"), n.subtotal},
                                 {QStringLiteral("tax"), n.tax},
                                 {QStringLiteral("total"), n.total},
                                 {QStringLiteral("cancelled"), n.cancelled}});
    QJsonObject o{{QStringLiteral("run"), run.folio},
                  {QStringLiteral("supplier"), p.supplier},
                  {QStringLiteral("from"), p.from.toString(Qt::ISODate)},
                  {QStringLiteral("to"), p.to.toString(Qt::ISODate)},
                  {QStringLiteral("currency"), p.currency},
                  {QStringLiteral("cause"), p.cause},
                  {QStringLiteral("reference"), p.reference},
                  {p.percent ? QStringLiteral("percent") : QStringLiteral("amount"), p.value},
                  {QStringLiteral("basis"),
                   p.basis == rebate::Basis::Amount ? QStringLiteral("amount") : QStringLiteral("control")},
                  {QStringLiteral("granted"), money(run.granted)},
                  {QStringLiteral("unplaced"), money(run.unplaced)},
                  {QStringLiteral("user"), run.user},
                  {QStringLiteral("registered"), run.registered.toString(Qt::ISODate)},
                  {QStringLiteral("cancelled"), run.cancelled},
                  {QStringLiteral("notes"), notes}};
    if (run.cancelled) {
        o.insert(QStringLiteral("cancelled_by"), run.cancelledBy);
        o.insert(QStringLiteral("cancelled_at"), run.cancelledAt.toString(Qt::ISODate));
    }
    return o;
}

int print(QJsonObject o, const CollectingSink &sink, bool ok)
{
    if (!sink.messages.isEmpty())
        o.insert(QStringLiteral("messages"), sink.messages);
    printOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
    return ok ? kExitOk : kExitFailure;
}

int refused(const QString &error, const CollectingSink &sink)
{
    return print(QJsonObject{{QStringLiteral("error"), error}}, sink, false);
}

rebate::RebateParameters parameters(QStringList &args)
{
    rebate::RebateParameters p;
    const auto required = [&](const char *name) {
        const auto v = takeOption(args, QLatin1String(name));
        if (!v)
            throw UsageError{QStringLiteral("--%1 is missing").arg(QLatin1String(name))};
        return *v;
    };
    p.supplier = required("supplier");
    p.cause = required("cause");
    // Empty, never null: the run stores no reference as an empty one.
    p.reference = takeOption(args, QStringLiteral("reference")).value_or(QString::fromLatin1("", 0));
    p.currency = takeOption(args, QStringLiteral("currency")).value_or(QString());
    p.token = takeOption(args, QStringLiteral("token")).value_or(QString());
    p.from = dateOption(args, "from", true);
    p.to = dateOption(args, "to", true);
    const auto amount = takeOption(args, QStringLiteral("amount"));
    const auto percent = takeOption(args, QStringLiteral("percent"));
    if (amount.has_value() == percent.has_value())
        throw UsageError{QStringLiteral("give one of --amount and --percent")};
    bool number = false;
    p.percent = percent.has_value();
    p.value = (p.percent ? *percent : *amount).toDouble(&number);
    if (!number || p.value <= 0)
        throw UsageError{
            QStringLiteral("--%1 takes a positive number, not '%2'")
                .arg(p.percent ? QStringLiteral("percent") : QStringLiteral("amount"), p.percent ? *percent : *amount)};
    const QString basis = takeOption(args, QStringLiteral("basis")).value_or(QStringLiteral("amount"));
    if (basis != u"amount" && basis != u"control")
        throw UsageError{QStringLiteral("--basis takes amount or control, not '%1'").arg(basis)};
    p.basis = basis == u"amount" ? rebate::Basis::Amount : rebate::Basis::ControlQuantity;
    return p;
}

int volumeRebate(const QStringList &arguments)
{
    QStringList args = arguments;
    const auto dbOption = takeOption(args, QStringLiteral("db"));
    const auto user = takeOption(args, QStringLiteral("user"));
    const auto cancel = takeOption(args, QStringLiteral("cancel"));
    const auto show = takeOption(args, QStringLiteral("show"));
    const QDate today = dateOption(args, "today", false);
    std::vector<std::pair<QString, QString>> fields;
    while (const auto field = takeOption(args, QStringLiteral("field"))) {
        const qsizetype equals = field->indexOf(u'=');
        if (equals <= 0)
            throw UsageError{QStringLiteral("--field takes NAME=VALUE, not '%1'").arg(*field)};
        fields.emplace_back(field->left(equals), field->mid(equals + 1));
    }
    if (cancel && show)
        throw UsageError{QStringLiteral("give at most one of --cancel and --show")};
    rebate::RebateParameters asked;
    if (!cancel && !show)
        asked = parameters(args);
    rejectUnknownOptions(args);
    if (!args.isEmpty())
        throw UsageError{QStringLiteral("unexpected argument %1").arg(args.first())};

    const QString connection = resolveConnection(dbOption);
    HeadlessCredentials credentials;
    auto started = startOn(connection, {user, /*signIn=*/true, /*usersNeeded=*/true}, credentials);
    if (!started)
        return kExitFailure;
    auto context =
        host::makePlatformContext(std::shared_ptr<db::Conexion>(std::move(started->database)), started->user);
    auto sink = std::make_shared<CollectingSink>();
    context->session->setMessageSink(sink);
    if (today.isValid())
        context->session->setFixedDate(today);
    rebate::VolumeRebate rebates(context->session);

    if (show) {
        const rebate::RebateRun run = rebates.run(*show);
        if (run.folio.isEmpty())
            return refused(QStringLiteral("there is no volume rebate %1").arg(*show), *sink);
        return print(runJson(run), *sink, true);
    }
    if (cancel) {
        const rebate::Outcome outcome = rebates.cancel(*cancel);
        if (!outcome.ok)
            return refused(outcome.error, *sink);
        return print(
            QJsonObject{{QStringLiteral("run"), rebates.run(*cancel).folio}, {QStringLiteral("cancelled"), true}},
            *sink, true);
    }
    std::vector<rebate::EligibleLine> lines = rebates.eligible(asked);
    const rebate::SpreadOutcome spread = rebate::VolumeRebate::spreadOver(asked, lines);
    const rebate::Outcome outcome = rebates.save(asked, lines, fields);
    if (!outcome.ok)
        return refused(outcome.error, *sink);
    QJsonObject o = runJson(rebates.run(outcome.folio));
    o.insert(QStringLiteral("lines"), qint64(lines.size()));
    o.insert(QStringLiteral("asked"), money(spread.asked));
    return print(o, *sink, true);
}

} // namespace

QMX44_COMMAND("rebate",
              "[--db CONNECTION] [--user USER] --supplier P --from YYYY-MM-DD --to YYYY-MM-DD --cause C "
              "[--reference R] (--amount X | --percent X) [--basis amount|control] [--currency M] "
              "[--field NAME=VALUE]... [--token T] [--today YYYY-MM-DD] | --cancel FOLIO | --show FOLIO",
              "grants a volume rebate over a supplier's purchase lines of a period (one note per purchase, all or "
              "none), cancels a stored one or shows it; prints one JSON line",
              "--db CONNECTION\tthe database (default: $QMX44_DB, the configuration file, then the demo database)\n"
              "--user USER\twho grants it (on a server, the login's own user)\n"
              "--supplier P\tthe supplier\n"
              "--from YYYY-MM-DD\tthe first purchase date of the period\n"
              "--to YYYY-MM-DD\tthe last purchase date of the period\n"
              "--cause C\tthe cause of every note\n"
              "--reference R\tthe reference of every note\n"
              "--amount X\tthe amount to spread, in the purchases' currency\n"
              "--percent X\tor a percent of the eligible lines' amount\n"
              "--basis amount|control\twhat it is spread in proportion to (default amount)\n"
              "--currency M\tonly purchases in this currency (default: the supplier's)\n"
              "--field NAME=VALUE\tan additional field of every note (again for each field)\n"
              "--token T\tthe run's own token: run again with the same token after an answer that was lost, "
              "it answers the run saved then instead of granting it twice\n"
              "--today YYYY-MM-DD\tfixes the working date, the notes' date (default: today)\n"
              "--cancel FOLIO\tcancels every note of the stored rebate FOLIO, all or none\n"
              "--show FOLIO\tprints the stored rebate FOLIO and its notes",
              volumeRebate);

} // namespace qmx44::apps

// The steps of the scenario language that the runner carries out itself: the database,
// the host's settings and what is printed (a search is driven, then printed here).
#include "apps/script/host_tables.h"
#include "apps/script/script_runner.h"
#include "apps/script/state_dump.h"
#include "platform/controls/clipboard.h"
#include "screen/field_names.h"

namespace qmx44::apps::script {

// ---- the database and the host's settings ----------------------------------------------

void ScriptRunner::exec(const steps::Exec &s)
{
    try {
        m_host.connection().execute(s.sql)->close();
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
}

void ScriptRunner::query(const steps::Query &s)
{
    Json rows = Json::array();
    try {
        auto rs = m_host.connection().execute(s.sql);
        const QStringList columns = rs->columns();
        for (; !rs->eof(); rs->moveNext()) {
            Json row = Json::object();
            for (const QString &c : columns)
                row[c.toStdString()] = jsonValue(rs->field(c));
            rows.push_back(std::move(row));
        }
        rs->close();
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
    Json out;
    out["query"] = jsonText(s.sql);
    out["rows"] = std::move(rows);
    print(out);
}

void ScriptRunner::user(const steps::User &s)
{
    m_host.session().setBranch(s.branch);
    m_host.session().setWarehouse(s.warehouse);
}

void ScriptRunner::param(const steps::Param &s)
{
    try {
        writeParameter(m_host.connection(), s.name, s.value);
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
}

void ScriptRunner::right(const steps::Right &s)
{
    // The screen asks its rights under its module tag.
    m_host.session().setPermission(screen::ModuleTag, s.key, s.granted);
}

void ScriptRunner::rate(const steps::Rate &s)
{
    try {
        writeExchangeRate(m_host.connection(), s.currency, s.from, s.value);
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
}

void ScriptRunner::period(const steps::Period &s)
{
    try {
        writePeriodo(m_host.connection(), s.module, s.from, s.to, s.open);
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
}

void ScriptRunner::fail(const steps::Fail &s)
{
    m_host.session().faults().arm(s.operation, s.text);
}

// ---- output ---------------------------------------------------------------------------------

void ScriptRunner::dump()
{
    m_driver.settle();
    if (!m_host.hasForm())
        throw ScriptError{QStringLiteral("no form is open (use open first)")};
    Json out = m_host.formState();
    out["messages"] = messagesJson(m_host.takeNewMessages(), [this](qint64 h) { return m_host.ownerName(h); });
    out["printed"] = m_host.printedJson();
    out["queried"] = m_host.queriedJson();
    print(out);
}

void ScriptRunner::search(const steps::Search &s)
{
    const SearchShown shown = m_driver.search(s);
    m_driver.settle();
    const auto texts = [](const QStringList &list) {
        Json out = Json::array();
        for (const QString &t : list)
            out.push_back(jsonText(t));
        return out;
    };
    Json rows = Json::array();
    for (const QStringList &row : shown.rows)
        rows.push_back(texts(row));
    Json out;
    out["search"] = jsonText(s.field);
    out["filter"] = jsonText(s.filter);
    out["columns"] = texts(shown.columns);
    out["rows"] = std::move(rows);
    out["more"] = shown.more;
    print(out);
}

void ScriptRunner::messages()
{
    m_driver.settle();
    Json out;
    out["messages"] = messagesJson(m_host.takeNewMessages(), [this](qint64 h) { return m_host.ownerName(h); });
    print(out);
}

void ScriptRunner::preview()
{
    m_driver.settle();
    if (!m_host.liveForm() || !m_host.formOpen())
        throw ScriptError{QStringLiteral("no form is open (use open first)")};
    Json out;
    out["preview"] = previewJson(m_host.form());
    print(out);
}

void ScriptRunner::clipboard(const steps::Clipboard &s)
{
    m_driver.settle();
    if (s.text) {
        controls::Clipboard::setText(*s.text);
        return;
    }
    Json out;
    out["clipboard"] = controls::Clipboard::text().toStdString();
    print(out);
}

} // namespace qmx44::apps::script

#include "screen/draft_journal.h"

#include "platform/controls/keys.h"
#include "platform/core/error.h"
#include "platform/core/log.h"
#include "screen/detail_columns.h"
#include "screen/draft_store.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

#include <QCryptographicHash>
#include <QLocale>

namespace qmx44::screen {

namespace {

const QString TitleCompany = QStringLiteral("Orvalis");
const QString TitleAttention = QStringLiteral("Atención");

// The header fields a clerk types, in the order they are typed again: the date first, as
// the purchase's exchange rate is that of the note's date.
const QString *const TypedFields[] = {&fields::txt_Nc_Tipo_Cambio, &fields::txt_Cn_Cve_Causa_Nota,
                                      &fields::txt_Nc_Referencia, &fields::txt_Comentario};

// The shortest text that reads back as the same number, without an exponent (a bonus
// cell takes digits and one point).
QString numberText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

double cellNumber(const controls::Grid &grid, int row, int column)
{
    return grid.cellValue(row, column).toDouble();
}

} // namespace

DraftJournal::DraftJournal(FrmQMX44 &frm, std::unique_ptr<DraftStore> store) : m_frm(frm), m_store(std::move(store))
{
    watch(frm.Controles());
    watch(frm.dpFecha());
    watch(frm.txtFolio());
    watch(frm.txt_Co_Folio());
    for (const QString *name : TypedFields)
        watch(frm.textField(*name));
    controls::Grid &grid = frm.ssDetalle();
    m_tickets.emplace_back(&grid, grid.observers().add([this](const controls::ModelChange &change) {
        if (change.aspect == controls::Aspect::Rows
            || (change.aspect == controls::Aspect::Cell && change.row < 0 && change.column < 0)) {
            m_percentRows.clear();
            m_linesChanged = true;
            changed();
        } else if (change.aspect == controls::Aspect::Cell && change.column >= 0) {
            gridChanged(change.row, change.column);
        }
    }));
}

DraftJournal::~DraftJournal()
{
    for (const auto &[control, ticket] : m_tickets)
        control->observers().remove(ticket);
}

void DraftJournal::watch(controls::Control &control)
{
    m_tickets.emplace_back(&control, control.observers().add([this](const controls::ModelChange &change) {
        if (change.aspect == controls::Aspect::Text || change.aspect == controls::Aspect::Commands)
            changed();
    }));
}

void DraftJournal::gridChanged(int row, int column)
{
    const controls::Grid &grid = m_frm.ssDetalle();
    const int percent = grid.columnIndex(columns::BON_PORCENTAJE);
    const int amount = grid.columnIndex(columns::BON_IMPORTE);
    if (column != percent && column != amount) {
        m_linesChanged = true;
    } else {
        // The cell being typed says how the clerk gave the bonus; an amount written by
        // code (the proration) makes it an amount.
        const bool typing = grid.editing() && row == grid.currentRow();
        if (typing && column == grid.currentColumn()) {
            if (column == percent)
                m_percentRows.insert(row);
            else
                m_percentRows.remove(row);
        } else if (!typing && column == amount) {
            m_percentRows.remove(row);
        }
    }
    changed();
}

void DraftJournal::changed()
{
    if (!m_active || m_replaying || m_scheduled)
        return;
    // Written once the event that changed it is over: a purchase of thousands of lines
    // filling the grid, or a proration writing every row, is one draft, not thousands.
    m_scheduled = true;
    QMetaObject::invokeMethod(
        this, [this] { flush(); }, Qt::QueuedConnection);
}

void DraftJournal::begin()
{
    m_active = true;
    m_written.clear();
    changed();
}

void DraftJournal::discard()
{
    m_active = false;
    m_written.clear();
    m_store->remove();
}

void DraftJournal::close()
{
    if (m_scheduled)
        flush();
    m_active = false;
}

void DraftJournal::flush()
{
    m_scheduled = false;
    if (!m_active || m_replaying || !m_store->owned() || !m_frm.Controles().EnEdicion())
        return;
    Draft draft = capture();
    const QByteArray inputs = draft.toJson(false);
    if (inputs == m_written)
        return;
    draft.written = QDateTime::currentDateTime();
    try {
        m_store->write(draft.toJson());
        m_written = inputs;
    } catch (const std::exception &e) {
        // The note goes on being entered; it is only not kept. Said once, in the log.
        if (!m_writeFailed)
            log::warning(QStringLiteral("the draft %1 cannot be written: %2").arg(m_store->path(), describe(e)));
        m_writeFailed = true;
    }
}

QString DraftJournal::lineKey(const FrmQMX44 &frm, int row)
{
    const controls::Grid &grid = frm.ssDetalle();
    QStringList parts;
    for (const QString *name : {&columns::Pr_Cve_Producto, &columns::Tl_Cve_Talla, &columns::Cl_Cve_Color,
                                &columns::Unidad_1, &columns::Impuesto_Factor})
        parts << grid.cellText(row, grid.columnIndex(*name));
    return parts.join(QLatin1Char('|'));
}

QString DraftJournal::linesDigest(const FrmQMX44 &frm)
{
    const controls::Grid &grid = frm.ssDetalle();
    const int base = grid.columnIndex(columns::Precio_Descontado_Importe);
    const int pending = grid.columnIndex(columns::Pending);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int row = 0; row < grid.rowCount(); ++row) {
        hash.addData(lineKey(frm, row).toUtf8());
        hash.addData(numberText(cellNumber(grid, row, base)).toUtf8());
        hash.addData(grid.cellText(row, pending).toUtf8());
        hash.addData("\n");
    }
    return QString::fromLatin1(hash.result().toHex());
}

Draft DraftJournal::capture()
{
    Draft d;
    controls::Toolbar &bar = m_frm.Controles();
    d.modifying = !bar.editingNew();
    if (d.modifying)
        d.noteFolio = m_frm.txtFolio().text();
    d.purchase = m_frm.txt_Co_Folio().text();
    const controls::Grid &grid = m_frm.ssDetalle();
    d.purchaseTaken = grid.rowCount() > 0;
    if (m_linesChanged) {
        m_lines = linesDigest(m_frm);
        m_linesChanged = false;
    }
    d.lines = m_lines;
    if (m_frm.dpFecha().enabled())
        d.fields.emplace_back(fields::dpFecha, m_frm.dpFecha().value().toString(Qt::ISODate));
    for (const QString *name : TypedFields) {
        const controls::TextField &field = m_frm.textField(*name);
        if (field.enabled() && !field.locked())
            d.fields.emplace_back(*name, field.isCurrency() ? numberText(field.value().toDouble()) : field.text());
    }
    const int percent = grid.columnIndex(columns::BON_PORCENTAJE);
    const int amount = grid.columnIndex(columns::BON_IMPORTE);
    for (int row = 0; row < grid.rowCount(); ++row) {
        const double value = cellNumber(grid, row, amount);
        // A modified note's lines all count: one set back to 0 must stay 0.
        if (value == 0 && !d.modifying)
            continue;
        const bool asPercent = m_percentRows.contains(row);
        d.bonuses.push_back({row, lineKey(m_frm, row), asPercent, asPercent ? cellNumber(grid, row, percent) : value});
    }
    try {
        for (const controls::AdditionalFieldDef &def : bar.additionalFields().definitions()) {
            const QString value = bar.additionalField(def.field);
            if (!value.isEmpty())
                d.additional.emplace_back(def.field, value);
        }
    } catch (const std::exception &) {
        // No definitions to be had (no database): no additional fields either.
    }
    return d;
}

void DraftJournal::offerLater()
{
    QMetaObject::invokeMethod(
        this, [this] { offer(); }, Qt::QueuedConnection);
}

void DraftJournal::offer()
{
    if (!m_store->owned())
        return;
    Draft draft;
    try {
        const std::optional<QByteArray> text = m_store->read();
        if (!text)
            return;
        draft = Draft::fromJson(*text);
    } catch (const std::exception &e) {
        const QString aside = m_store->setAside();
        warn(QStringLiteral("La nota en captura sin guardar no se pudo leer (%1) y se apartó%2.")
                 .arg(describe(e), aside.isEmpty() ? QString() : QStringLiteral(" como ") + aside),
             TitleCompany, QStringLiteral("ERR-ID:7500036"));
        return;
    }
    const QString question = QStringLiteral("Hay una nota en captura sin guardar del %1 ¿Recuperarla?")
                                 .arg(draft.written.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    if (!m_frm.Controles().confirm(QStringLiteral("Nota sin guardar"), question)) {
        m_store->remove();
        return;
    }
    try {
        replay(draft);
    } catch (const std::exception &e) {
        m_replaying = false;
        warn(describe(e), QStringLiteral("Recuperar la nota"), QString());
    }
    changed();
}

bool DraftJournal::typeInto(controls::Control &field, const QString &text)
{
    if (!field.setFocus() || !field.hasFocus())
        return false;
    if (auto *date = dynamic_cast<controls::DateField *>(&field))
        return date->typeDate(text);
    static_cast<controls::TextField &>(field).selectAll();
    m_frm.form().typeText(text);
    return true;
}

void DraftJournal::replay(const Draft &draft)
{
    m_replaying = true;
    controls::Toolbar &bar = m_frm.Controles();
    controls::Form &form = m_frm.form();
    if (draft.modifying) {
        typeInto(m_frm.txtFolio(), draft.noteFolio);
        form.keyStroke(controls::keys::Enter);
        if (!bar.available(controls::Command::Modificar)) {
            m_replaying = false;
            m_store->remove();
            warn(QStringLiteral("La nota %1 ya no se puede modificar: la nota en captura no se recuperó.")
                     .arg(draft.noteFolio),
                 TitleAttention, QStringLiteral("ERR-ID:7500038"));
            return;
        }
        bar.click(controls::Command::Modificar);
    } else {
        bar.click(controls::Command::Nuevo);
    }

    for (const auto &[name, text] : draft.fields)
        if (name == fields::dpFecha && m_frm.dpFecha().enabled()
            && m_frm.dpFecha().value().toString(Qt::ISODate) != text)
            typeInto(m_frm.dpFecha(), text);
    if (!draft.modifying && !draft.purchase.isEmpty()) {
        typeInto(m_frm.txt_Co_Folio(), draft.purchase);
        if (draft.purchaseTaken)
            form.keyStroke(controls::keys::Enter);
    }
    bool changedMeanwhile = draft.purchaseTaken && linesDigest(m_frm) != draft.lines;

    controls::TextField *last = nullptr;
    for (const auto &[name, text] : draft.fields) {
        auto *field = dynamic_cast<controls::TextField *>(form.find(name));
        if (!field || !field->enabled() || field->locked())
            continue;
        const QString now = field->isCurrency() ? numberText(field->value().toDouble()) : field->text();
        if (now != text && typeInto(*field, text))
            last = field;
    }
    if (last)
        last->commit();

    controls::Grid &grid = m_frm.ssDetalle();
    if (!draft.bonuses.empty() && grid.rowCount() > 0) {
        m_frm.ssTabFichas().setActivePage(1);
        grid.setFocus();
        for (const DraftBonus &bonus : draft.bonuses) {
            int row = bonus.row < grid.rowCount() && lineKey(m_frm, bonus.row) == bonus.line ? bonus.row : -1;
            for (int r = 0; row < 0 && r < grid.rowCount(); ++r)
                if (lineKey(m_frm, r) == bonus.line)
                    row = r;
            if (row < 0) {
                changedMeanwhile = true;
                continue;
            }
            const int column = grid.columnIndex(bonus.percent ? columns::BON_PORCENTAJE : columns::BON_IMPORTE);
            if (cellNumber(grid, row, column) != bonus.value || !grid.cellValue(row, column).isValid())
                grid.editCell(row, column, QStringLiteral("\b") + numberText(bonus.value));
        }
    }
    for (const auto &[field, value] : draft.additional)
        bar.setAdditionalField(field, value);
    m_replaying = false;

    if (changedMeanwhile)
        warn(QStringLiteral("La compra %1 cambió después de capturar la nota (está cancelada, o sus partidas o sus "
                            "pendientes son otros): revise las bonificaciones antes de guardar.")
                 .arg(m_frm.txt_Co_Folio().text().isEmpty() ? draft.purchase : m_frm.txt_Co_Folio().text()),
             TitleAttention, QStringLiteral("ERR-ID:7500037"));
}

void DraftJournal::warn(const QString &text, const QString &title, const QString &id)
{
    showMessage(m_frm, text, id.isEmpty() ? MessageStyle::Error : MessageStyle::Warning, title, id);
}

} // namespace qmx44::screen

#include "apps/script/state_dump.h"

#include "platform/controls/date_field.h"
#include "platform/controls/decor.h"
#include "platform/controls/grid.h"
#include "platform/controls/tab_control.h"
#include "platform/controls/text_field.h"
#include "platform/controls/toolbar.h"
#include "screen/field_names.h"

namespace qmx44::apps::script {

namespace {

namespace fields = screen::fields;

template <class T>
const T *control(const controls::Form &form, const QString &name)
{
    return dynamic_cast<const T *>(form.find(name));
}

// A grid cell as printed: numbers as numbers, dates as YYYY-MM-DD, "" for an empty cell;
// a number cell whose typed text does not read as a number shows that text.
Json cellJson(const controls::Grid &grid, int row, int column)
{
    const QVariant v = grid.cellValue(row, column);
    if (!v.isValid() || v.isNull())
        return jsonText(grid.cellText(row, column));
    return jsonValue(v);
}

} // namespace

Json formJson(const controls::Form &form, bool loaded)
{
    Json out;
    const auto *tab = control<controls::TabControl>(form, fields::ssTabFichas);
    out["page"] = tab ? tab->activePage() : 0;
    out["focus"] = jsonText(form.focused() ? form.focused()->name() : QString());
    out["loaded"] = loaded;
    return out;
}

Json fieldsJson(const controls::Form &form)
{
    Json out = Json::object();
    for (const auto &c : form.controls()) {
        if (const auto *field = dynamic_cast<const controls::TextField *>(c.get())) {
            Json f;
            f["text"] = jsonText(field->text());
            if (field->isCurrency())
                f["value"] = jsonNumber(field->value().toDouble());
            f["enabled"] = field->enabled();
            f["locked"] = field->locked();
            f["tag"] = jsonText(field->tag());
            out[field->name().toStdString()] = std::move(f);
        } else if (const auto *date = dynamic_cast<const controls::DateField *>(c.get())) {
            Json f;
            f["value"] = jsonText(date->text());
            f["enabled"] = date->enabled();
            out[date->name().toStdString()] = std::move(f);
        }
    }
    return out;
}

Json controlsJson(const controls::Form &form)
{
    Json out = Json::object();
    for (const QString &name : {fields::ssTabFichas, fields::fr0, fields::fr1, fields::sh0, fields::sh1,
                                fields::ssDetalle, fields::frTotal}) {
        const controls::Control *c = form.find(name);
        if (!c)
            continue;
        Json g;
        g["left"] = jsonFloat(c->left());
        g["top"] = jsonFloat(c->top());
        g["width"] = jsonFloat(c->width());
        g["height"] = jsonFloat(c->height());
        if (c->kind() == controls::ControlKind::Frame)
            g["enabled"] = c->enabled();
        out[name.toStdString()] = std::move(g);
    }
    return out;
}

Json gridJson(const controls::Form &form)
{
    Json out;
    Json rows = Json::array();
    const auto *grid = control<controls::Grid>(form, fields::ssDetalle);
    if (grid) {
        for (int r = 0; r < grid->rowCount(); ++r) {
            Json row = Json::object();
            for (int c = 0; c < grid->columnCount(); ++c)
                row[grid->columnDef(c).name.toStdString()] = cellJson(*grid, r, c);
            // A row's pending mark, only where it is set.
            if (grid->rowMarked(r))
                row["marked"] = true;
            rows.push_back(std::move(row));
        }
    }
    out["rows"] = std::move(rows);
    const bool hasRow = grid && grid->rowCount() > 0 && grid->currentRow() >= 0;
    out["row"] = hasRow ? grid->currentRow() + 1 : 0;
    const bool hasColumn = grid && grid->currentColumn() >= 0 && grid->currentColumn() < grid->columnCount();
    out["column"] = jsonText(hasColumn ? grid->columnDef(grid->currentColumn()).name : QString());
    return out;
}

Json toolbarJson(const controls::Form &form)
{
    Json out = Json::object();
    const auto *tb = control<controls::Toolbar>(form, fields::Controles);
    if (!tb)
        return out;
    out["print"] = tb->printEnabled();
    out["query"] = tb->queryEnabled();
    out["modify"] = tb->modifyEnabled();
    out["cancel"] = tb->deleteEnabled();
    out["fifth"] = tb->newEnabled();
    out["optional_caption"] = jsonText(tb->optionalCaption());
    out["Folio"] = jsonText(tb->Folio());
    out["Importe"] = jsonNumber(tb->Importe());
    out["Proveedor"] = jsonText(tb->Proveedor());
    out["EnEdicion"] = tb->EnEdicion();
    return out;
}

Json membersJson(const QObject *formObject)
{
    Json out;
    for (const char *name : {"ImporteCompra", "IdDireccion", "BaseSubTotal", "BaseImpuestos", "TotalNota"})
        out[name] = formObject ? jsonValue(formObject->property(name)) : Json(nullptr);
    return out;
}

Json previewJson(const controls::Form &form)
{
    Json out = Json::array();
    for (int r = 0; r < fields::EffectRows; ++r) {
        Json row = Json::array();
        bool shown = false;
        for (int c = 0; c < fields::EffectColumns; ++c) {
            const auto *label = control<controls::Label>(form, fields::effectLabel(r, c));
            const QString text = label ? label->caption() : QString();
            shown = shown || !text.isEmpty();
            row.push_back(jsonText(text));
        }
        if (shown)
            out.push_back(std::move(row));
    }
    return out;
}

Json messagesJson(const std::vector<Message> &messages, const std::function<QString(qint64)> &ownerName)
{
    Json out = Json::array();
    for (const Message &m : messages) {
        Json j;
        j["text"] = jsonText(m.text);
        j["style"] = m.style;
        j["title"] = jsonText(m.title);
        j["owner"] = jsonText(ownerName(m.owner));
        j["module"] = jsonText(m.module);
        j["id"] = jsonText(m.id);
        out.push_back(std::move(j));
    }
    return out;
}

Json formStateJson(const controls::Form &form, bool loaded, const QObject *formObject)
{
    Json out;
    out["form"] = formJson(form, loaded);
    out["fields"] = fieldsJson(form);
    out["controls"] = controlsJson(form);
    out["grid"] = gridJson(form);
    out["toolbar"] = toolbarJson(form);
    out["members"] = membersJson(formObject);
    return out;
}

} // namespace qmx44::apps::script

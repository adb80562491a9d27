#pragma once
// The `dump` object's parts that describe the main form: the form, every field, the
// geometry of the main containers, the detail grid, the toolbar and the form's members.
#include "apps/script/json_values.h"
#include "platform/controls/form.h"
#include "platform/core/message.h"

#include <QObject>
#include <functional>
#include <vector>

namespace qmx44::apps::script {

// {"page", "focus", "loaded"}.
Json formJson(const controls::Form &form, bool loaded);
// Every text field ({"text", "value" for amounts, "enabled", "locked", "tag"}) and date
// field ({"value", "enabled"}), in the form's order.
Json fieldsJson(const controls::Form &form);
// Position and size of ssTabFichas, fr0, fr1, sh0, sh1, ssDetalle and frTotal; frames
// add "enabled".
Json controlsJson(const controls::Form &form);
// {"rows": [...all columns...], "row": current row from 1 (0 when empty), "column"}.
Json gridJson(const controls::Form &form);
// Availability flags, optional caption and document context of the toolbar Controles.
Json toolbarJson(const controls::Form &form);
// The members ImporteCompra, IdDireccion, BaseSubTotal, BaseImpuestos, TotalNota, read
// as the form object's Qt properties (null when the form has no such member).
Json membersJson(const QObject *formObject);
// The main form's whole state: {"form", "fields", "controls", "grid", "toolbar", "members"}.
Json formStateJson(const controls::Form &form, bool loaded, const QObject *formObject);
// The panel of what the note will do: one array of label texts per row (caption,
// before, this note, after), rows left empty out; [] when the form has no panel.
Json previewJson(const controls::Form &form);
// Each message with its owner window named by `ownerName`.
Json messagesJson(const std::vector<Message> &messages, const std::function<QString(qint64)> &ownerName);

} // namespace qmx44::apps::script

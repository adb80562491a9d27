#pragma once
// The main form frmQMX44 declared as data: every control with its container, position
// and size in twips, and design settings by their stored names. The control models are
// made from this table, in its order, which is also the tab order.
//
// Positions are relative to the control's container: the form for the toolbar, the
// folio field and the tab control; the page area of `ssTabFichas` for the frames and
// shapes of a page; the frame for what a frame holds. The tab control names the
// controls of each page in its setting "pagecontrols" (one string list per page), which
// views read through TabControl::extra().
#include "platform/controls/control.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>
#include <vector>

namespace qmx44::controls {
class Form;
}

namespace qmx44::screen {

// Design settings in the order they are applied (currency type before the text, so the
// design text is read as an amount).
using Settings = std::vector<std::pair<QString, QVariant>>;

struct ControlDesign {
    QString name;
    controls::ControlKind kind;
    QString container; // empty = the form
    double left = 0, top = 0, width = 0, height = 0;
    Settings settings;
};

// The catalogue behind the search of the fields whose `idconsulta` is `id`: a statement
// giving CLAVE and DESCRIPCION (and FECHA, TOTAL, ESTADO where they help), in the
// screen's dialect, without an order of its own (the search orders by CLAVE).
struct CatalogueDesign {
    QString id;
    QString statement;
};

struct FormDesign {
    QString name;
    QString caption;
    // The client area the positions were designed for.
    double clientWidth = 0, clientHeight = 0;
    std::vector<ControlDesign> controls;
    std::vector<CatalogueDesign> catalogues;
};

// frmQMX44: toolbar, folio row, tab control with its two pages, header fields with
// their labels, detail grid (its columns belong to the row format, put on by the
// intake layer) and totals frame.
const FormDesign &mainFormDesign();

// The catalogues of the folio, purchase and cause searches: notes and purchases of
// `branch` and `warehouse` only where these are not empty (the user's restriction).
std::vector<CatalogueDesign> catalogueDesigns(const QString &branch, const QString &warehouse);
// Registers them with `form`, replacing what it had (the first activation does, once the
// user's branch and warehouse are known).
void registerCatalogues(controls::Form &form, const QString &branch, const QString &warehouse);

// Creates the controls of `design` on `form`, applies their settings, registers its
// catalogues with the form and sets the form's caption and client size (no Resize
// handler is expected to be connected yet).
// Throws RuntimeError when a setting is not known to its control: a design typo must
// not pass unnoticed.
void buildForm(controls::Form &form, const FormDesign &design);

// The label that goes with a field: "lbl" + the field's name without its "txt"/"dp"
// prefix ("txtFolio" -> "lblFolio", "txt_Co_Folio" -> "lbl_Co_Folio").
QString labelNameFor(const QString &fieldName);

} // namespace qmx44::screen

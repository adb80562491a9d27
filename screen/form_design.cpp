// The design of frmQMX44: the header, folio and total fields as a table (label, label
// identifier, length, design state, settings, lookup), expanded with the toolbar, the
// tab control, frames, shapes and grid into one list of control designs; and the
// catalogues behind the fields' searches.
#include "screen/form_design.h"

#include "platform/controls/controls.h"
#include "platform/core/error.h"
#include "platform/db/sql_text.h"
#include "screen/field_names.h"

namespace qmx44::screen {

namespace {

using controls::ControlKind;

enum class State { Editable, Locked, Disabled };

// One row of a field's table: the field and the label in front of it.
struct Field {
    QString name;
    const char16_t *label; // caption, nullptr = no label
    const char *labelId;   // idetiqueta
    int length;            // maxlength, 0 = no limit
    State state;
    Settings settings; // the field's other settings
    const char *sql = nullptr;
    QString result = {}; // sql_control_resultado
};

// Where a field and its label go.
struct Place {
    QString container;
    double labelLeft, labelWidth;
    double left, top, width;
};

constexpr double FieldHeight = 315;
constexpr double LabelHeight = 255;

// Header rows of the page "Encabezado": two columns of label + field.
constexpr double RowTop0 = 240, RowStep = 405;
constexpr double LeftLabel = 120, LeftLabelWidth = 1500, LeftField = 1680;
constexpr double RightLabel = 6000, RightLabelWidth = 1400, RightField = 7440;

// A ten-character key with its search button beside the text.
constexpr double KeyWithSearchWidth = 1900;

constexpr double row(int r)
{
    return RowTop0 + RowStep * r;
}

Place left(int r, double width)
{
    return {fields::fr0, LeftLabel, LeftLabelWidth, LeftField, row(r), width};
}
Place right(int r, double width)
{
    return {fields::fr0, RightLabel, RightLabelWidth, RightField, row(r), width};
}
Place beside(int r, double x, double width)
{
    return {fields::fr0, 0, 0, x, row(r), width};
}

QString text(const char *s)
{
    return QString::fromUtf8(s);
}

const Settings Currency = {
    {QStringLiteral("tipodato"), 6},
    {QStringLiteral("text"), QStringLiteral("$0.0000")},
    {QStringLiteral("alignment"), QStringLiteral("right")},
    {QStringLiteral("subrayar"), true},
};

Settings plus(Settings base, const Settings &more)
{
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

// The mode groups of Utilerias.LimpiarControles / HabilitarControles. Group 1: what a
// purchase fills (branch, warehouse, supplier and its details, buyer, currency, exchange
// rate, their descriptions) and the three totals. Group 2: the note's own data (cause and
// its description, reference, comment). The folio fields and the date are in neither.
// "Typed": HabilitarControles also unlocks the field. The keys of group 1 stay locked,
// since a note's header comes from its purchase; descriptions and totals are derived.
const Settings Group1 = {{QStringLiteral("modegroup"), 1}};
const Settings Group1Typed = {{QStringLiteral("modegroup"), 1}, {QStringLiteral("modeunlock"), true}};
const Settings Group2 = {{QStringLiteral("modegroup"), 2}};
const Settings Group2Typed = {{QStringLiteral("modegroup"), 2}, {QStringLiteral("modeunlock"), true}};

const Settings Key = {{QStringLiteral("esclave"), true}, {QStringLiteral("mayusculas"), true}};
const std::pair<QString, QVariant> TabOnEnter{QStringLiteral("tabonenter"), true};

ControlDesign control(const QString &name, ControlKind kind, const QString &container, double l, double t, double w,
                      double h, Settings settings = {})
{
    return ControlDesign{name, kind, container, l, t, w, h, std::move(settings)};
}

// What a field is for, in the clerk's words, and the letter of its label that reaches it
// with Alt. Alt+A, Alt+C and Alt+V open the main window's menus and Alt+1, Alt+2 turn
// the pages, so no label uses them; page "Encabezado" has more labels than its captions
// have letters, so Domicilio and Días crédito share the D (Alt+D goes to each in turn),
// and the totals of page "Detalle" reuse letters of the other page, out of reach there.
struct Reach {
    const QString &field;
    char16_t mnemonic; // 0: no label
    const char16_t *hint;
};

const Reach Reaches[] = {
    {fields::txtFolio, u'F', u"Folio de la nota de crédito; F2 busca entre las notas guardadas"},
    {fields::dpFecha, u'H', u"Fecha de la nota de crédito"},
    {fields::txt_Co_Folio, u'O', u"Folio de la compra que se bonifica; F2 busca entre las compras"},
    {fields::txt_Sc_Cve_Sucursal, u'S', u"Clave de la sucursal de la compra"},
    {fields::txt_Sc_Descripcion, 0, u"Nombre de la sucursal"},
    {fields::txt_Al_Cve_Almacen, u'L', u"Clave del almacén de la compra"},
    {fields::txt_Al_Descripcion, 0, u"Nombre del almacén"},
    {fields::txt_Pv_Cve_Proveedor, u'P', u"Clave del proveedor de la compra"},
    {fields::txt_Pv_Descripcion, 0, u"Nombre del proveedor"},
    {fields::txt_Pv_Razon_Social, u'Z', u"Razón social del proveedor"},
    {fields::txt_Pv_Direccion_1, u'D', u"Domicilio de entrega del proveedor"},
    {fields::txt_Pv_R_F_C, u'R', u"RFC del proveedor"},
    {fields::txt_Pv_Dias_Credito, u'D', u"Días de crédito que da el proveedor"},
    {fields::txt_Credito_Disponible, u'I', u"Crédito disponible con el proveedor"},
    {fields::txt_Cm_Cve_Comprador, u'M', u"Clave del comprador de la compra"},
    {fields::txt_Cm_Descripcion, 0, u"Nombre del comprador"},
    {fields::txt_Mn_Cve_Moneda, u'N', u"Clave de la moneda de la compra"},
    {fields::txt_Mn_Descripcion, 0, u"Nombre de la moneda"},
    {fields::txt_Nc_Tipo_Cambio, u'B', u"Tipo de cambio de la moneda de la compra"},
    {fields::txt_Cn_Cve_Causa_Nota, u'U', u"Causa de la nota de crédito; F2 busca entre las causas"},
    {fields::txt_Cn_Descripcion, 0, u"Descripción de la causa"},
    {fields::txt_Nc_Referencia, u'E', u"Referencia de la nota, hasta 15 caracteres"},
    {fields::txt_Comentario, u'T', u"Comentario de la nota, hasta 50 caracteres"},
    {fields::txt_SubTotal, u'S', u"Bonificación antes de impuestos"},
    {fields::txt_Impuestos, u'I', u"Impuestos de la bonificación"},
    {fields::txt_Total, u'T', u"Total de la nota: bonificación más impuestos"},
};

const Reach &reachOf(const QString &field)
{
    for (const Reach &r : Reaches)
        if (r.field == field)
            return r;
    throw RuntimeError(QStringLiteral("%1: falta su descripción").arg(field));
}

// Appends the label (when there is one) and the field.
void addField(std::vector<ControlDesign> &out, const Field &f, const Place &p)
{
    const QString &name = f.name;
    const Reach &reach = reachOf(name);
    if (f.label) {
        out.push_back(ControlDesign{labelNameFor(name),
                                    ControlKind::Label,
                                    p.container,
                                    p.labelLeft,
                                    p.top + (FieldHeight - LabelHeight) / 2,
                                    p.labelWidth,
                                    LabelHeight,
                                    {{QStringLiteral("caption"), QString::fromUtf16(f.label)},
                                     {QStringLiteral("idetiqueta"), text(f.labelId)},
                                     {QStringLiteral("buddy"), name},
                                     {QStringLiteral("mnemonic"), QString(QChar(reach.mnemonic))}}});
    }
    const bool isDate = name.startsWith(u"dp");
    Settings s = f.settings;
    s.emplace_back(QStringLiteral("hint"), QString::fromUtf16(reach.hint));
    if (f.length > 0)
        s.emplace_back(QStringLiteral("maxlength"), f.length);
    if (f.sql)
        s.emplace_back(QStringLiteral("sql"), text(f.sql));
    if (!f.result.isEmpty())
        s.emplace_back(QStringLiteral("sql_control_resultado"), f.result);
    if (f.state == State::Locked)
        s.emplace_back(QStringLiteral("locked"), true);
    if (f.state == State::Disabled)
        s.emplace_back(QStringLiteral("enabled"), false);
    // A description only echoes its key's lookup: Tab and Enter pass it by.
    if (!f.label && name.endsWith(u"_Descripcion"))
        s.emplace_back(QStringLiteral("tabstop"), false);
    out.push_back(ControlDesign{name, isDate ? ControlKind::DateField : ControlKind::TextField, p.container, p.left,
                                p.top, p.width, FieldHeight, std::move(s)});
}

// ---- above the tab control: the toolbar and the note's folio only -------------------
void addAboveTabs(std::vector<ControlDesign> &c)
{
    c.push_back(control(fields::Controles, ControlKind::Toolbar, "", 0, 0, 11240, 480,
                        {{QStringLiteral("caption"), QStringLiteral("Nota de crédito de proveedor (bonificación)")},
                         {QStringLiteral("hint"), QStringLiteral("Comandos de la nota")},
                         {QStringLiteral("opc_table"), QStringLiteral("Nota_Credito_Proveedor")},
                         {QStringLiteral("opc_key"), QStringLiteral("Nc_Folio")},
                         {QStringLiteral("tabwidth"), QStringLiteral("0")},
                         {QStringLiteral("easyaccessenabled"), QStringLiteral("NO")},
                         {QStringLiteral("showmenupopup"), QStringLiteral("NO")},
                         {QStringLiteral("showwindowslist"), QStringLiteral("SI")},
                         {QStringLiteral("showexitbutton"), QStringLiteral("SI")}}));
    c.push_back(control(fields::EsquemaColor, ControlKind::ColorScheme, "", 0, 0, 0, 0));

    addField(c,
             {fields::txtFolio, u"Folio:", "Folio", 10, State::Editable,
              plus({{QStringLiteral("idconsulta"), QStringLiteral("NC_PROVEEDOR_BN")}}, Key)},
             {"", 120, 600, 780, 600, KeyWithSearchWidth});

    c.push_back(
        control(fields::ssTabFichas, ControlKind::TabControl, "", 120, 1080, 11000, 7000,
                {{QStringLiteral("pages"), QStringList{QStringLiteral("Encabezado"), QStringLiteral("Detalle")}},
                 {QStringLiteral("tab"), 1},
                 {QStringLiteral("hint"), QStringLiteral("Páginas Encabezado (Alt+1) y Detalle (Alt+2)")},
                 {QStringLiteral("tabheight"), 21},
                 {QStringLiteral("style"), 1},
                 {QStringLiteral("tabtheme"), 2},
                 {QStringLiteral("showfocusrect"), false},
                 {QStringLiteral("pagecontrols"),
                  QVariantList{QStringList{fields::fr0, fields::sh0}, QStringList{fields::fr1, fields::sh1}}}}));
}

// ---- page 0, "Encabezado" ------------------------------------------------------------
void addHeaderPage(std::vector<ControlDesign> &c)
{
    c.push_back(control(fields::fr0, ControlKind::Frame, fields::ssTabFichas, 0, 0, 11000, 7000));
    c.push_back(control(fields::sh0, ControlKind::Shape, fields::ssTabFichas, 0, 0, 11000, 45));

    // The date belongs to the header: while the page "Detalle" is shown it can neither
    // keep nor take the focus. It comes first in the page's tab order.
    addField(c, {fields::dpFecha, u"Fecha:", "Fecha", 0, State::Disabled, {}}, right(0, 1500));
    addField(c,
             {fields::txt_Co_Folio, u"Compra:", "Compra", 10, State::Disabled,
              plus({{QStringLiteral("idconsulta"), QStringLiteral("COMPRA")},
                    {QStringLiteral("transaccion"), QStringLiteral("CO003")}},
                   Key)},
             left(0, KeyWithSearchWidth));
    addField(c,
             {fields::txt_Sc_Cve_Sucursal, u"Sucursal:", "Sucursal", 3, State::Locked,
              plus(Group1, {TabOnEnter, {QStringLiteral("tabonentercancel"), true}}),
              "SELECT Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = '?'", fields::txt_Sc_Descripcion},
             left(1, 600));
    addField(c, {fields::txt_Sc_Descripcion, nullptr, "", 0, State::Locked, Group1}, beside(1, 2340, 3400));
    addField(c, {fields::txt_Al_Cve_Almacen, u"Almacén:", "Almacen", 0, State::Locked, plus(Group1, {TabOnEnter})},
             right(1, 600));
    addField(c, {fields::txt_Al_Descripcion, nullptr, "", 0, State::Locked, Group1}, beside(1, 8100, 2700));
    addField(c,
             {fields::txt_Pv_Cve_Proveedor, u"Proveedor:", "Proveedor", 0, State::Locked, plus(Group1, {TabOnEnter}),
              "SELECT Pv_Descripcion FROM Proveedor WHERE Pv_Cve_Proveedor = '?'", fields::txt_Pv_Descripcion},
             left(2, 1200));
    addField(c, {fields::txt_Pv_Descripcion, nullptr, "", 0, State::Locked, Group1}, beside(2, 2940, 7860));
    addField(c, {fields::txt_Pv_Razon_Social, u"Razón social:", "RAZON SOCIAL", 0, State::Locked, Group1},
             left(3, 9120));
    addField(c, {fields::txt_Pv_Direccion_1, u"Domicilio:", "DOMICILIO", 0, State::Locked, Group1}, left(4, 9120));
    addField(c, {fields::txt_Pv_R_F_C, u"RFC:", "R.F.C.", 0, State::Locked, Group1}, left(5, 2000));
    addField(c, {fields::txt_Pv_Dias_Credito, u"Días crédito:", "DIAS CREDITO", 0, State::Locked, Group1},
             right(5, 900));
    addField(c, {fields::txt_Credito_Disponible, u"Crédito disp:", "CREDITO DISP", 0, State::Locked, Group1},
             left(6, 2000));
    addField(c,
             {fields::txt_Cm_Cve_Comprador, u"Comprador:", "Comprador", 0, State::Locked, plus(Group1, {TabOnEnter}),
              "SELECT Cm_Descripcion FROM Comprador  WHERE Cm_Cve_Comprador  = '?'", fields::txt_Cm_Descripcion},
             left(7, 700));
    addField(c, {fields::txt_Cm_Descripcion, nullptr, "", 0, State::Locked, Group1}, beside(7, 2440, 3300));
    addField(c,
             {fields::txt_Mn_Cve_Moneda, u"Moneda:", "Moneda", 6, State::Locked, Group1,
              "SELECT Mn_Descripcion FROM Moneda WHERE Mn_Cve_Moneda = '?'", fields::txt_Mn_Descripcion},
             right(7, 900));
    addField(c, {fields::txt_Mn_Descripcion, nullptr, "", 0, State::Locked, Group1}, beside(7, 8400, 2400));
    addField(c,
             {fields::txt_Nc_Tipo_Cambio, u"Tipo de cambio:", "TIPO DE CAMBIO", 0, State::Disabled,
              plus({{QStringLiteral("formato"), 10}}, plus(Currency, plus(Group1Typed, {TabOnEnter})))},
             left(8, 2000));
    addField(c,
             {fields::txt_Cn_Cve_Causa_Nota, u"Causa:", "Causa", 4, State::Disabled,
              plus(Key,
                   plus(Group2Typed,
                        {TabOnEnter,
                         {QStringLiteral("idconsulta"), QStringLiteral("CAUSA_NOTA_CREDITO_PROVEEDOR")},
                         {QStringLiteral("transaccion"), QStringLiteral("CA059")}})),
              "SELECT Cn_Descripcion FROM Causa_Nota_Credito_Proveedor WHERE "
              "Cn_Cve_Causa_Nota_Credito_Proveedor =  '?' AND Es_Cve_Estado <> 'BA'",
              fields::txt_Cn_Descripcion},
             left(9, 700));
    addField(c, {fields::txt_Cn_Descripcion, nullptr, "", 0, State::Locked, Group2}, beside(9, 2440, 3300));
    addField(c,
             {fields::txt_Nc_Referencia, u"Referencia:", "Referencia", 15, State::Disabled,
              plus(Group2Typed, {TabOnEnter, {QStringLiteral("tabonentervacio"), true}})},
             left(10, 2400));
    addField(
        c, {fields::txt_Comentario, u"Comentario:", "Comentario", 50, State::Disabled, plus(Group2Typed, {TabOnEnter})},
        left(11, 9120));
}

// ---- page 1, "Detalle" ------------------------------------------------------------------
void addDetailPage(std::vector<ControlDesign> &c)
{
    c.push_back(control(fields::fr1, ControlKind::Frame, fields::ssTabFichas, 0, 0, 11000, 7000));
    c.push_back(control(fields::sh1, ControlKind::Shape, fields::ssTabFichas, 0, 0, 11000, 45));
    // Height: frame height - top - totals frame height - 300, as the layout keeps it.
    c.push_back(
        control(fields::ssDetalle, ControlKind::Grid, fields::fr1, 0, 120, 11000, 5380,
                {{QStringLiteral("caption"), QStringLiteral("Productos")},
                 {QStringLiteral("hint"),
                  QStringLiteral("Partidas de la compra: la bonificación se escribe en porcentaje o en importe")}}));
    // Under the grid's right edge, 100 below it.
    c.push_back(control(fields::frTotal, ControlKind::Frame, fields::fr1, 7400, 5600, 3600, 1200));
    const auto total = [](int r, double top) { return Place{fields::frTotal, 120, 1200, 1380, top + 360 * r, 2100}; };
    addField(c, {fields::txt_SubTotal, u"Sub-Total:", "SUB-TOTAL", 0, State::Locked, plus(Currency, Group1)},
             total(0, 120));
    addField(c, {fields::txt_Impuestos, u"Impuestos:", "Impuestos", 0, State::Locked, plus(Currency, Group1)},
             total(1, 120));
    addField(c, {fields::txt_Total, u"Total:", "Total", 0, State::Locked, plus(Currency, Group1)}, total(2, 120));

    // Left of the totals, as high as they are: a caption column and three figures.
    c.push_back(control(fields::frEfecto, ControlKind::Frame, fields::fr1, 0, 5600, 7300, 1200));
    const double captionWidth = 2800, figureWidth = 1450, rowStep = 270;
    for (int r = 0; r < fields::EffectRows; ++r) {
        for (int col = 0; col < fields::EffectColumns; ++col) {
            const bool caption = col == 0;
            Settings s;
            if (!caption)
                s.emplace_back(QStringLiteral("alignment"), QStringLiteral("right"));
            c.push_back(control(fields::effectLabel(r, col), ControlKind::Label, fields::frEfecto,
                                caption ? 120 : 120 + captionWidth + figureWidth * (col - 1), 60 + rowStep * r,
                                caption ? captionWidth - 60 : figureWidth - 60, LabelHeight, std::move(s)));
        }
    }
}

FormDesign build()
{
    FormDesign d;
    d.name = fields::frmQMX44;
    d.caption = QStringLiteral("Nota de crédito de proveedor (bonificación)");
    d.clientWidth = 11240;
    d.clientHeight = 8180;
    addAboveTabs(d.controls);
    addHeaderPage(d.controls);
    addDetailPage(d.controls);

    d.catalogues = catalogueDesigns(QString(), QString());
    return d;
}

controls::Control &create(controls::Form &form, const ControlDesign &d)
{
    using namespace controls;
    switch (d.kind) {
    case ControlKind::TextField:
        return form.add<TextField>(d.name);
    case ControlKind::DateField:
        return form.add<DateField>(d.name);
    case ControlKind::Grid:
        return form.add<Grid>(d.name);
    case ControlKind::Toolbar:
        return form.add<Toolbar>(d.name);
    case ControlKind::TabControl:
        return form.add<TabControl>(d.name);
    case ControlKind::Button:
        return form.add<Button>(d.name);
    case ControlKind::OptionButton:
        return form.add<OptionButton>(d.name);
    case ControlKind::Frame:
        return form.add<Frame>(d.name);
    case ControlKind::Label:
        return form.add<Label>(d.name);
    case ControlKind::TitleBar:
        return form.add<TitleBar>(d.name);
    case ControlKind::Shape:
        return form.add<Shape>(d.name);
    case ControlKind::ColorScheme:
        return form.add<ColorScheme>(d.name);
    }
    throw RuntimeError(QStringLiteral("Tipo de control desconocido: %1").arg(d.name));
}

} // namespace

QString labelNameFor(const QString &fieldName)
{
    QString base = fieldName;
    if (base.startsWith(u"txt"))
        base.remove(0, 3);
    else if (base.startsWith(u"dp"))
        base.remove(0, 2);
    return QStringLiteral("lbl") + base;
}

std::vector<CatalogueDesign> catalogueDesigns(const QString &branch, const QString &warehouse)
{
    // The documents the clerk may open, as their folio fields would take them: of the
    // user's branch and warehouse when restricted. One row per document (a note's first
    // line, a purchase's header), so the search's order and limit end the scan early;
    // the total is summed for the rows shown only.
    const auto restricted = [&](const char *alias) {
        QString where;
        if (!branch.isEmpty())
            where += QStringLiteral(" AND %1.Sc_Cve_Sucursal = '%2'").arg(QLatin1String(alias), db::quoted(branch));
        if (!warehouse.isEmpty())
            where += QStringLiteral(" AND %1.Al_Cve_Almacen = '%2'").arg(QLatin1String(alias), db::quoted(warehouse));
        return where;
    };
    return {
        // Credit notes on a purchase, cancelled ones too (their state says so).
        {QStringLiteral("NC_PROVEEDOR_BN"),
         QStringLiteral(
             "SELECT n.Nc_Folio AS CLAVE, ISNULL(p.Pv_Descripcion, n.Pv_Cve_Proveedor) AS DESCRIPCION, "
             "n.Nc_Fecha AS FECHA, (SELECT SUM(t.Nc_Precio_Neto_Importe) FROM NOTA_CREDITO_PROVEEDOR t "
             "WHERE t.Nc_Folio = n.Nc_Folio) AS TOTAL, "
             "CASE WHEN n.Es_Cve_Estado = 'CA' THEN 'Cancelada' ELSE 'Vigente' END AS ESTADO "
             "FROM NOTA_CREDITO_PROVEEDOR n LEFT JOIN Proveedor p ON p.Pv_Cve_Proveedor = n.Pv_Cve_Proveedor "
             "WHERE NOT EXISTS (SELECT 1 FROM NOTA_CREDITO_PROVEEDOR f "
             "WHERE f.Nc_Folio = n.Nc_Folio AND f.Nc_Linea < n.Nc_Linea) AND n.Co_Folio <> ''")
             + restricted("n")},
        // Purchases that are not cancelled, from their headers (one row per purchase):
        // the folio tested as the field holds it, the supplier's name in any letter case
        // among the suppliers, before anything is joined.
        {QStringLiteral("COMPRA"),
         QStringLiteral(
             "SELECT c.Co_Folio AS CLAVE, ISNULL(p.Pv_Descripcion, c.Pv_Cve_Proveedor) AS DESCRIPCION, "
             "c.Co_Fecha AS FECHA, (SELECT SUM(t.Co_Precio_Neto_Importe) FROM COMPRA t "
             "WHERE t.Co_Folio = c.Co_Folio) AS TOTAL "
             "FROM Compra_Encabezado c LEFT JOIN Proveedor p ON p.Pv_Cve_Proveedor = c.Pv_Cve_Proveedor "
             "WHERE (MATCHES_UPPER(c.Co_Folio) OR MATCHES_UPPER(c.Pv_Cve_Proveedor) OR c.Pv_Cve_Proveedor IN "
             "(SELECT s.Pv_Cve_Proveedor FROM Proveedor s WHERE MATCHES(s.Pv_Descripcion))) "
             "AND c.Es_Cve_Estado <> 'CA'")
             + restricted("c")},
        // Causes that are not retired.
        {QStringLiteral("CAUSA_NOTA_CREDITO_PROVEEDOR"),
         QStringLiteral("SELECT Cn_Cve_Causa_Nota_Credito_Proveedor AS CLAVE, Cn_Descripcion AS DESCRIPCION "
                        "FROM Causa_Nota_Credito_Proveedor WHERE Es_Cve_Estado <> 'BA'")},
    };
}

void registerCatalogues(controls::Form &form, const QString &branch, const QString &warehouse)
{
    for (const CatalogueDesign &catalogue : catalogueDesigns(branch, warehouse))
        form.registerCatalogue(catalogue.id, catalogue.statement);
}

const FormDesign &mainFormDesign()
{
    static const FormDesign design = build();
    return design;
}

void buildForm(controls::Form &form, const FormDesign &design)
{
    form.setCaption(design.caption);
    for (const ControlDesign &d : design.controls) {
        controls::Control &c = create(form, d);
        if (!d.container.isEmpty()) {
            controls::Control *container = form.find(d.container);
            if (!container)
                throw RuntimeError(QStringLiteral("%1: no existe el contenedor %2").arg(d.name, d.container));
            c.setContainer(container);
        }
        c.setLeft(d.left);
        c.setTop(d.top);
        c.setWidth(d.width);
        c.setHeight(d.height);
        for (const auto &[name, value] : d.settings)
            if (!c.applySetting(name, value))
                throw RuntimeError(QStringLiteral("%1: ajuste desconocido %2").arg(d.name, name));
    }
    for (const CatalogueDesign &catalogue : design.catalogues)
        form.registerCatalogue(catalogue.id, catalogue.statement);
    form.setClientSize(design.clientWidth, design.clientHeight);
}

} // namespace qmx44::screen

// The 47 columns of the detail grid, and the pending column after them. Hidden columns
// belong to the row layout even where no code fills them, so positions stay fixed for
// the grid events.
#include "intake/detail_format.h"

#include "screen/detail_columns.h"

namespace qmx44::intake {

namespace {

using controls::Alignment;
using controls::ColumnDef;
using controls::ColumnType;
namespace columns = screen::columns;

constexpr ColumnType T = ColumnType::Text;
constexpr ColumnType N = ColumnType::Number;
constexpr ColumnType D = ColumnType::Date;
constexpr Alignment L = Alignment::Left;
constexpr Alignment R = Alignment::Right;
constexpr Alignment C = Alignment::Center;
constexpr bool Shown = true, Hidden = false;
constexpr bool Edit = true, Locked = false;

const char *const Qty = "#,##0.000######";
const char *const Amount2 = "$#,##0.00#######";
const char *const Amount4 = "$#,##0.0000#####";
const char *const Factor = "#,##0.00#######";

ColumnDef col(const QString &name, const char *caption, ColumnType type, const char *format, int length,
              Alignment align, bool shown, bool editable, int width)
{
    return ColumnDef{name, QString::fromUtf8(caption), type, QString::fromUtf8(format), length, align, shown, editable,
                     width};
}

std::array<ColumnDef, DetailColumnCount> build()
{
    std::array<ColumnDef, DetailColumnCount> columns{{
        col(columns::Pr_Cve_Producto, "Clave", T, "", 10, L, Shown, Locked, 2302),
        col(columns::Pr_Descripcion, "Descripción", T, "", 50, L, Shown, Locked, 6218),
        col(columns::Tl_Cve_Talla, "Talla", T, "", 2, C, Shown, Locked, 1217),
        col(columns::Cl_Cve_Color, "Color", T, "", 2, C, Shown, Locked, 1191),
        col(columns::Cantidad_1, "Cantidad-1", N, Qty, 20, R, Shown, Locked, 3200),
        col(columns::Unidad_1, "Um", T, "", 4, C, Shown, Locked, 953),
        col(columns::Cantidad_Control_1, "CONTROL-1", N, Qty, 256, R, Hidden, Locked, 3200),
        col(columns::Unidad_Control_1, "Um", T, "", 256, C, Hidden, Locked, 3200),
        col(columns::Cantidad_Control_2, "Cantidad-2", N, Qty, 20, R, Shown, Locked, 3200),
        col(columns::Unidad_Control_2, "Um", T, "", 4, C, Shown, Locked, 953),
        col(columns::Cantidad_Costo, "Cantidad_Costo", N, Qty, 256, L, Hidden, Locked, 3200),
        col(columns::Unidad_Costo, "Unidad_Costo", T, "", 256, L, Hidden, Locked, 3200),
        col(columns::Costo, "Costo", N, Amount2, 20, R, Hidden, Locked, 3200),
        col(columns::Costo_Importe, "Importe", N, Amount2, 20, R, Hidden, Locked, 3200),
        col(columns::Pr_Folio, "Folio L.P.", T, "", 256, L, Hidden, Locked, 3200),
        col(columns::Precio_Lista, "Precio", N, Amount4, 256, R, Hidden, Locked, 3200),
        col(columns::Precio_Lista_Importe, "Precio_lista_importe", N, Amount4, 256, R, Hidden, Locked, 3200),
        col(columns::Descuento_Factor, "% Descuento", N, Factor, 256, R, Hidden, Locked, 3200),
        col(columns::Descuento_Importe, "Desc. $", N, Amount2, 256, R, Hidden, Locked, 3200),
        col(columns::Precio_Descontado, "Precio_descontado", N, Amount4, 256, R, Hidden, Locked, 3200),
        col(columns::Precio_Descontado_Importe, "Importe S/Imp", N, Amount4, 256, R, Shown, Locked, 3201),
        col(columns::Impuesto_Factor, "Impuesto %", N, Factor, 256, R, Hidden, Locked, 3200),
        col(columns::Impuesto_Importe, "Impuesto", N, Amount4, 256, R, Hidden, Locked, 3200),
        col(columns::Precio_Neto, "Precio_Neto", N, Amount4, 256, R, Hidden, Locked, 3200),
        col(columns::Precio_Neto_Importe, "Importe venta", N, Amount4, 256, R, Shown, Locked, 3200),
        col(columns::Lt_Cve_Lote, "Lote", T, "", 256, L, Hidden, Locked, 3200),
        col(columns::Lt_Fecha_Caducidad, "Caducidad", D, "", 10, L, Hidden, Locked, 3200),
        col(columns::Lt_Pedimento, "Pedimento lote", T, "", 256, L, Hidden, Locked, 3200),
        col(columns::Lt_Fecha_Pedimento, "Fecha pedimento", D, "", 256, L, Hidden, Locked, 3200),
        col(columns::Sr_Cve_Serie, "Serie", T, "", 30, L, Hidden, Locked, 3200),
        col(columns::Sr_Pedimento, "Pedimento serie", T, "", 50, L, Hidden, Locked, 3200),
        col(columns::Lt_UserDef_1, "Lt_UserDef_1", T, "", 50, L, Hidden, Locked, 3200),
        col(columns::Lt_UserDef_2, "Lt_UserDef_2", T, "", 50, L, Hidden, Locked, 3200),
        col(columns::Sr_Fecha_Pedimento, "Fecha pedimento", D, "", 256, L, Hidden, Locked, 3200),
        col(columns::Lt_UserDef_3, "Lt_UserDef_3", N, "", 20, L, Hidden, Locked, 3200),
        col(columns::Lt_UserDef_4, "Lt_UserDef_4", N, "", 20, L, Hidden, Locked, 3200),
        col(columns::Sr_UserDef_1, "Sr_UserDef_1", T, "", 50, L, Hidden, Locked, 3200),
        col(columns::Lt_UserDef_6, "Lt_UserDef_6", D, "", 10, L, Hidden, Locked, 3200),
        col(columns::Lt_UserDef_5, "Lt_UserDef_5", D, "", 10, L, Hidden, Locked, 3200),
        col(columns::Sr_UserDef_2, "Sr_UserDef_2", T, "", 50, L, Hidden, Locked, 3200),
        col(columns::Sr_UserDef_3, "Sr_UserDef_3", N, "", 20, L, Hidden, Locked, 3200),
        col(columns::Sr_UserDef_4, "Sr_UserDef_4", N, "", 20, L, Hidden, Locked, 3200),
        col(columns::Sr_UserDef_5, "Sr_UserDef_5", D, "", 10, L, Hidden, Locked, 3200),
        col(columns::Sr_UserDef_6, "Sr_UserDef_6", D, "", 10, L, Hidden, Locked, 3200),
        col(columns::Documento_Id, "Documento_Id", T, "", 256, L, Hidden, Locked, 3200),
        col(columns::BON_PORCENTAJE, "Bonificar (%)", N, Factor, 256, R, Shown, Edit, 2302),
        col(columns::BON_IMPORTE, "Bonificar ($)", N, Amount2, 256, R, Shown, Edit, 3200),
        // What the bonus of the row, tax included, may still reach (intake/pending_amounts).
        col(columns::Pending, "Pendiente", N, Amount2, 256, R, Shown, Locked, 3200),
    }};
    // Shown for reading only: the clerk's Tab from the bonus goes on to the next row.
    columns.back().tabStop = false;
    return columns;
}

} // namespace

const std::array<ColumnDef, DetailColumnCount> &detailColumns()
{
    static const std::array<ColumnDef, DetailColumnCount> columns = build();
    return columns;
}

void configureDetailGrid(controls::Grid &grid)
{
    grid.setCaption(QStringLiteral("Productos"));
    const auto &columns = detailColumns();
    grid.setColumns(std::vector<ColumnDef>(columns.begin(), columns.end()));
}

} // namespace qmx44::intake

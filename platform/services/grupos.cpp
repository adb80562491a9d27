#include "platform/services/grupos.h"

#include "platform/controls/form.h"
#include "platform/controls/text_field.h"
#include "platform/core/error.h"

namespace qmx44::services {

namespace {

const std::vector<CampoDeGrupo> kGrupo1 = {
    {QStringLiteral("txt_Sc_Cve_Sucursal"), false},
    {QStringLiteral("txt_Sc_Descripcion"), false},
    {QStringLiteral("txt_Al_Cve_Almacen"), false},
    {QStringLiteral("txt_Al_Descripcion"), false},
    {QStringLiteral("txt_Pv_Cve_Proveedor"), false},
    {QStringLiteral("txt_Pv_Descripcion"), false},
    {QStringLiteral("txt_Pv_Razon_Social"), false},
    {QStringLiteral("txt_Pv_Direccion_1"), false},
    {QStringLiteral("txt_Pv_R_F_C"), false},
    {QStringLiteral("txt_Pv_Dias_Credito"), false},
    {QStringLiteral("txt_Credito_Disponible"), false},
    {QStringLiteral("txt_Cm_Cve_Comprador"), false},
    {QStringLiteral("txt_Cm_Descripcion"), false},
    {QStringLiteral("txt_Mn_Cve_Moneda"), false},
    {QStringLiteral("txt_Mn_Descripcion"), false},
    {QStringLiteral("txt_Nc_Tipo_Cambio"), true},
    {QStringLiteral("txt_SubTotal"), false},
    {QStringLiteral("txt_Impuestos"), false},
    {QStringLiteral("txt_Total"), false},
};

const std::vector<CampoDeGrupo> kGrupo2 = {
    {QStringLiteral("txt_Cn_Cve_Causa_Nota"), true},
    {QStringLiteral("txt_Cn_Descripcion"), false},
    {QStringLiteral("txt_Nc_Referencia"), true},
    {QStringLiteral("txt_Comentario"), true},
};

// The group's text field named `nombre`, unless the form lacks it or it was preset from
// the user's context (tag "0").
controls::TextField *campoTocable(controls::Form &form, const QString &nombre)
{
    auto *campo = dynamic_cast<controls::TextField *>(form.find(nombre));
    if (!campo || campo->tag() == QLatin1String("0"))
        return nullptr;
    return campo;
}

} // namespace

const std::vector<CampoDeGrupo> &grupoDeModo(int modo)
{
    if (modo == 1)
        return kGrupo1;
    if (modo == 2)
        return kGrupo2;
    throw RuntimeError(QStringLiteral("Modo de controles no válido: %1").arg(modo));
}

void limpiarGrupo(controls::Form &form, int modo)
{
    for (const CampoDeGrupo &c : grupoDeModo(modo)) {
        if (auto *campo = campoTocable(form, c.nombre))
            campo->clear();
    }
}

void habilitarGrupo(controls::Form &form, int modo)
{
    for (const CampoDeGrupo &c : grupoDeModo(modo)) {
        if (auto *campo = campoTocable(form, c.nombre)) {
            campo->setEnabled(true);
            if (c.editable)
                campo->setLocked(false);
        }
    }
}

} // namespace qmx44::services

#pragma once
// Planned failures for automation and tests: "the next call of OPERATION fails".
// Platform operations ask take() at their entry, each by one of the names below;
// production hosts leave the plan empty.
#include <QHash>
#include <QLatin1String>
#include <QString>
#include <array>
#include <optional>

namespace qmx44 {

namespace faults {

// Every operation that consults the plan, by its documented name. A new call site of
// take() adds its name here and to `Operations`.
inline constexpr QLatin1String SistemaConexion{"Sistema.Conexion"};
inline constexpr QLatin1String SistemaSucursal{"Sistema.Sucursal"};
inline constexpr QLatin1String SistemaAlmacen{"Sistema.Almacen"};
inline constexpr QLatin1String SistemaParametro{"Sistema.Parametro"};
inline constexpr QLatin1String SistemaPermiso{"Sistema.Permiso"};
inline constexpr QLatin1String SistemaMensaje{"Sistema.Mensaje"};
inline constexpr QLatin1String UtileriasFechaActual{"Utilerias.FechaActual"};
inline constexpr QLatin1String UtileriasValidarPeriodo{"Utilerias.ValidarPeriodo"};
inline constexpr QLatin1String UtileriasFormatearFolio{"Utilerias.FormatearFolio"};
inline constexpr QLatin1String UtileriasTipoCambio{"Utilerias.TipoCambio"};
inline constexpr QLatin1String UtileriasLimpiarControles{"Utilerias.LimpiarControles"};
inline constexpr QLatin1String UtileriasHabilitarControles{"Utilerias.HabilitarControles"};
inline constexpr QLatin1String UtileriasTransaccion{"Utilerias.Transaccion"};
inline constexpr QLatin1String UtileriasEnviarTeclas{"Utilerias.EnviarTeclas"};
inline constexpr QLatin1String ImpresionImprimir{"Impresion.Imprimir"};
inline constexpr QLatin1String ConsultaRegistroMostrar{"ConsultaRegistro.Mostrar"};
inline constexpr QLatin1String DireccionEntregaIdDocumento{"DireccionEntrega.IdDocumento"};
inline constexpr QLatin1String DireccionEntregaIdOmision{"DireccionEntrega.IdOmision"};
inline constexpr QLatin1String DireccionEntregaAsignar{"DireccionEntrega.Asignar"};
inline constexpr QLatin1String NotaCreditoAgregarDetalle{"NotaCredito.AgregarDetalle"};
inline constexpr QLatin1String NotaCreditoGuardar{"NotaCredito.Guardar"};
inline constexpr QLatin1String NotaCreditoAplicar{"NotaCredito.Aplicar"};
inline constexpr QLatin1String NotaCreditoCancelar{"NotaCredito.Cancelar"};
inline constexpr QLatin1String ControlesGuardarCamposAdicionales{"Controles.GuardarCamposAdicionales"};
inline constexpr QLatin1String Publico{"Publico"};
inline constexpr QLatin1String PantallaGetPantalla{"Pantalla.GetPantalla"};

// The list of them, in the order above: what a plan may be armed with to any effect.
inline constexpr std::array Operations{
    SistemaConexion,
    SistemaSucursal,
    SistemaAlmacen,
    SistemaParametro,
    SistemaPermiso,
    SistemaMensaje,
    UtileriasFechaActual,
    UtileriasValidarPeriodo,
    UtileriasFormatearFolio,
    UtileriasTipoCambio,
    UtileriasLimpiarControles,
    UtileriasHabilitarControles,
    UtileriasTransaccion,
    UtileriasEnviarTeclas,
    ImpresionImprimir,
    ConsultaRegistroMostrar,
    DireccionEntregaIdDocumento,
    DireccionEntregaIdOmision,
    DireccionEntregaAsignar,
    NotaCreditoAgregarDetalle,
    NotaCreditoGuardar,
    NotaCreditoAplicar,
    NotaCreditoCancelar,
    ControlesGuardarCamposAdicionales,
    Publico,
    PantallaGetPantalla,
};

// Whether some code consults the plan for `operation` (exact, letter case counts).
template <typename Text>
bool consulted(const Text &operation)
{
    for (QLatin1String name : Operations)
        if (operation == name)
            return true;
    return false;
}

} // namespace faults

class FaultPlan {
public:
    // The next call of `operation` (e.g. "NotaCredito.Guardar") fails with `text`. An
    // operation that no code consults is accepted and never fires.
    void arm(const QString &operation, const QString &text) { m_armed.insert(operation, text); }
    // Consumes the planned failure of `operation`, if any, and returns its text. Asked
    // only with the names of faults::Operations.
    std::optional<QString> take(QLatin1String operation)
    {
        Q_ASSERT(faults::consulted(operation));
        auto it = m_armed.find(QString(operation));
        if (it == m_armed.end())
            return std::nullopt;
        QString text = it.value();
        m_armed.erase(it);
        return text;
    }
    bool empty() const { return m_armed.isEmpty(); }

private:
    QHash<QString, QString> m_armed;
};

} // namespace qmx44

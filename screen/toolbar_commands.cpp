// The toolbar commands of the main form: new note, modify, print, record query, clear
// and exit. None traps errors: a failing service or object ends the command at that
// step and the toolbar reports it.
#include "platform/business/consulta_registro.h"
#include "platform/business/impresion.h"
#include "platform/core/error.h"
#include "screen/draft_journal.h"
#include "screen/frm_qmx44.h"

namespace qmx44::screen {

namespace {
const QString Prorratear = QStringLiteral("Prorratear");
}

void FrmQMX44::enableDate()
{
    // The date's enabled state is settled before the focus goes anywhere: a field that
    // cannot take the focus must not be given it. Without the right to change the date
    // the focus goes to the next field that can take it.
    dpFecha().setEnabled(PuedeCambiarFecha);
    if (!dpFecha().setFocus())
        focusNextField(dpFecha());
}

void FrmQMX44::Controles_Nuevo()
{
    forgetSaveToken();
    txtFolio().setText(QString());
    txtFolio().setEnabled(false);
    Utilerias().LimpiarControles(m_form, 1);
    Utilerias().LimpiarControles(m_form, 2);
    Utilerias().HabilitarControles(m_form, 2);
    // The purchase folio is the next thing to enter.
    txt_Co_Folio().setEnabled(true);
    ssTabFichas().setActivePage(0);
    enableDate();
    Controles().setOptionalCaption(Prorratear);
    if (m_journal)
        m_journal->begin();
}

void FrmQMX44::Controles_Modificar()
{
    forgetSaveToken();
    // The shown note is left: the toolbar no longer stands for it.
    Controles().setFolio(QString());
    Controles().setProveedor(QString());
    Controles().setImporte(0);
    // Everything shown stays and becomes editable; the save replaces the note whose
    // folio still stands in txtFolio.
    Utilerias().HabilitarControles(m_form, 1);
    txtFolio().setEnabled(false);
    Utilerias().HabilitarControles(m_form, 2);
    ssTabFichas().setActivePage(0);
    enableDate();
    // A rate is typed only for a foreign currency, and only by a user whose rate is not
    // fixed by right CHTC01.
    const bool foreign = textField(fields::txt_Mn_Cve_Moneda).text() != MonedaLocal;
    textField(fields::txt_Nc_Tipo_Cambio).setEnabled(foreign && !DerechoTipoCambio);
    Controles().setOptionalCaption(Prorratear);
    if (m_journal)
        m_journal->begin();
}

void FrmQMX44::Controles_Imprimir()
{
    auto printJob = newImpresion();
    const QString format = Sistema().Parametro(QStringLiteral("FTO_IMP_NOTA_CREDITO_PROVEEDOR")).toString();
    const QString folio = txtFolio().value().toString();
    printJob->Imprimir(format, folio, QString(), false, false, QString());
}

void FrmQMX44::Controles_Consultar()
{
    auto query = newConsultaRegistro();
    query->Mostrar(QStringLiteral("NOTA_CREDITO_PROVEEDOR"), QStringLiteral("Nc_Folio"), txtFolio().value().toString(),
                   QString(), QString(), QString(), QString());
}

void FrmQMX44::Controles_Cancelar()
{
    Utilerias().LimpiarControles(m_form, 1);
    Utilerias().LimpiarControles(m_form, 2);
    txt_Co_Folio().setText(QString());
    txtFolio().setEnabled(true);
    txtFolio().setText(QString());
    txtFolio().setFocus();
    txt_Co_Folio().setEnabled(false);
    Controles().setPrintEnabled(false);
    Controles().setQueryEnabled(false);
    Controles().setModifyEnabled(false);
    Controles().setDeleteEnabled(false);
    Controles().setNewEnabled(true);
    ssTabFichas().setActivePage(0);
    Controles().setOptionalCaption(QString());
    // Last: a clearing cut short leaves the note, its draft and what is known of its
    // saving as they were.
    forgetSaveToken();
    if (m_journal)
        m_journal->discard();
}

void FrmQMX44::Controles_Salir()
{
    // Nothing is asked: a note being entered is not saved. The form closes with Padre.
    if (!m_padre)
        throw RuntimeError(QStringLiteral("Variable de objeto no establecida: Padre"));
    m_padre->close();
}

} // namespace qmx44::screen

#include "bonus/frm_prorrateo.h"

#include "screen/frm_qmx44.h"

namespace qmx44::bonus {

FrmProrrateo::FrmProrrateo(screen::FrmQMX44 &opener) : m_opener(opener)
{
    m_form.setCaption(QStringLiteral("Prorratear"));
    auto &titulo = m_form.add<controls::TitleBar>(QStringLiteral("Titulo"));
    titulo.setCaption(QStringLiteral("Prorratear"));
    for (const char *s : {"showminbutton", "showmaxbutton", "showexitbutton", "adjusticon"})
        titulo.applySetting(QString::fromLatin1(s), QStringLiteral("NO"));
    auto &cancelarBoton = m_form.add<controls::Button>(QStringLiteral("cmdCancelar"));
    cancelarBoton.setCaption(QStringLiteral("Cancelar"));
    cancelarBoton.Click.connect(QStringLiteral("cmdCancelar_Click()"), [this] { cancelar(); });
    m_form.KeyUp.connect(QStringLiteral("Form_KeyUp()"), [this](int &key, int &) {
        if (key == controls::keys::Escape) {
            key = 0;
            cancelar();
        }
    });
    m_form.load();
}

void FrmProrrateo::mostrarModal()
{
    m_opener.form().showModal(m_form);
}

void FrmProrrateo::cancelar()
{
    m_form.hide();
}

} // namespace qmx44::bonus

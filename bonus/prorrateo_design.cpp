// frmProrrateo's controls. Listed in tab order (each also carries its tabindex): the
// frame and its option buttons first, so that Down on an option moves through the
// options to the amount, then Aceptar and Cancelar.
#include "bonus/prorrateo_design.h"

namespace qmx44::bonus {

namespace {

using controls::ControlKind;
using screen::ControlDesign;
using screen::Settings;

ControlDesign control(const char *name, ControlKind kind, const char *container, double l, double t,
                      double w, double h, Settings settings)
{
    return ControlDesign{QString::fromLatin1(name), kind, QString::fromLatin1(container), l, t, w, h,
                         std::move(settings)};
}

std::pair<QString, QVariant> ajuste(const char *name, const QVariant &value)
{
    return {QString::fromLatin1(name), value};
}

screen::FormDesign build()
{
    screen::FormDesign d;
    d.name = QStringLiteral("frmProrrateo");
    d.caption = QStringLiteral("Prorratear");
    d.clientWidth = 4320;
    d.clientHeight = 3000;
    auto &c = d.controls;
    // No minimise, maximise or close button of its own: the dialog closes through
    // Cancelar, Escape or an accepted amount.
    c.push_back(control("Titulo", ControlKind::TitleBar, "", 0, 0, 4320, 360,
                        {ajuste("caption", QStringLiteral("Prorratear")),
                         ajuste("showminbutton", QStringLiteral("NO")),
                         ajuste("showmaxbutton", QStringLiteral("NO")),
                         ajuste("showexitbutton", QStringLiteral("NO")),
                         ajuste("adjusticon", QStringLiteral("NO")),
                         ajuste("tabindex", 8)}));
    c.push_back(control("Frame1", ControlKind::Frame, "", 120, 480, 4080, 1320,
                        {ajuste("caption", QStringLiteral("Prorratear por:")), ajuste("tabindex", 0)}));
    c.push_back(control("Option1", ControlKind::OptionButton, "Frame1", 240, 300, 3600, 255,
                        {ajuste("caption", QStringLiteral("Cantidad control 1")), ajuste("value", true),
                         ajuste("tabindex", 1)}));
    c.push_back(control("Option2", ControlKind::OptionButton, "Frame1", 240, 620, 3600, 255,
                        {ajuste("caption", QStringLiteral("Cantidad control 2")), ajuste("tabindex", 2)}));
    c.push_back(control("Option3", ControlKind::OptionButton, "Frame1", 240, 940, 3600, 255,
                        {ajuste("caption", QStringLiteral("Importe")), ajuste("tabindex", 3)}));
    c.push_back(control("Label39", ControlKind::Label, "", 120, 1990, 960, 255,
                        {ajuste("caption", QStringLiteral("Importe")), ajuste("tabindex", 4)}));
    // The currency type goes before the text, so that the text is read as an amount.
    c.push_back(control("txtImporte", ControlKind::TextField, "", 1200, 1950, 3000, 315,
                        {ajuste("tipodato", 6), ajuste("text", QStringLiteral("$0.0000")),
                         ajuste("alignment", QStringLiteral("right")), ajuste("subrayar", true),
                         ajuste("tabonenter", true), ajuste("tabindex", 5)}));
    c.push_back(control("cmdAceptar", ControlKind::Button, "", 1680, 2460, 1200, 375,
                        {ajuste("caption", QStringLiteral("Aceptar")), ajuste("tabindex", 6)}));
    c.push_back(control("cmdCancelar", ControlKind::Button, "", 3000, 2460, 1200, 375,
                        {ajuste("caption", QStringLiteral("Cancelar")), ajuste("tabindex", 7)}));
    c.push_back(control("EsquemaColor", ControlKind::ColorScheme, "", 0, 0, 0, 0, {}));
    return d;
}

} // namespace

const screen::FormDesign &prorrateoDesign()
{
    static const screen::FormDesign design = build();
    return design;
}

} // namespace qmx44::bonus

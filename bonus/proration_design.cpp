// frmProrrateo's controls. Listed in tab order (each also carries its tabindex): the
// frame and its option buttons first, so that Down on an option moves through the
// options to the amount, then Aceptar and Cancelar.
#include "bonus/proration_design.h"

namespace qmx44::bonus {

namespace {

using controls::ControlKind;
using screen::ControlDesign;
using screen::Settings;

ControlDesign control(const char *name, ControlKind kind, const char *container, double l, double t, double w, double h,
                      Settings settings)
{
    return ControlDesign{QString::fromLatin1(name), kind, QString::fromLatin1(container), l, t, w, h,
                         std::move(settings)};
}

std::pair<QString, QVariant> setting(const char *name, const QVariant &value)
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
    c.push_back(
        control("Titulo", ControlKind::TitleBar, "", 0, 0, 4320, 360,
                {setting("caption", QStringLiteral("Prorratear")), setting("showminbutton", QStringLiteral("NO")),
                 setting("showmaxbutton", QStringLiteral("NO")), setting("showexitbutton", QStringLiteral("NO")),
                 setting("adjusticon", QStringLiteral("NO")), setting("tabindex", 8)}));
    c.push_back(control("Frame1", ControlKind::Frame, "", 120, 480, 4080, 1320,
                        {setting("caption", QStringLiteral("Prorratear por:")), setting("tabindex", 0)}));
    c.push_back(control(
        "Option1", ControlKind::OptionButton, "Frame1", 240, 300, 3600, 255,
        {setting("caption", QStringLiteral("Cantidad control 1")), setting("value", true), setting("tabindex", 1)}));
    c.push_back(control("Option2", ControlKind::OptionButton, "Frame1", 240, 620, 3600, 255,
                        {setting("caption", QStringLiteral("Cantidad control 2")), setting("tabindex", 2)}));
    c.push_back(control("Option3", ControlKind::OptionButton, "Frame1", 240, 940, 3600, 255,
                        {setting("caption", QStringLiteral("Importe")), setting("tabindex", 3)}));
    c.push_back(control("Label39", ControlKind::Label, "", 120, 1990, 960, 255,
                        {setting("caption", QStringLiteral("Importe")), setting("tabindex", 4)}));
    // The currency type goes before the text, so that the text is read as an amount.
    c.push_back(control("txtImporte", ControlKind::TextField, "", 1200, 1950, 3000, 315,
                        {setting("tipodato", 6), setting("text", QStringLiteral("$0.0000")),
                         setting("alignment", QStringLiteral("right")), setting("subrayar", true),
                         setting("tabonenter", true), setting("tabindex", 5)}));
    c.push_back(control("cmdAceptar", ControlKind::Button, "", 1680, 2460, 1200, 375,
                        {setting("caption", QStringLiteral("Aceptar")), setting("tabindex", 6)}));
    c.push_back(control("cmdCancelar", ControlKind::Button, "", 3000, 2460, 1200, 375,
                        {setting("caption", QStringLiteral("Cancelar")), setting("tabindex", 7)}));
    c.push_back(control("EsquemaColor", ControlKind::ColorScheme, "", 0, 0, 0, 0, {}));
    return d;
}

} // namespace

const screen::FormDesign &prorationDesign()
{
    static const screen::FormDesign design = build();
    return design;
}

} // namespace qmx44::bonus

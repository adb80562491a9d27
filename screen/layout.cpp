// The layout on resize: the tab control spans the form, both pages' frames and shapes
// follow it (the frames below its strip), the grid fills the page "Detalle" above the
// totals frame, which keeps to the grid's right edge, with what the note will do on its
// left; then the grid's columns are fitted to its width.
//
// Every value is worked out in double and stored by the control as a float. A step the
// control refuses (a negative size while the window is tiny, a value beyond float) or
// that fails is skipped, and the later steps go on with what the controls then hold:
// resizing never reports anything.
#include "platform/business/ajuste_grid.h"
#include "screen/frm_qmx44.h"

#include <algorithm>

namespace qmx44::screen {

namespace {

// The tab strip's height setting is in pixels of the design's 96-dpi screen.
constexpr double TwipsPerDesignPixel = 15.0;

template <class Step>
void tryStep(Step step)
{
    try {
        step();
    } catch (...) {
        // Skipped: a layout that cannot be applied now is applied by the next resize.
    }
}

} // namespace

void FrmQMX44::Form_Resize()
{
    using controls::Control;
    Control &tab = ssTabFichas();
    Control &sh0 = m_form.get<controls::Shape>(fields::sh0);
    Control &sh1 = m_form.get<controls::Shape>(fields::sh1);
    Control &f0 = fr0();
    Control &f1 = fr1();
    Control &grid = ssDetalle();
    Control &totals = m_form.get<controls::Frame>(fields::frTotal);
    Control &effect = m_form.get<controls::Frame>(fields::frEfecto);
    const double formWidth = m_form.clientWidth();
    const double formHeight = m_form.clientHeight();

    tryStep([&] { tab.setWidth(formWidth - 2.0 * double(tab.left())); });
    tryStep([&] { tab.setHeight(formHeight - double(tab.top()) - 100.0); });
    tryStep([&] { sh0.setWidth(double(tab.width())); });
    tryStep([&] { f0.setWidth(double(tab.width())); });
    // The pages sit under the tab strip: a frame as tall as the whole tab control would
    // run past the page's bottom edge and cut off the totals.
    const double strip = ssTabFichas().extra(QStringLiteral("tabheight")).toDouble() * TwipsPerDesignPixel;
    tryStep([&] { f0.setHeight(double(tab.height()) - strip); });
    tryStep([&] { sh1.setWidth(double(sh0.width())); });
    tryStep([&] { f1.setWidth(double(f0.width())); });
    tryStep([&] { f1.setHeight(double(f0.height())); });
    tryStep([&] { grid.setWidth(double(f1.width())); });
    tryStep([&] { grid.setHeight(double(f1.height()) - double(grid.top()) - double(totals.height()) - 300.0); });
    tryStep([&] { totals.setTop(double(grid.top()) + double(grid.height()) + 100.0); });
    tryStep([&] { totals.setLeft(double(grid.left()) + double(grid.width()) - double(totals.width())); });
    // What the note will do sits left of the totals, on their row.
    tryStep([&] { effect.setTop(double(totals.top())); });
    tryStep([&] { effect.setWidth(std::max(0.0, double(totals.left()) - double(grid.left()) - 100.0)); });
    tryStep([&] {
        if (AjusteGrid)
            AjusteGrid->Ajustar(ssDetalle(), QStringLiteral("1"));
    });
}

} // namespace qmx44::screen

// The desktop views under a large purchase: the real screen (wired as the component
// wires it) shown in its FormView on the offscreen platform, on a scratch SQLite database
// of the demo company with a purchase of 10,000 lines and one of 10.
// - A keystroke in a bonus cell, sent to the grid widget, to the repainted window (the
//   totals follow each key), on 10,000 rows against 10 rows; target under 16 ms.
// - One page of scrolling through the grid, repainted, on 10,000 rows against 10 rows;
//   and the clerk's PageDown key sent to the grid widget (the model moves the current cell
//   a page, the view follows), repainted.
// - The process's peak memory (VmHWM) with the 10,000-line purchase taken in, shown and
//   scrolled to its end, above the same screen empty; target at most 1 KiB a row.
#include "bench/bench_db.h"
#include "bench/summary.h"
#include "bonus/install.h"
#include "document/install.h"
#include "intake/install.h"
#include "intake/purchase.h"
#include "platform/controls/desktop.h"
#include "platform/controls/toolbar.h"
#include "platform/core/error.h"
#include "platform/core/message.h"
#include "platform/db/admin.h"
#include "platform/db/open.h"
#include "platform/host/padre.h"
#include "platform/host/platform_context.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "preview/install.h"
#include "screen/frm_qmx44.h"
#include "ui/form_view.h"
#include "ui/grid_view.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>

using namespace qmx44;

namespace {

constexpr int Lines = 10000, FewLines = 10;
const QString Large = QStringLiteral("G000010000");
const QString Small = QStringLiteral("G000000010");

// The demo company plus the two purchases, one line group per line.
void fill(db::Conexion &c)
{
    db::loadDemo(c);
    db::ScopedTransaction t(c);
    for (int i = 1; i <= Lines; ++i) {
        const QString product = QStringLiteral("PG%1").arg(i, 6, 10, QLatin1Char('0'));
        bench::addVolumeProduct(c, product, i);
        for (const QString &folio : {Large, Small}) {
            if (folio == Small && i > FewLines)
                continue;
            bench::addVolumePurchaseLine(c, folio, i, product, 1 + i % 37);
        }
    }
    t.commit();
}

std::shared_ptr<db::Conexion> database;

// The screen as the component builds it, shown in its view.
struct Screen {
    Screen()
    {
        context->session = std::make_shared<services::Session>(database, QStringLiteral("ADMIN"));
        context->session->setMessageSink(sink);
        context->session->setFixedDate(QDate(2024, 7, 15));
        sistema = std::make_unique<services::Sistema>(context->session);
        utilerias = std::make_unique<services::Utilerias>(context->session);
        frm = std::make_unique<screen::FrmQMX44>(screen::FormEnvironment{context, sistema.get(), utilerias.get()});
        intake::install(*frm);
        bonus::install(*frm);
        preview::install(*frm);
        document::install(*frm);
        auto padre = std::make_shared<host::Padre>();
        padre->setMember(QStringLiteral("Modulo"), QStringLiteral("COMPRAS"));
        frm->setPadre(padre);
        frm->load();
        frm->show();
        view = std::make_unique<ui::FormView>(frm->form());
        view->resize(view->sizeHint().expandedTo(QSize(1024, 720)));
        view->show();
        QApplication::setActiveWindow(view.get());
        QApplication::processEvents();
        grid = qobject_cast<ui::GridView *>(view->widgetFor(QStringLiteral("ssDetalle")));
    }
    ~Screen()
    {
        view.reset();
        frm.reset();
        controls::Desktop::reset();
    }

    // The clerk's way in: Nuevo, the folio, Enter; then the detail's page is shown. An
    // error names what went wrong.
    std::string takeIn(const QString &folio, int rows)
    {
        frm->Controles().click(controls::Command::Nuevo);
        frm->txt_Co_Folio().setFocus();
        frm->txt_Co_Folio().setText(folio);
        intake::txt_Co_Folio_Enter(*frm);
        frm->ssTabFichas().setActivePage(1); // the detail's page
        QApplication::processEvents();
        view->repaint();
        if (!sink->messages().empty())
            return sink->messages().back().text.toStdString();
        if (frm->ssDetalle().rowCount() != rows)
            return "the purchase was not taken in whole";
        if (!grid)
            return "the form view shows no detail grid";
        if (grid->model()->rowCount() != rows)
            return "the grid view shows " + std::to_string(grid->model()->rowCount()) + " of " + std::to_string(rows)
                + " rows";
        return {};
    }

    std::shared_ptr<RecordingMessageSink> sink = std::make_shared<RecordingMessageSink>();
    std::shared_ptr<host::PlatformContext> context = std::make_shared<host::PlatformContext>();
    std::unique_ptr<services::Sistema> sistema;
    std::unique_ptr<services::Utilerias> utilerias;
    std::unique_ptr<screen::FrmQMX44> frm;
    std::unique_ptr<ui::FormView> view;
    ui::GridView *grid = nullptr;
};

// One keystroke in a bonus cell, from the key press sent to the grid widget to the
// repainted window. Going to the cell is untimed; rows are visited spread over the grid.
void BM_Keystroke(benchmark::State &state, const QString &folio)
{
    const int rows = int(state.range(0));
    Screen s;
    if (const std::string error = s.takeIn(folio, rows); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    controls::Grid &grid = s.frm->ssDetalle();
    const int columns[] = {grid.columnIndex(QStringLiteral("BON_PORCENTAJE")),
                           grid.columnIndex(QStringLiteral("BON_IMPORTE"))};
    const QVariant before = s.frm->textField(QStringLiteral("txt_Total")).value();
    long i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!grid.setFocus() || !grid.gotoCell(int((i * 7919) % rows), columns[i % 2])) {
            state.SkipWithError("the bonus cell cannot take the focus");
            break;
        }
        s.grid->setFocus();
        QApplication::processEvents();
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : s.grid;
        state.ResumeTiming();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
        QApplication::processEvents();
        s.view->repaint();
        ++i;
    }
    if (s.frm->textField(QStringLiteral("txt_Total")).value() == before)
        state.SkipWithError("the keystrokes did not reach the totals");
}

// One page down through the grid (back to the top after the last), repainted.
void BM_Scroll(benchmark::State &state, const QString &folio)
{
    Screen s;
    if (const std::string error = s.takeIn(folio, int(state.range(0))); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    QScrollBar *bar = s.grid->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
        s.grid->viewport()->repaint();
    }
}

// PageDown sent to the grid widget in a bonus cell (back to the top with Ctrl+Home,
// untimed, from the last row), to the repainted window.
void BM_PageDown(benchmark::State &state, const QString &folio)
{
    const int rows = int(state.range(0));
    Screen s;
    if (const std::string error = s.takeIn(folio, rows); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    controls::Grid &grid = s.frm->ssDetalle();
    if (!grid.setFocus() || !grid.gotoCell(0, grid.columnIndex(QStringLiteral("BON_IMPORTE")))) {
        state.SkipWithError("the bonus cell cannot take the focus");
        return;
    }
    s.grid->setFocus();
    QApplication::processEvents();
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, k, modifiers);
        QKeyEvent release(QEvent::KeyRelease, k, modifiers);
        QApplication::sendEvent(s.grid, &press);
        QApplication::sendEvent(s.grid, &release);
    };
    for (auto _ : state) {
        if (grid.currentRow() == rows - 1) {
            state.PauseTiming();
            key(Qt::Key_Home, Qt::ControlModifier);
            QApplication::processEvents();
            state.ResumeTiming();
        }
        key(Qt::Key_PageDown, Qt::NoModifier);
        QApplication::processEvents();
        s.view->repaint();
    }
    if (rows > grid.visibleRows() && grid.currentRow() == 0)
        state.SkipWithError("PageDown did not move the grid");
}

// A field of /proc/self/status in KiB.
long statusKib(const std::string &field)
{
    std::ifstream in("/proc/self/status");
    for (std::string l; std::getline(in, l);)
        if (l.compare(0, field.size() + 1, field + ":") == 0)
            return std::stol(l.substr(field.size() + 1));
    return 0;
}

// The peak memory of taking the large purchase in, showing it and scrolling to its end,
// above the shown empty screen. The peak is reset first (clear_refs 5) so that the
// database's filling does not hide it.
void BM_PeakMemory(benchmark::State &state)
{
    for (auto _ : state) {
        Screen s;
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        const long empty = statusKib("VmHWM");
        if (const std::string error = s.takeIn(Large, Lines); !error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
        s.grid->scrollToBottom();
        s.view->repaint();
        const long loaded = statusKib("VmHWM");
        state.counters["empty_kib"] = double(empty);
        state.counters["loaded_kib"] = double(loaded);
        state.counters["bytes_per_row"] = double(loaded - empty) * 1024 / Lines;
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir;
    try {
        database = db::open(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("gui.sqlite")));
        fill(*database);
    } catch (const RuntimeError &e) {
        std::fprintf(stderr, "bench_gui: %s\n", qPrintable(e.description()));
        return 1;
    }

    // First: the peak is the process's, and the later benchmarks raise it.
    benchmark::RegisterBenchmark("peak_memory/10000", BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
    for (const auto &[folio, rows] : {std::pair{Large, Lines}, std::pair{Small, FewLines}}) {
        benchmark::RegisterBenchmark("keystroke", BM_Keystroke, folio)->Arg(rows)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("scroll", BM_Scroll, folio)->Arg(rows)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("pagedown", BM_PageDown, folio)->Arg(rows)->Unit(benchmark::kMillisecond);
    }
    // Wall time: what the clerk sees between the key and the painted figures.
    bench::declare({.operation = "keystroke in a bonus cell to the repainted totals",
                    .size = "10,000 rows",
                    .backend = "SQLite",
                    .measured = "keystroke/10000",
                    .baseline = "keystroke/10",
                    .baselineLabel = "10 rows",
                    .maxValue = 16});
    bench::declare({.operation = "scroll the detail grid one page, repainted",
                    .size = "10,000 rows",
                    .backend = "SQLite",
                    .measured = "scroll/10000",
                    .baseline = "scroll/10",
                    .baselineLabel = "10 rows",
                    .maxValue = 16});
    bench::declare({.operation = "PageDown in the detail grid, repainted",
                    .size = "10,000 rows",
                    .backend = "SQLite",
                    .measured = "pagedown/10000",
                    .baseline = "pagedown/10",
                    .baselineLabel = "10 rows",
                    .maxValue = 16});
    bench::declare({.operation = "peak memory with the purchase taken in, above the empty screen",
                    .size = "10,000 rows",
                    .backend = "SQLite",
                    .measured = "peak_memory/10000",
                    .figure = bench::Figure::Counter,
                    .counter = "bytes_per_row",
                    .unit = "B/row",
                    .maxValue = 1024});

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    database.reset();
    return 0;
}

// Long work's progress as a window-modal progress window. The work runs on the GUI's own
// thread: the window repaints from its value updates (a modal progress window handles the
// pending events there), and being modal it keeps the clerk's keys and clicks from the
// screen until the work is over.
#include "ui/progress_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QProgressBar>
#include <QProgressDialog>
#include <limits>

namespace qmx44::ui {

// No Cancel button, and neither Escape nor the window's close button take it away: the
// jobs (a grid half filled, a PDF half drawn) cannot be abandoned halfway safely, and the
// window gone would let the clerk's input reach the screen in the middle of the work.
class ProgressWindow : public QProgressDialog {
public:
    ProgressWindow(const QString &label, QWidget *parent)
        : QProgressDialog(label, QString(), 0, 0, parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
        setObjectName(QStringLiteral("progreso"));
        setWindowTitle(QStringLiteral("qmx44"));
        setCancelButton(nullptr);
        auto *bar = new QProgressBar(this);
        bar->setFormat(QStringLiteral("%v de %m"));
        bar->setAlignment(Qt::AlignCenter);
        setBar(bar);
        setAutoReset(false);
        setAutoClose(false);
        // Without a window to stay over, the whole application waits.
        setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
        setMinimumDuration(ProgressDialogSink::kShowAfterMs);
        setMinimumWidth(380); // the label and the counts on one line each, never cramped
    }

protected:
    void keyPressEvent(QKeyEvent *event) override { event->accept(); }
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

ProgressDialogSink::ProgressDialogSink(QWidget *window) : m_window(window) {}

ProgressDialogSink::~ProgressDialogSink()
{
    if (m_depth > 0) {
        delete m_dialog.data();
        QApplication::restoreOverrideCursor();
    }
}

void ProgressDialogSink::begin(const QString &label, qint64 total)
{
    if (m_depth++ > 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QWidget *parent = m_window ? m_window.data() : QApplication::activeWindow();
    m_total = std::min<qint64>(total, std::numeric_limits<int>::max());
    m_dialog = new ProgressWindow(label, parent);
    m_dialog->setRange(0, int(m_total));
    m_dialog->setValue(0); // the clock of the minimum duration starts here
    m_lastUpdate.start();
}

void ProgressDialogSink::advance(qint64 done)
{
    // Shown once the job lasts longer than the minimum duration (or is foreseen to);
    // from then on each value repaints it.
    if (m_depth != 1 || !m_dialog || (m_lastUpdate.elapsed() < kUpdateEveryMs && done < m_total))
        return;
    m_lastUpdate.start();
    m_dialog->setValue(int(std::min(done, m_total)));
}

void ProgressDialogSink::finish()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    delete m_dialog.data(); // null when its parent window went first
    QApplication::restoreOverrideCursor();
}

QWidget *ProgressDialogSink::dialog() const
{
    return m_dialog.data();
}

} // namespace qmx44::ui

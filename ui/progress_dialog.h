#pragma once
// Long work's progress as a progress window over the window the clerk works in, with a
// wait cursor while the work lasts.
#include "platform/core/progress.h"

#include <QElapsedTimer>
#include <QPointer>

class QWidget;

namespace qmx44::ui {

class ProgressWindow;

class ProgressDialogSink : public ProgressSink {
public:
    // The window shown over `window` when given, else over the active window at the
    // job's start.
    explicit ProgressDialogSink(QWidget *window = nullptr);
    ~ProgressDialogSink() override;

    void begin(const QString &label, qint64 total) override;
    void advance(qint64 done) override;
    void finish() override;

    // The progress window of the job under way (null between jobs); it may not be shown.
    QWidget *dialog() const;

    // How long a job runs before its window shows.
    static constexpr int kShowAfterMs = 500;
    // The window takes a report at most this often: each one it shows handles the
    // pending events and repaints, which would slow a job reported a hundred times in a
    // second.
    static constexpr int kUpdateEveryMs = 50;

private:
    QPointer<QWidget> m_window;
    QPointer<ProgressWindow> m_dialog;
    QElapsedTimer m_lastUpdate;
    int m_depth = 0; // a job begun inside another reports in the outer one's window
    qint64 m_total = 0;
};

} // namespace qmx44::ui

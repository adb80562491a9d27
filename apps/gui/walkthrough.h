#pragma once
// The built-in walk-through of a clerk's work, run in the real application on whatever
// platform Qt uses (offscreen on a server): sign in, open the screen, take a purchase in,
// type bonuses in the grid's cells, prorate an amount, fill the required additional
// field, save, show the saved note and preview its print. Everything is typed as key
// events into the focused widget (cells and option buttons are clicked); message boxes
// and dialogs are answered from a timer that runs inside their event loops. After each
// step the main window is saved as a PNG picture in the output folder, where the printed
// note's PDF is written too.
#include "platform/db/connection.h"
#include "platform/host/screen_session.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QWidget;

namespace qmx44::apps::gui {

class MainWindow;

struct WalkthroughPlan {
    QString user = QStringLiteral("CXP01");
    QString purchase = QStringLiteral("C000000002"); // a demo purchase with pending lines
    QString cause = QStringLiteral("PP");
    QString reference = QStringLiteral("NCP-7001");
    QString percentage = QStringLiteral("10");          // typed in the first two rows' percentage cells
    QString prorated = QStringLiteral("1500");          // prorated by amount (Option3)
    QString supplierFolio = QStringLiteral("NCP-7001"); // the required additional field
};

class Walkthrough {
public:
    // `builtComponent`: the screen's plug-in that came with the program.
    Walkthrough(std::shared_ptr<db::Conexion> database, QString databaseName, QString builtComponent,
                QString folder, WalkthroughPlan plan = {});
    ~Walkthrough();
    Walkthrough(const Walkthrough &) = delete;
    Walkthrough &operator=(const Walkthrough &) = delete;

    // Runs every step; true when each went as planned. `report` gets one line per file
    // written and per problem met.
    bool run(const std::function<void(const QString &)> &report);

    const QStringList &files() const { return m_files; }
    const QStringList &problems() const { return m_problems; }
    // What the message boxes said, in order ("title: text").
    const QStringList &messages() const { return m_messages; }

private:
    struct Answer {
        QString name;
        std::function<void(QWidget &)> act;
    };

    void step(const QString &name, const std::function<void()> &action);
    void expectModal(const QString &name, std::function<void(QWidget &)> act);
    void pollModals();
    void answerUnexpected(QWidget &modal);
    void settle();
    void waitForNoModal();
    void closePreview(const QList<QWidget *> &before, const QString &name);
    void shoot(QWidget &widget, const QString &name);
    void problem(const QString &text);

    // Input, as the clerk gives it.
    // To the focused widget, or to `to` (a window whose activation may not have reached
    // the application yet on a real window system).
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString(),
               QWidget *to = nullptr);
    void typeKeys(const QString &text, QWidget *to = nullptr);
    // Makes `window` the active window, waiting for the window system as long as it takes.
    void bringToFront(QWidget &window);
    void click(QWidget &widget, QPoint at = QPoint(-1, -1));
    void focusField(const QString &name);
    void clickCell(int row, const QString &column);
    void trigger(const QString &command);

    std::shared_ptr<db::Conexion> m_database;
    QString m_databaseName;
    QString m_builtComponent;
    std::unique_ptr<host::ScreenSession> m_screen;
    QString m_folder;
    WalkthroughPlan m_plan;
    std::unique_ptr<MainWindow> m_window;
    std::vector<Answer> m_answers;
    std::vector<const QObject *> m_answered;
    std::function<void(const QString &)> m_report;
    QStringList m_files, m_problems, m_messages;
    int m_shot = 0;
    bool m_polling = false;
};

} // namespace qmx44::apps::gui

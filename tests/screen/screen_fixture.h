#pragma once
// The main form on a fresh demo database, wired as the component wires it (intake and
// bonus handlers installed), with a recording message sink and a fixed working date.
#include "bonus/install.h"
#include "intake/install.h"
#include "platform/business/activity_log.h"
#include "platform/controls/desktop.h"
#include "platform/core/message.h"
#include "platform/host/platform_context.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "screen/frm_qmx44.h"
#include "tests/support/test_db.h"
#include <QTemporaryDir>

#include <QDate>
#include <memory>
#include <ostream>

// Failures show texts as texts.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qmx44::test {

struct DemoScreen {
    explicit DemoScreen(const std::string &backend, const QString &usuario = QStringLiteral("ADMIN"))
        : fresh(backend, /*demo=*/true)
    {
        controls::Desktop::reset();
        // The fresh database owns the connection; the session only borrows it.
        auto conexion = std::shared_ptr<db::Conexion>(&fresh.connection(), [](db::Conexion *) {});
        context = std::make_shared<host::PlatformContext>();
        context->outputFolder = salida.path(); // prints never land in the working folder
        context->session = std::make_shared<services::Session>(conexion, usuario);
        context->session->setMessageSink(sink);
        context->session->setFixedDate(QDate(2024, 7, 15));
        sistema = std::make_unique<services::Sistema>(context->session);
        utilerias = std::make_unique<services::Utilerias>(context->session);
        frm = std::make_unique<screen::FrmQMX44>(screen::FormEnvironment{context, sistema.get(), utilerias.get()});
        intake::install(*frm);
        bonus::install(*frm);
    }
    ~DemoScreen() { controls::Desktop::reset(); }

    // What the host does: load, show (first layout and activation).
    void open()
    {
        frm->load();
        frm->show();
    }

    db::Conexion &db() { return fresh.connection(); }
    controls::Form &form() { return frm->form(); }
    controls::TextField &textField(const char *name) { return frm->textField(QString::fromLatin1(name)); }
    QString focusedField() const
    {
        auto *f = frm->form().focused();
        return f ? f->name() : QString();
    }
    void setParameter(const char *nombre, const QString &valor)
    {
        db().run(QStringLiteral("UPDATE Parametro SET Pa_Valor = ? WHERE Pa_Nombre = ?"),
                 {valor, QString::fromLatin1(nombre)});
    }

    FreshDatabase fresh;
    QTemporaryDir salida;
    std::shared_ptr<RecordingMessageSink> sink = std::make_shared<RecordingMessageSink>();
    std::shared_ptr<host::PlatformContext> context;
    std::unique_ptr<services::Sistema> sistema;
    std::unique_ptr<services::Utilerias> utilerias;
    std::unique_ptr<screen::FrmQMX44> frm;
};

} // namespace qmx44::test

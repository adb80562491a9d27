#pragma once
// The main form on a fresh demo database, wired as the component wires it (intake, bonus
// and document handlers), with a parent object, a recording message sink that also
// notes whether a transaction was open when each message was shown, a fixed working
// date (2024-07-15, in an open period) and helpers for the steps of a credit note.
#include "bonus/install.h"
#include "document/install.h"
#include "intake/install.h"
#include "platform/controls/desktop.h"
#include "platform/controls/keys.h"
#include "platform/core/message.h"
#include "platform/db/open.h"
#include "platform/db/statement_faults.h"
#include "platform/host/padre.h"
#include "platform/host/platform_context.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "screen/frm_qmx44.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTemporaryDir>
#include <memory>
#include <ostream>
#include <vector>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qmx44::test {

// Success when no message was shown; otherwise the messages, for the failure report.
inline ::testing::AssertionResult noMessages(const std::vector<Message> &mensajes)
{
    if (mensajes.empty())
        return ::testing::AssertionSuccess();
    auto r = ::testing::AssertionFailure();
    for (const Message &m : mensajes)
        r << "\n  " << m.id.toStdString() << " [" << m.title.toStdString() << "] " << m.text.toStdString();
    return r;
}

// Records every message and whether the connection had a transaction open at that moment.
class TransactionCheckingSink : public RecordingMessageSink {
public:
    int show(const Message &m) override
    {
        abiertas.push_back(conexion && conexion->inTransaction());
        return RecordingMessageSink::show(m);
    }
    db::Conexion *conexion = nullptr;
    std::vector<bool> abiertas;
};

// Who the screen's session signs in as on PostgreSQL: the server's superuser (the
// fresh database's own connection), or a new clerk's login mapped to the screen's user.
enum class ServerLogin { Superuser, Clerk };

struct NoteScreen {
    // `options` (e.g. "lock_timeout=1s"), when given, go into the query of the screen's
    // own connection string.
    explicit NoteScreen(const std::string &backend, const QString &usuario = QStringLiteral("ADMIN"),
                        ServerLogin login = ServerLogin::Superuser, const QString &options = {})
        : fresh(backend, /*demo=*/true), own(ownConnection(fresh, usuario, login, options))
    {
        controls::Desktop::reset();
        auto conexion = std::shared_ptr<db::Conexion>(&faults, [](db::Conexion *) {});
        sink->conexion = own ? own.get() : &fresh.connection();
        context = std::make_shared<host::PlatformContext>();
        context->session = std::make_shared<services::Session>(conexion, usuario);
        context->session->setMessageSink(sink);
        context->session->setFixedDate(QDate(2024, 7, 15));
        context->outputFolder = salida.path();
        sistema = std::make_unique<services::Sistema>(context->session);
        utilerias = std::make_unique<services::Utilerias>(context->session);
        frm = std::make_unique<screen::FrmQMX44>(screen::FormEnvironment{context, sistema.get(), utilerias.get()});
        intake::install(*frm);
        bonus::install(*frm);
        document::install(*frm);
        padre = std::make_shared<host::Padre>();
        padre->setMember(QStringLiteral("Modulo"), QStringLiteral("COMPRAS"));
        padre->setMember(QStringLiteral("Transaccion"), QStringLiteral("CO003"));
    }
    ~NoteScreen() { controls::Desktop::reset(); }

    // What the host does: parent, load, show.
    void open()
    {
        frm->setPadre(padre);
        frm->load();
        frm->show();
    }

    db::Conexion &db() { return fresh.connection(); }
    controls::Toolbar &toolbar() { return frm->Controles(); }
    controls::Grid &grid() { return frm->ssDetalle(); }
    controls::TextField &textField(const char *name) { return frm->textField(QString::fromLatin1(name)); }
    void setParameter(const char *nombre, const QString &valor)
    {
        db().run(QStringLiteral("UPDATE Parametro SET Pa_Valor = ? WHERE Pa_Nombre = ?"),
                 {valor, QString::fromLatin1(nombre)});
    }
    void armFault(const char *operacion, const QString &text)
    {
        context->session->faults().arm(QString::fromLatin1(operacion), text);
    }

    // The user types `text` into field `name` and presses Enter.
    void typeInto(const char *name, const QString &text)
    {
        controls::TextField &f = textField(name);
        f.setFocus();
        f.selectAll();
        f.typeText(text);
        f.pressKey(controls::keys::Enter);
    }

    // Nuevo, the purchase, the cause and the required additional field, as a user does.
    void newNote(const QString &compra)
    {
        toolbar().click(controls::Command::Nuevo);
        typeInto("txt_Co_Folio", compra);
        typeInto("txt_Cn_Cve_Causa_Nota", QStringLiteral("BC"));
        toolbar().setAdditionalField(QStringLiteral("NC_FOLIO_PROVEEDOR"), QStringLiteral("PRV-77"));
    }

    // Shows saved note `folio` as a user does (typing it and pressing Enter).
    void showNote(const QString &folio) { typeInto("txtFolio", folio); }

    int column(const char *nombre) { return grid().columnIndex(QString::fromLatin1(nombre)); }
    QVariant cell(int row, const char *col) { return grid().cellValue(row, column(col)); }
    // The grid row of a line group; -1 when none.
    int rowOf(const char *producto, const char *talla, const char *color)
    {
        for (int r = 0; r < grid().rowCount(); ++r)
            if (grid().cellText(r, column("Pr_Cve_Producto")) == QLatin1String(producto)
                && grid().cellText(r, column("Tl_Cve_Talla")) == QLatin1String(talla)
                && grid().cellText(r, column("Cl_Cve_Color")) == QLatin1String(color))
                return r;
        return -1;
    }
    // Puts a bonus on a row and keeps the totals as bonus editing keeps them.
    void grantBonus(int row, double importe)
    {
        grid().setCellValue(row, column("BON_IMPORTE"), importe);
        const double base = cell(row, "Precio_Descontado_Importe").toDouble();
        grid().setCellValue(row, column("BON_PORCENTAJE"), base == 0 ? 0.0 : importe / base * 100);
        retotal();
    }
    void retotal()
    {
        double sub = 0, imp = 0;
        for (int r = 0; r < grid().rowCount(); ++r) {
            const double b = cell(r, "BON_IMPORTE").toDouble();
            sub += b;
            imp += b * cell(r, "Impuesto_Factor").toDouble();
        }
        textField("txt_SubTotal").setValue(sub);
        textField("txt_Impuestos").setValue(imp);
        textField("txt_Total").setValue(sub + imp);
    }
    void accept() { toolbar().click(controls::Command::Aceptar); }

    // A fingerprint of everything a save or a cancellation may write.
    QString fingerprint()
    {
        QString out;
        const auto uno = [&](const char *sql) {
            auto rs = db().query(QString::fromLatin1(sql));
            QStringList vals;
            for (const QString &c : rs->columns())
                vals << rs->field(c).toString();
            out += vals.join(QLatin1Char(',')) + QLatin1Char(';');
        };
        uno("SELECT COUNT(*), COUNT(DISTINCT Nc_Folio), SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 1 ELSE 0 END), "
            "SUM(Nc_Precio_Neto_Importe), SUM(Nc_Precio_Descontado_Importe) FROM NOTA_CREDITO_PROVEEDOR");
        uno("SELECT COUNT(*), SUM(Ap_Cancelada), SUM(Ap_Importe) FROM Nota_Credito_Aplicacion");
        uno("SELECT SUM(Pv_Saldo) FROM Proveedor");
        uno("SELECT COUNT(*) FROM Documento_Direccion");
        uno("SELECT COUNT(*) FROM Campo_Adicional_Valor");
        uno("SELECT COUNT(*), SUM(Fc_Ultimo) FROM Folio_Contador");
        uno("SELECT COUNT(*), SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 1 ELSE 0 END) FROM Bonificacion_Volumen");
        uno("SELECT COUNT(*) FROM Bonificacion_Volumen_Nota");
        return out;
    }
    // A one-value query.
    QVariant scalar(const QString &sql, const QVariantList &args = {})
    {
        auto rs = db().query(sql, args);
        return rs->eof() ? QVariant() : rs->field(rs->columns().value(0));
    }
    std::vector<Message> messages() { return sink->take(); }

    QTemporaryDir salida;
    static std::unique_ptr<db::Conexion> ownConnection(FreshDatabase &fresh, const QString &usuario, ServerLogin login,
                                                       const QString &options)
    {
        if (login == ServerLogin::Superuser && options.isEmpty())
            return nullptr;
        const QString cs =
            login == ServerLogin::Clerk ? clerkConnectionString(fresh, usuario) : fresh.connectionString();
        return db::open(options.isEmpty() ? cs : cs + (cs.contains(u'?') ? u'&' : u'?') + options,
                        db::OpenMode::Existing);
    }

    FreshDatabase fresh;
    // The screen's own session when it runs as a clerk's login or with options of its
    // own; db() stays the superuser's.
    std::unique_ptr<db::Conexion> own;
    // The screen's connection: the fresh database's (or its own), with failures to arm.
    db::StatementFaults faults{own ? *own : fresh.connection()};
    std::shared_ptr<TransactionCheckingSink> sink = std::make_shared<TransactionCheckingSink>();
    std::shared_ptr<host::PlatformContext> context;
    std::unique_ptr<services::Sistema> sistema;
    std::unique_ptr<services::Utilerias> utilerias;
    std::shared_ptr<host::Padre> padre;
    std::unique_ptr<screen::FrmQMX44> frm;
};

} // namespace qmx44::test

// The desktop host as a clerk uses it: the built-in walk-through types its way through the
// real main window (sign-in, purchase folio and Enter, bonus cells, Opcional with F4 in
// the dialog, the required additional field, Aceptar, message boxes answered), and what
// it did is read back from the database.
#include "apps/gui/walkthrough.h"
#include "platform/db/open.h"
#include "tests/support/test_db.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qmx44;

namespace {

QVariant scalar(db::Conexion &c, const QString &sql)
{
    auto rs = c.query(sql);
    return rs->eof() ? QVariant() : rs->field(QStringLiteral("v"));
}

} // namespace

// Guards against a keyboard path through the windows that does not reach the models (the
// note not saved, saved without its lines, amounts or required field) and against the
// window forgetting its geometry and the grid's column widths.
TEST(GuiHostTest, ClerkSavesANoteByKeyboard)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    test::FreshDatabase fresh("sqlite", /*demo=*/true);
    fresh.closeConnection();
    std::shared_ptr<db::Conexion> database = db::open(fresh.connectionString());
    apps::gui::Walkthrough tour(database, fresh.connectionString(), QStringLiteral(QMX44_COMPONENT_FILE),
                                folder.filePath(QStringLiteral("out")));
    EXPECT_TRUE(tour.run([](const QString &) {})) << tour.problems().join(u'\n').toStdString();

    db::Conexion &c = *database;
    const QString note = QStringLiteral(" FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = '0000000004'");
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT COUNT(*) AS v") + note).toInt(), 4);
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT MIN(Co_Folio) AS v") + note).toString(), QStringLiteral("C000000002"));
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT MIN(Cn_Cve_Causa_Nota_Credito_Proveedor) AS v") + note).toString(),
              QStringLiteral("PP"));
    // The 1,500 prorated by amount over the four lines is the note's bonus before tax.
    EXPECT_NEAR(scalar(c, QStringLiteral("SELECT SUM(Nc_Precio_Descontado_Importe) AS v") + note).toDouble(), 1500,
                0.01);
    EXPECT_EQ(scalar(c,
                     QStringLiteral("SELECT Cv_Valor AS v FROM Campo_Adicional_Valor WHERE Ca_Campo = "
                                    "'NC_FOLIO_PROVEEDOR' AND Cv_Clave = '0000000004'"))
                  .toString(),
              QStringLiteral("NCP-7001"));

    EXPECT_TRUE(tour.files().filter(QStringLiteral(".pdf")).size() >= 1);
    QSettings settings;
    EXPECT_TRUE(settings.contains(QStringLiteral("window/geometry")));
    EXPECT_TRUE(settings.contains(QStringLiteral("screen/gridColumnWidths")));
}

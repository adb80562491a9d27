// The toolbar's additional fields, stored inside the caller's transaction. Which commands
// the toolbar offers through the editing states, and the Aceptar flag, are the mode
// scenarios' (modes_*, click_not_offered, save_validation, save_ok), on both drivers.
#include "platform/business/additional_field_store.h"
#include "platform/controls/controls.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

class ToolbarAdditionalFieldsTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        db = test::freshDatabase(GetParam());
        const QString sql = "INSERT INTO Campo_Adicional (Ca_Tabla, Ca_Campo, Ca_Etiqueta, Ca_Tipo, "
                            "Ca_Longitud, Ca_Requerido, Ca_Orden) VALUES (?, ?, ?, ?, ?, ?, ?)";
        db->run(sql, {"NOTA_CREDITO_PROVEEDOR", "REF_PROV", "Referencia del proveedor", "T", 10, 1, 1});
        db->run(sql, {"NOTA_CREDITO_PROVEEDOR", "PIEZAS", "Piezas", "N", 10, 0, 2});
        db->run(sql, {"COMPRA", "OTRO", "Otro", "T", 10, 1, 1});
        bar.setAdditionalFieldStore(std::make_shared<business::DbAdditionalFieldStore>(*db));
        bar.applySetting("opc_table", "Nota_Credito_Proveedor");
        bar.setNewEnabled(true);
        bar.click(Command::Nuevo);
    }
    int storedRows()
    {
        auto rs = db->query("SELECT COUNT(*) AS N FROM Campo_Adicional_Valor");
        return rs->field("N").toInt();
    }

    std::unique_ptr<db::Conexion> db;
    Form form{QStringLiteral("frmQMX44")};
    Toolbar &bar = form.add<Toolbar>("Controles");
};

} // namespace

// Guards that the values are written through the screen's connection inside its
// transaction (a rollback leaves nothing) and read back under the folio after a commit.
TEST_P(ToolbarAdditionalFieldsTest, StoredInsideTheCallersTransaction)
{
    ASSERT_EQ(2u, bar.additionalFields().definitions().size());
    EXPECT_TRUE(bar.setAdditionalField("ref_prov", "F-77'A"));
    EXPECT_FALSE(bar.setAdditionalField("OTRO", "x"));
    EXPECT_TRUE(bar.setAdditionalField("PIEZAS", "12"));
    QString folio = "0000000001";
    {
        db::ScopedTransaction tx(*db);
        EXPECT_TRUE(bar.GuardarCamposAdicionales(folio));
        EXPECT_EQ(2, storedRows());
    }
    EXPECT_EQ(0, storedRows());
    {
        db::ScopedTransaction tx(*db);
        ASSERT_TRUE(bar.GuardarCamposAdicionales(folio));
        tx.commit();
    }
    bar.click(Command::Cancelar);
    EXPECT_EQ(QString(), bar.additionalField("REF_PROV"));
    bar.CargarCamposAdicionales(folio);
    EXPECT_EQ(QString("F-77'A"), bar.additionalField("REF_PROV"));
    EXPECT_EQ(QString("12"), bar.additionalField("PIEZAS"));
}

// Guards the refusals: a required field left empty, a non-numeric number; nothing is
// written and the reason names the field's label.
TEST_P(ToolbarAdditionalFieldsTest, RefusedValuesGiveAReasonAndWriteNothing)
{
    QString folio = "0000000002";
    EXPECT_FALSE(bar.GuardarCamposAdicionales(folio));
    EXPECT_TRUE(bar.ErrorCamposAdicionales().contains(QStringLiteral("Referencia del proveedor")));
    bar.setAdditionalField("REF_PROV", "R1");
    bar.setAdditionalField("PIEZAS", "doce");
    EXPECT_FALSE(bar.GuardarCamposAdicionales(folio));
    EXPECT_TRUE(bar.ErrorCamposAdicionales().contains(QStringLiteral("Piezas")));
    EXPECT_EQ(0, storedRows());
}

INSTANTIATE_TEST_SUITE_P(Backends, ToolbarAdditionalFieldsTest, ::testing::ValuesIn(test::backends()),
                         [](const auto &p) { return qmx44::test::backendLabel(p.param); });

// LimpiarControles / HabilitarControles on a small form holding part of both mode
// groups (each field's design settings "modegroup" / "modeunlock"), and EnviarTeclas moving the focus of the active
// form.
#include "platform/controls/desktop.h"
#include "platform/controls/form.h"
#include "platform/controls/text_field.h"
#include "platform/services/utilerias.h"

#include <gtest/gtest.h>

using namespace qmx44;
using controls::TextField;

namespace {

class ModeGroupsTest : public ::testing::Test {
protected:
    ModeGroupsTest()
    {
        addField(QStringLiteral("txtFolio"), false, true).setText(QStringLiteral("0000000005"));
        addField(QStringLiteral("txt_Sc_Cve_Sucursal"), true, false, 1).setTag(QStringLiteral("0"));
        f("txt_Sc_Cve_Sucursal").setText(QStringLiteral("001"));
        addField(QStringLiteral("txt_Al_Cve_Almacen"), true, false, 1).setText(QStringLiteral("A01"));
        addField(QStringLiteral("txt_Pv_Cve_Proveedor"), true, false, 1).setText(QStringLiteral("P0001"));
        addField(QStringLiteral("txt_Pv_Descripcion"), true, false, 1).setText(QStringLiteral("Hilados de Jalisco"));
        currency(addField(QStringLiteral("txt_Nc_Tipo_Cambio"), false, false, 1, true), 17.5);
        currency(addField(QStringLiteral("txt_SubTotal"), true, true, 1), 100.0);
        addField(QStringLiteral("txt_Cn_Cve_Causa_Nota"), false, false, 2, true).setText(QStringLiteral("BC"));
        addField(QStringLiteral("txt_Cn_Descripcion"), true, false, 2)
            .setText(QStringLiteral("Bonificación comercial"));
        addField(QStringLiteral("txt_Nc_Referencia"), false, false, 2, true).setText(QStringLiteral("REF-1"));
        addField(QStringLiteral("txt_Comentario"), false, false, 2, true).setText(QStringLiteral("nota"));
        // No buyer, currency or totals beyond the subtotal: the services must skip them.
    }

    // Each field with its mode group and whether HabilitarControles unlocks it, as the
    // main form's design gives them.
    TextField &addField(const QString &nombre, bool locked, bool enabled, int grupo = 0, bool desbloquea = false)
    {
        TextField &t = form.add<TextField>(nombre);
        t.applySetting(QStringLiteral("modegroup"), grupo);
        t.applySetting(QStringLiteral("modeunlock"), desbloquea);
        t.setLocked(locked);
        t.setEnabled(enabled);
        return t;
    }
    static void currency(TextField &t, double valor)
    {
        t.setTipodato(TextField::CurrencyDataType);
        t.setFormato(TextField::CurrencyFormat4);
        t.setValue(valor);
    }
    TextField &f(const char *nombre) { return form.get<TextField>(QString::fromLatin1(nombre)); }

    std::shared_ptr<services::Session> session = std::make_shared<services::Session>();
    services::Utilerias utilerias{session};
    controls::Form form{QStringLiteral("frmPrueba")};
};

// Guards against clearing the wrong group, the folio, or the user's preset branch, and
// against amounts left at their old value instead of 0.
TEST_F(ModeGroupsTest, LimpiarEmptiesOnlyItsGroup)
{
    utilerias.LimpiarControles(form, 2);
    for (const char *nombre : {"txt_Cn_Cve_Causa_Nota", "txt_Cn_Descripcion", "txt_Nc_Referencia", "txt_Comentario"})
        EXPECT_EQ(f(nombre).text(), QString()) << nombre;
    EXPECT_EQ(f("txt_Pv_Cve_Proveedor").text(), QStringLiteral("P0001"));
    EXPECT_EQ(f("txt_SubTotal").value().toDouble(), 100.0);

    utilerias.LimpiarControles(form, 1);
    for (const char *nombre : {"txt_Al_Cve_Almacen", "txt_Pv_Cve_Proveedor", "txt_Pv_Descripcion"})
        EXPECT_EQ(f(nombre).text(), QString()) << nombre;
    EXPECT_EQ(f("txt_Nc_Tipo_Cambio").value().toDouble(), 0.0);
    EXPECT_EQ(f("txt_SubTotal").value().toDouble(), 0.0);
    // Left alone: the preset branch (tag "0") and the folio.
    EXPECT_EQ(f("txt_Sc_Cve_Sucursal").text(), QStringLiteral("001"));
    EXPECT_EQ(f("txtFolio").text(), QStringLiteral("0000000005"));
}

// Guards against a new note's own fields staying closed, a purchase's header becoming
// typable (a note always carries its purchase's supplier, branch, warehouse), derived
// fields unlocked, the preset branch enabled, and a group reaching into the other.
TEST_F(ModeGroupsTest, HabilitarEnablesItsGroupButUnlocksOnlyWhatTheClerkTypes)
{
    utilerias.HabilitarControles(form, 2);
    for (const char *nombre : {"txt_Cn_Cve_Causa_Nota", "txt_Nc_Referencia", "txt_Comentario"}) {
        EXPECT_TRUE(f(nombre).enabled()) << nombre;
        EXPECT_FALSE(f(nombre).locked()) << nombre;
    }
    EXPECT_TRUE(f("txt_Cn_Descripcion").enabled() && f("txt_Cn_Descripcion").locked());
    EXPECT_FALSE(f("txt_Pv_Cve_Proveedor").enabled());

    utilerias.HabilitarControles(form, 1);
    for (const char *nombre : {"txt_Al_Cve_Almacen", "txt_Pv_Cve_Proveedor", "txt_Pv_Descripcion", "txt_SubTotal"}) {
        EXPECT_TRUE(f(nombre).enabled()) << nombre;
        EXPECT_TRUE(f(nombre).locked()) << nombre;
    }
    EXPECT_TRUE(f("txt_Nc_Tipo_Cambio").enabled());
    EXPECT_FALSE(f("txt_Nc_Tipo_Cambio").locked());
    EXPECT_FALSE(f("txt_Sc_Cve_Sucursal").enabled());
}

// Guards against keystrokes that do not reach the active form's focus, written either
// way (a plain Tab, which Enter in the grid and on the tab strip sends to move on, is
// page_keys.scenario's and bonus/editing.scenario's).
TEST_F(ModeGroupsTest, EnviarTeclasMovesTheFocusOfTheActiveForm)
{
    controls::Desktop::reset();
    EXPECT_FALSE(utilerias.EnviarTeclas(QStringLiteral("\t"), false));

    utilerias.HabilitarControles(form, 2);
    form.show();
    ASSERT_TRUE(f("txt_Cn_Cve_Causa_Nota").setFocus());
    EXPECT_TRUE(utilerias.EnviarTeclas(QStringLiteral("{TAB}"), false));
    EXPECT_EQ(form.focused(), &f("txt_Cn_Descripcion"));
    EXPECT_TRUE(utilerias.EnviarTeclas(QStringLiteral("+{TAB}"), false));
    EXPECT_EQ(form.focused(), &f("txt_Cn_Cve_Causa_Nota"));
    form.hide();
    controls::Desktop::reset();
}

} // namespace

// The toolbar's view: the actions follow the model's availability and Eliminar's question
// keeps the document on a stray Enter; the dialogs' answers are the widget driver's
// scenarios'.
#include "platform/controls/controls.h"
#include "platform/core/message.h"
#include "ui/toolbar_view.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

// Two definitions: a required text and a number.
class FakeStore : public AdditionalFieldStore {
public:
    std::vector<AdditionalFieldDef> definitions(const QString &) override
    {
        return {{"NC_FOLIO_PROVEEDOR", "Folio del proveedor", u'T', 20, true, 1}, {"NC_PIEZAS", "", u'N', 5, false, 2}};
    }
    void store(const QString &, const QString &, const std::vector<std::pair<QString, QString>> &) override {}
    QHash<QString, QString> load(const QString &, const QString &) override { return {}; }
};

// Runs `answer` on the modal window that opens next.
void whenModalOpens(std::function<void(QWidget *)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(nullptr, modal);
        answer(modal);
    });
}

class ToolbarViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::reset();
        form.setMessageSink(&sink);
        bar.setNewEnabled(true);
        bar.setOpcTable(QStringLiteral("Nota_Credito_Proveedor"));
        bar.setAdditionalFieldStore(std::make_shared<FakeStore>());
        bar.Eliminar.connect([&] { ++deletions; });
    }
    void TearDown() override { Desktop::reset(); }

    Form form{QStringLiteral("frmQMX44")};
    RecordingMessageSink sink;
    Toolbar &bar = form.add<Toolbar>("Controles");
    ui::ToolbarView view{bar};
    int deletions = 0;
};

} // namespace

// Guards the actions against showing what the model does not offer: availability through
// Nuevo, the optional command's caption, and the additional fields only while editing.
TEST_F(ToolbarViewTest, ActionsFollowTheModel)
{
    QAction *nuevo = view.action(Command::Nuevo), *aceptar = view.action(Command::Aceptar);
    QAction *opcional = view.action(Command::Opcional);
    EXPECT_TRUE(nuevo->isEnabled());
    EXPECT_FALSE(aceptar->isEnabled());
    EXPECT_FALSE(opcional->isVisible());
    EXPECT_FALSE(view.additionalFieldsAction()->isEnabled());

    nuevo->trigger();
    EXPECT_TRUE(bar.EnEdicion());
    EXPECT_FALSE(nuevo->isEnabled());
    EXPECT_TRUE(aceptar->isEnabled());
    EXPECT_TRUE(view.additionalFieldsAction()->isEnabled());
    bar.setOptionalCaption(QStringLiteral("Prorratear"));
    EXPECT_TRUE(opcional->isVisible());
    EXPECT_EQ(QString("Prorratear"), opcional->text());
}

// Guards against a stray Enter deleting: the question's default button is No, and it
// runs nothing.
TEST_F(ToolbarViewTest, EliminarAsksWithNoAsTheDefault)
{
    bar.setFolio(QStringLiteral("0000000001"));
    bar.setDeleteEnabled(true);
    bool asked = false;
    whenModalOpens([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_NE(nullptr, box);
        asked = true;
        box->defaultButton()->click();
    });
    view.action(Command::Eliminar)->trigger();
    EXPECT_TRUE(asked);
    EXPECT_EQ(0, deletions);
}

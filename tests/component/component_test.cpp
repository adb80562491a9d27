// The QMX44 component created by its identifier from a component folder: Pantalla,
// GetPantalla, Modulo, the form's Padre and Transaccion, closing and start-up.
#include "platform/controls/desktop.h"
#include "platform/core/error.h"
#include "platform/host/component_registry.h"
#include "platform/host/padre.h"
#include "screen/frm_qmx44.h"
#include "tests/support/test_db.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

const QString kPantalla = QStringLiteral("QMX44.Pantalla");

class ComponentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        host::ComponentRegistry(folder->path()).registerComponent(QStringLiteral(QMX44_COMPONENT_FILE));
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }

    ComponentTest()
    {
        context->session = std::make_shared<services::Session>(
            std::shared_ptr<db::Conexion>(&fresh.connection(), [](db::Conexion *) {}), QStringLiteral("ADMIN"));
        context->session->setMessageSink(sink);
    }
    ~ComponentTest() override { controls::Desktop::reset(); }

    // A new Pantalla, as a host makes one.
    std::unique_ptr<QObject> nuevaPantalla() { return registry->createObject(kPantalla, context); }
    static host::PantallaInterface *pantalla(const std::unique_ptr<QObject> &o)
    {
        return qobject_cast<host::PantallaInterface *>(o.get());
    }
    static screen::FrmQMX44 *frm(const QVariant &v) { return qobject_cast<screen::FrmQMX44 *>(v.value<QObject *>()); }

    static QTemporaryDir *folder;
    test::FreshDatabase fresh{"sqlite", /*demo=*/true};
    std::shared_ptr<RecordingMessageSink> sink = std::make_shared<RecordingMessageSink>();
    std::shared_ptr<host::PlatformContext> context = std::make_shared<host::PlatformContext>();
    std::unique_ptr<host::ComponentRegistry> registry = std::make_unique<host::ComponentRegistry>(folder->path());
};

QTemporaryDir *ComponentTest::folder = nullptr;

// Guards against a second form per component (two screens on one state) and a load that
// runs again on each request.
TEST_F(ComponentTest, GetPantallaServesOneFormLoadedOnce)
{
    auto objeto = nuevaPantalla();
    ASSERT_NE(pantalla(objeto), nullptr);
    const QVariant primera = pantalla(objeto)->GetPantalla();
    const QVariant segunda = pantalla(objeto)->GetPantalla();
    ASSERT_NE(host::mainFormOf(primera), nullptr);
    EXPECT_EQ(host::mainFormOf(primera), host::mainFormOf(segunda));
    ASSERT_NE(frm(primera), nullptr);
    EXPECT_EQ(frm(primera)->loadCount(), 1);

    // Another Pantalla of the same load, and a late-bound read, reach the same form.
    auto otro = nuevaPantalla();
    EXPECT_EQ(host::mainFormOf(pantalla(otro)->GetPantalla()), host::mainFormOf(primera));
    EXPECT_EQ(otro->property("GetPantalla").value<QObject *>(), primera.value<QObject *>());
    EXPECT_EQ(frm(primera)->loadCount(), 1);
}

// Guards the release of a closed form: never under a handler of its own that closed it
// (Salir), then once the deferred deletions are sent, its views told first; a second
// GetPantalla gives a fresh form, which the component stopping destroys.
TEST_F(ComponentTest, ClosedFormIsDestroyedOnceItsHandlersReturn)
{
    auto objeto = nuevaPantalla();
    QPointer<screen::FrmQMX44> closed = frm(pantalla(objeto)->GetPantalla());
    ASSERT_FALSE(closed.isNull());
    bool viewsTold = false;
    closed->form().observers().add(
        [&](const controls::ModelChange &c) { viewsTold |= c.aspect == controls::Aspect::Gone; });
    closed->form().Resize.connect([&] {
        closed->unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(closed.isNull());
    });
    closed->form().Resize.raise();
    EXPECT_FALSE(closed.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_TRUE(viewsTold);

    QPointer<screen::FrmQMX44> next = frm(pantalla(objeto)->GetPantalla());
    ASSERT_FALSE(next.isNull());
    registry->loadedPlugin(kPantalla)->stop();
    EXPECT_TRUE(next.isNull());
}

// Guards against Transaccion inventing an empty text when the host gave no parent or
// the parent lacks the member.
TEST_F(ComponentTest, TransaccionNeedsPadreWithTheMember)
{
    auto objeto = nuevaPantalla();
    host::MainForm *form = host::mainFormOf(pantalla(objeto)->GetPantalla());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->getPadre(), nullptr);
    EXPECT_THROW(form->Transaccion(), RuntimeError);

    auto padre = std::make_shared<host::Padre>();
    form->setPadre(padre);
    EXPECT_THROW(form->Transaccion(), RuntimeError);
    padre->setMember(QStringLiteral("Transaccion"), QStringLiteral("CO003"));
    EXPECT_EQ(form->Transaccion(), QStringLiteral("Orvalis:CO003"));
}

// Guards against a failed start-up leaving a half-made component that serves objects,
// or one that can never start afterwards.
TEST_F(ComponentTest, FailedStartUpReachesTheHostAndCanBeRetried)
{
    context->session->faults().arm(QStringLiteral("Publico"), QStringLiteral("no hay servicios"));
    try {
        nuevaPantalla();
        ADD_FAILURE() << "the start-up failure did not reach the host";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.description(), QStringLiteral("no hay servicios"));
    }
    ASSERT_NE(registry->loadedPlugin(kPantalla), nullptr);
    EXPECT_FALSE(registry->loadedPlugin(kPantalla)->started());

    auto objeto = nuevaPantalla();
    EXPECT_NE(host::mainFormOf(pantalla(objeto)->GetPantalla()), nullptr);
    EXPECT_THROW(registry->loadedPlugin(kPantalla)->create(QStringLiteral("QMX44.Otra")), RuntimeError);
}

} // namespace

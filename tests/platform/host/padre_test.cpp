// Padre: members reached by name at run time, and its close.
#include "platform/core/error.h"
#include "platform/host/padre.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

// Guards against a missing member reading as an empty value instead of failing (the
// screen's Transaccion must fail to its caller then).
TEST(PadreTest, MissingMemberFailsAndPresentOnesAreReadByName)
{
    host::Padre padre;
    EXPECT_FALSE(padre.hasMember(QStringLiteral("Transaccion")));
    EXPECT_THROW(padre.member(QStringLiteral("Transaccion")), RuntimeError);

    padre.setMember(QStringLiteral("Transaccion"), QStringLiteral("CO003"));
    padre.setMember(QStringLiteral("Modulo"), QStringLiteral("COMPRAS"));
    EXPECT_EQ(padre.member(QStringLiteral("Transaccion")).toString(), QStringLiteral("CO003"));
    EXPECT_EQ(padre.member(QStringLiteral("Modulo")).toString(), QStringLiteral("COMPRAS"));

    // An empty text is a member with a value; removing it makes it missing again.
    padre.setMember(QStringLiteral("Transaccion"), QString());
    EXPECT_NO_THROW(padre.member(QStringLiteral("Transaccion")));
    padre.setMember(QStringLiteral("Transaccion"), QVariant());
    EXPECT_THROW(padre.member(QStringLiteral("Transaccion")), RuntimeError);
}

// Guards against the host window being announced closed twice (a host would tear down twice).
TEST(PadreTest, CloseIsAnnouncedOnce)
{
    host::Padre padre;
    int announced = 0;
    QObject::connect(&padre, &host::Padre::closed, [&] { ++announced; });
    padre.close();
    padre.close();
    EXPECT_TRUE(padre.isClosed());
    EXPECT_EQ(announced, 1);
}

} // namespace

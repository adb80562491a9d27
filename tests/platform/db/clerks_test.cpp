// Who may sign in: the password hashes of an SQLite file's users, and clerks' logins on a
// PostgreSQL server as `qmx44 user` manages them.
#include "platform/db/clerks.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

// Guards against a password kept in a form that gives it back (plain, unsalted, or a
// hash that any password matches).
TEST(ClerksTest, PasswordsAreSaltedArgon2idHashes)
{
    const QString first = db::hashPassword(QStringLiteral("Contraseña ñ 1"));
    const QString second = db::hashPassword(QStringLiteral("Contraseña ñ 1"));
    EXPECT_NE(first, second);
    EXPECT_FALSE(first.contains(QLatin1String("Contraseña")));
    EXPECT_TRUE(db::verifyPassword(first, QStringLiteral("Contraseña ñ 1")));
    EXPECT_FALSE(db::verifyPassword(first, QStringLiteral("contraseña ñ 1")));
    EXPECT_FALSE(db::verifyPassword(first, QString()));
    EXPECT_FALSE(db::verifyPassword(QStringLiteral("$argon2id$garbage"), QStringLiteral("x")));
}

// Guards against a password set for a user the file does not have, an empty one, or the
// check taking another user's password.
TEST(ClerksTest, SqliteUsersPasswords)
{
    auto db = test::freshDatabase("sqlite", /*demo=*/true);
    EXPECT_FALSE(db::hasPassword(*db, QStringLiteral("GDL01")));
    EXPECT_FALSE(db::checkPassword(*db, QStringLiteral("GDL01"), QString()));
    db::setPassword(*db, QStringLiteral("GDL01"), QStringLiteral("uno"));
    db::setPassword(*db, QStringLiteral("MTY01"), QStringLiteral("dos"));
    db::setPassword(*db, QStringLiteral("GDL01"), QStringLiteral("tres")); // over the first
    EXPECT_TRUE(db::checkPassword(*db, QStringLiteral("GDL01"), QStringLiteral("tres")));
    EXPECT_FALSE(db::checkPassword(*db, QStringLiteral("GDL01"), QStringLiteral("uno")));
    EXPECT_FALSE(db::checkPassword(*db, QStringLiteral("GDL01"), QStringLiteral("dos")));
    EXPECT_FALSE(db::checkPassword(*db, QStringLiteral("NADIE"), QStringLiteral("dos")));
    EXPECT_THROW(db::setPassword(*db, QStringLiteral("NADIE"), QStringLiteral("x")), RuntimeError);
    EXPECT_THROW(db::setPassword(*db, QStringLiteral("ADMIN"), QString()), RuntimeError);
}

class ClerksServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto all = test::backends();
        if (std::find(all.begin(), all.end(), "postgres") == all.end())
            GTEST_SKIP() << "needs a PostgreSQL server (scripts/with-postgres)";
        fresh = std::make_unique<test::FreshDatabase>("postgres", /*demo=*/true);
    }
    // The fresh database's connection string with another login.
    QString as(const QString &login) const
    {
        db::ConnectionSpec spec = db::parseConnectionString(fresh->connectionString());
        spec.user = login;
        spec.password = QStringLiteral("pa'ss");
        return spec.toString();
    }
    std::unique_ptr<test::FreshDatabase> fresh;
};

// Guards against a clerk's login that signs in as nobody (or as the wrong user), one that
// still signs in once disabled or removed, and a password or name that breaks the
// statement that creates the login.
TEST_F(ClerksServerTest, AddDisableEnableRemove)
{
    db::Conexion &admin = fresh->connection();
    const QString login = QStringLiteral("clerk_test.gdl-1");
    db::addClerk(admin, login, QStringLiteral("GDL01"), QStringLiteral("pa'ss"));
    {
        auto clerk = db::open(as(login), db::OpenMode::Existing);
        EXPECT_EQ(login, db::sessionLogin(*clerk));
        EXPECT_EQ(std::optional<QString>(QStringLiteral("GDL01")), db::mappedUser(*clerk));
    }
    db::addClerk(admin, login, QStringLiteral("MTY01"), std::nullopt); // mapped again
    EXPECT_EQ(std::optional<QString>(QStringLiteral("MTY01")),
              db::mappedUser(*db::open(as(login), db::OpenMode::Existing)));
    ASSERT_EQ(1u, db::clerkLogins(admin).size());
    EXPECT_TRUE(db::clerkLogins(admin).front().canLogIn);

    db::setClerkEnabled(admin, login, false);
    EXPECT_THROW(db::open(as(login), db::OpenMode::Existing), db::OpenError);
    EXPECT_FALSE(db::clerkLogins(admin).front().canLogIn);
    db::setClerkEnabled(admin, login, true);
    EXPECT_NO_THROW(db::open(as(login), db::OpenMode::Existing));

    db::removeClerk(admin, login, /*dropLogin=*/true);
    EXPECT_TRUE(db::clerkLogins(admin).empty());
    EXPECT_THROW(db::open(as(login), db::OpenMode::Existing), db::OpenError);

    EXPECT_THROW(
        db::addClerk(admin, QStringLiteral("x\"; DROP TABLE COMPRA; --"), QStringLiteral("GDL01"), std::nullopt),
        RuntimeError);
    EXPECT_THROW(db::addClerk(admin, QStringLiteral("clerk_nobody"), QStringLiteral("NADIE"), std::nullopt),
                 RuntimeError);
    EXPECT_TRUE(admin.query(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = 'clerk_nobody'"))->eof());
}

} // namespace

// The translation of the screen's dialect, the quoting helper and the script splitter.
#include "platform/db/dialect.h"
#include "platform/db/sql_script.h"
#include "platform/db/sql_text.h"

#include <gtest/gtest.h>

using qmx44::db::Backend;
using qmx44::db::translate;

namespace {

struct Case {
    const char *name;
    const char *in;
    const char *out; // for SQLite and PostgreSQL
};

const Case kCases[] = {
    {"isnull_lower_with_blank", "select isnull (a, 0) from t", "select COALESCE (a, 0) from t"},
    {"isnull_inside_word_or_without_call_kept", "SELECT MyISNULL(a), ISNULLX(b), X_ISNULL(c), ISNULL_Flag, ISNULL",
     "SELECT MyISNULL(a), ISNULLX(b), X_ISNULL(c), ISNULL_Flag, ISNULL"},
    {"isnull_in_literal_kept", "SELECT 'ISNULL(a,0)' FROM t WHERE c = 'isnull('",
     "SELECT 'ISNULL(a,0)' FROM t WHERE c = 'isnull('"},
    {"plus_beside_a_literal", "SELECT a + ' ' + b, a +' '+ b, 'x'+'y'", "SELECT a || ' ' || b, a ||' '|| b, 'x'||'y'"},
    {"plus_between_columns_kept", "SELECT a + b, c+1, 2 + d FROM t", "SELECT a + b, c+1, 2 + d FROM t"},
    {"literal_with_doubled_quote", "SELECT 'O''Farrill' + x, 'it''s+' FROM t",
     "SELECT 'O''Farrill' || x, 'it''s+' FROM t"},
    {"quoted_identifier_is_no_literal", "SELECT \"a'b\" + c, \"ISNULL(\" FROM t",
     "SELECT \"a'b\" + c, \"ISNULL(\" FROM t"},
    {"unterminated_literal_kept", "SELECT 'abc + ISNULL(d", "SELECT 'abc + ISNULL(d"},
};

class DialectTest : public ::testing::TestWithParam<Case> {};

// Guards against a statement that SQLite or PostgreSQL cannot run, one whose literals or
// identifiers were rewritten along with the operators, and against rewriting statements
// for a server that speaks the dialect natively.
TEST_P(DialectTest, TranslatesForSqliteAndPostgresOnly)
{
    const Case &c = GetParam();
    EXPECT_EQ(QString::fromUtf8(c.out), translate(QString::fromUtf8(c.in), Backend::Sqlite));
    EXPECT_EQ(QString::fromUtf8(c.out), translate(QString::fromUtf8(c.in), Backend::Postgres));
    EXPECT_EQ(QString::fromUtf8(c.in), translate(QString::fromUtf8(c.in), Backend::Odbc));
}

INSTANTIATE_TEST_SUITE_P(Cases, DialectTest, ::testing::ValuesIn(kCases),
                         [](const auto &p) { return std::string(p.param.name); });

// Guards against a value that ends its literal early (the quote must be doubled, and
// nothing else changed).
TEST(DialectQuotingTest, DoublesEverySingleQuote)
{
    using qmx44::db::quoted;
    EXPECT_EQ(QStringLiteral("P0001"), quoted(QStringLiteral("P0001")));
    EXPECT_EQ(QStringLiteral("O''Farrill"), quoted(QStringLiteral("O'Farrill")));
    EXPECT_EQ(QStringLiteral("''''"), quoted(QStringLiteral("''")));
    EXPECT_EQ(QString(), quoted(QString()));
}

// Guards against schema and demo files cut inside a literal or a comment.
TEST(DialectScriptSplitTest, SplitsOnSemicolonsOutsideLiteralsAndComments)
{
    const QString script = QStringLiteral("-- a comment; with a semicolon\n"
                                          "CREATE TABLE t (a TEXT DEFAULT ';');\n"
                                          "/* block; comment */ INSERT INTO t VALUES ('it''s; fine');\n"
                                          "INSERT INTO t VALUES ('--not a comment');;\n"
                                          "   \n");
    const QStringList statements = qmx44::db::splitSqlScript(script);
    ASSERT_EQ(3, statements.size());
    EXPECT_EQ(QStringLiteral("CREATE TABLE t (a TEXT DEFAULT ';')"), statements[0]);
    EXPECT_EQ(QStringLiteral("INSERT INTO t VALUES ('it''s; fine')"), statements[1]);
    EXPECT_EQ(QStringLiteral("INSERT INTO t VALUES ('--not a comment')"), statements[2]);
}

// Guards against a function body or an SQLite trigger's body cut at its first
// semicolon, and against a parameter ($1) or a name with '$' taken for the start of a
// body, or a PostgreSQL trigger (no body) running on into the next statement.
TEST(DialectScriptSplitTest, KeepsBodiesWhole)
{
    const QString body = QStringLiteral("$fn$ BEGIN x := 'a;b'; -- it's\n RETURN $$;$$; END $fn$");
    const QString trigger = QStringLiteral("CREATE TRIGGER t AFTER DELETE ON a\nBEGIN\n DELETE FROM b; "
                                           "INSERT INTO c VALUES ('end;'); END");
    const QString script = QStringLiteral("CREATE FUNCTION f() AS ") + body
        + QStringLiteral(" LANGUAGE plpgsql;\n"
                         "SELECT a$b$ FROM t WHERE x = $1;\n"
                         "DO $$ BEGIN NULL; END $$;\n")
        + trigger
        + QStringLiteral(";\nCREATE TRIGGER g AFTER UPDATE ON a FOR EACH ROW EXECUTE FUNCTION f();\nSELECT 1;");
    const QStringList statements = qmx44::db::splitSqlScript(script);
    ASSERT_EQ(6, statements.size());
    EXPECT_EQ(QStringLiteral("CREATE FUNCTION f() AS ") + body + QStringLiteral(" LANGUAGE plpgsql"), statements[0]);
    EXPECT_EQ(QStringLiteral("SELECT a$b$ FROM t WHERE x = $1"), statements[1]);
    EXPECT_EQ(QStringLiteral("DO $$ BEGIN NULL; END $$"), statements[2]);
    EXPECT_EQ(trigger, statements[3]);
    EXPECT_EQ(QStringLiteral("SELECT 1"), statements[5]);
}

} // namespace

// Connection strings: how they are taken apart and which driver they name.
#include <gtest/gtest.h>

#include "library/connection_string.h"
#include "tests/support/recording_host.h"

namespace vell {
namespace {

using test::Utf8;

std::string Pairs(std::u16string_view text) {
  const auto pairs = ParseConnectionString(text);
  if (!pairs) return "malformed";
  std::string out;
  for (const auto& p : *pairs) out += "[" + Utf8(p.key) + "=" + Utf8(p.value) + "]";
  return out;
}

TEST(ConnectionStringTest, QuotesBracesAndBlanks) {
  EXPECT_EQ(Pairs(u" Provider = SQLite ; Data Source = a b.db ;"), "[Provider=SQLite][Data Source=a b.db]");
  EXPECT_EQ(Pairs(u"A=\"x;y\";B='it''s';C={p;q}}r};D=\"say \"\"hi\"\"\""),
            "[A=x;y][B=it's][C=p;q}r][D=say \"hi\"]");
  EXPECT_EQ(Pairs(u";;A=1;;"), "[A=1]");
  EXPECT_EQ(Pairs(u"a==b=c"), "[a=b=c]");
  EXPECT_EQ(Pairs(u"A=;B=2"), "[A=][B=2]");
  EXPECT_EQ(Pairs(u""), "");
  // Malformed: a part without '=', an unclosed quote or brace, text after a quote.
  EXPECT_EQ(Pairs(u"Provider"), "malformed");
  EXPECT_EQ(Pairs(u"A=\"open"), "malformed");
  EXPECT_EQ(Pairs(u"A={open"), "malformed");
  EXPECT_EQ(Pairs(u"A=\"x\"y;B=1"), "malformed");
  EXPECT_EQ(Pairs(u"=value"), "malformed");
}

TEST(ConnectionStringTest, SqliteProviders) {
  DatabaseTarget t = ChooseDatabaseTarget(u"provider=sqlite3;DATA SOURCE=\"my file.db\"");
  EXPECT_EQ(t.kind, DatabaseTarget::Sqlite);
  EXPECT_EQ(Utf8(t.sqliteSource), "my file.db");
  EXPECT_EQ(ChooseDatabaseTarget(u"Provider=SQLite;Data Source=:memory:").kind, DatabaseTarget::Sqlite);
  // No data source, an empty one, a provider without a driver here, or a
  // malformed string.
  for (const char16_t* text :
       {u"Provider=SQLite", u"Provider=SQLite;Data Source= ",
        u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb",
        u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=a.accdb", u"Provider=SQLite;Data Source=\"a",
        u"", u"User ID=a"}) {
    EXPECT_EQ(ChooseDatabaseTarget(text).kind, DatabaseTarget::Unsupported) << Utf8(text);
  }
}

TEST(ConnectionStringTest, OdbcKeysAreMapped) {
  DatabaseTarget t = ChooseDatabaseTarget(
      u"Provider=MSDASQL.1;Persist Security Info=False;Data Source=Sales;User ID=ann;Password=p;w;"
      u"Initial Catalog=shop;Timeout=5");
  // "p;w" is cut at the ';' (unquoted), leaving a part "w" without '=': malformed.
  EXPECT_EQ(t.kind, DatabaseTarget::Unsupported);

  t = ChooseDatabaseTarget(
      u"Provider=MSDASQL.1;Persist Security Info=False;Data Source=Sales;User ID=ann;Password='p;w';"
      u"Initial Catalog=shop;Timeout=5");
  ASSERT_EQ(t.kind, DatabaseTarget::Odbc);
  EXPECT_EQ(Utf8(t.odbcString), "DSN=Sales;UID=ann;PWD={p;w};DATABASE=shop;Timeout=5");
  EXPECT_EQ(Utf8(t.odbcDsn), "Sales");
  EXPECT_EQ(Utf8(t.odbcRest), "UID=ann;PWD={p;w};DATABASE=shop;Timeout=5");
  EXPECT_EQ(Utf8(t.password), "p;w");

  // No provider: a driver or a data source goes to ODBC; the driver is braced.
  t = ChooseDatabaseTarget(u"Driver=SQLite3;Database=/tmp/x.db;PWD=s");
  ASSERT_EQ(t.kind, DatabaseTarget::Odbc);
  EXPECT_EQ(Utf8(t.odbcString), "Driver={SQLite3};Database=/tmp/x.db;PWD=s");
  EXPECT_EQ(Utf8(t.odbcDsn), "");
  EXPECT_EQ(Utf8(t.password), "s");
  EXPECT_EQ(ChooseDatabaseTarget(u"DSN=x").kind, DatabaseTarget::Odbc);
  EXPECT_EQ(ChooseDatabaseTarget(u"Data Source=x").kind, DatabaseTarget::Odbc);
  // A later key wins over an earlier one.
  t = ChooseDatabaseTarget(u"DSN=a;dsn=b");
  EXPECT_EQ(Utf8(t.odbcString), "dsn=b");
}

}  // namespace
}  // namespace vell

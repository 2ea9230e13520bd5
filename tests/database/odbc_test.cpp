// One database through ODBC: the SQLite ODBC driver named by Driver=.
#include "tests/database/database_support.h"

// After the test support, whose members Qt's keyword macros would rename.
#include <QSqlDatabase>
#include <fstream>
#include <sstream>

namespace vell::test {
namespace {

// The SQLite3 ODBC driver is registered with unixODBC (tools/install-deps.sh).
bool OdbcSqliteInstalled() {
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) return false;
  std::ifstream in("/etc/odbcinst.ini");
  std::stringstream text;
  text << in.rdbuf();
  return text.str().find("[SQLite3]") != std::string::npos;
}

// The OPENDB call for a database file of the test's folder through ODBC.
std::u16string OpenOverOdbc(const std::string& folder, std::u16string_view file) {
  return u"OPENDB(\"Driver={SQLite3};Database=" + text::Utf8ToWide(folder) + u"/" +
         std::u16string(file) + u"\")";
}

TEST_F(DatabaseTest, OdbcDriverConnectionString) {
  if (!OdbcSqliteInstalled()) GTEST_SKIP() << "the SQLite3 ODBC driver is not installed";
  const std::u16string open = OpenOverOdbc(folder, u"o.db");
  EXPECT_EQ(Run(u"DIM DB, RS\nDB = " + open + u"\n"
                u"PRINT DB, COMMANDDB(DB, \"CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, d DATE)\"), "
                u"COMMANDDB(DB, \"INSERT INTO t (name, d) VALUES ('a', '2020-01-02')\"), \" \"\n"
                u"RS = OPENRECORDSET(DB, \"SELECT id, name, d FROM t\")\n"
                u"PRINT GETRECORDCOUNT(RS), \" \", GETFIELDDATA(RS, 1), \" \", GETFIELDDATA(RS, 2), \" \"\n"
                u"EDITRECORD(RS)\nSETFIELDDATA(RS, 1, \"b'\u00E9\")\nSETFIELDDATA(RS, 2, \"2021/5/6\")\n"
                u"APPENDRECORD(RS)\nSETFIELDDATA(RS, 1, \"new\")\nPRINT POSTRECORD(RS), \" \"\n"
                u"PRINT CLOSEDB(DB)\n"),
            "011 1 a 2020/01/02 0 1");
  EXPECT_EQ(Errors(), "");
  EXPECT_EQ(Run(u"DIM DB, RS\nDB = " + open + u"\nRS = OPENRECORDSET(DB, \"SELECT name, d FROM t ORDER BY id\")\n"
                u"WHILE GETRECORDEOF(RS) == 0 {\n PRINT GETFIELDDATA(RS, 0), \"|\", GETFIELDDATA(RS, 1), \";\"\n"
                u" NEXTRECORD(RS)\n}\n"),
            "b'\u00E9|2021/05/06;new|;");
}

// A table named with several letters: an edit, a new record and a deletion
// are written, whatever name the driver reports for the fields' table.
TEST_F(DatabaseTest, OdbcPostsToATableWithALongerName) {
  if (!OdbcSqliteInstalled()) GTEST_SKIP() << "the SQLite3 ODBC driver is not installed";
  const std::u16string open = OpenOverOdbc(folder, u"m.db");
  EXPECT_EQ(Run(u"DIM D, R\nD = " + open +
                u"\n"
                u"PRINT COMMANDDB(D, \"CREATE TABLE stock (id INTEGER PRIMARY KEY, name TEXT)\"), "
                u"COMMANDDB(D, \"INSERT INTO stock (name) VALUES ('a')\"), "
                u"COMMANDDB(D, \"INSERT INTO stock (name) VALUES ('gone')\"), \" \"\n"
                u"R = OPENRECORDSET(D, \"SELECT id, name FROM stock\")\n"
                u"PRINT EDITRECORD(R), SETFIELDDATA(R, 1, \"b\"), POSTRECORD(R), \" \"\n"
                u"PRINT APPENDRECORD(R), SETFIELDDATA(R, 1, \"new\"), POSTRECORD(R), \" \"\n"
                u"PRINT SETRECORDNO(R, 2), DELETERECORD(R)\n"),
            "111 000 000 00");
  EXPECT_EQ(Errors(), "");
  EXPECT_EQ(
      Run(u"DIM D, R\nD = " + open +
          u"\nR = OPENRECORDSET(D, \"SELECT name FROM stock ORDER BY id\")\n"
          u"WHILE GETRECORDEOF(R) == 0 {\n PRINT GETFIELDDATA(R, 0), \";\"\n NEXTRECORD(R)\n}\n"),
      "b;new;");
}

}  // namespace
}  // namespace vell::test

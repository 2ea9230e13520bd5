// The window serves the database keywords and shows a database error in a box.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/gui/gui_support.h"

namespace vell::testing {
namespace {

TEST(DatabaseWindow, KeywordsReachTheManagerAndErrorsShowInABox) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  WindowFixture w;
  QDir::setCurrent(dir.path());
  EXPECT_EQ(w.Run(u"DIM DB, RS\nDB = OPENDB(\"Provider=SQLite;Data Source=w.db\")\n"
                  u"COMMANDDB(DB, \"CREATE TABLE t (x TEXT)\")\n"
                  u"COMMANDDB(DB, \"INSERT INTO t VALUES ('\u3042')\")\n"
                  u"RS = OPENRECORDSET(DB, \"SELECT x FROM t\")\n"
                  u"PRINT GETFIELDDATA(RS, 0), \" \", COMMANDDB(DB, \"no sql\")\n"),
            u"\u3042 3021");
  ASSERT_EQ(w.dialogs.warnings.size(), 1u);
  EXPECT_EQ(w.dialogs.warnings[0], QStringLiteral("near \"no\": syntax error"));
  // NEW closes the program's databases.
  EXPECT_EQ(w.Run(u"NEW\nPRINT GETRECORDCOUNT(0)\n"), u"\u3042 3021-1");
}

}  // namespace
}  // namespace vell::testing

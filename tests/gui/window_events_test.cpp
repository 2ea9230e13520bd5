// What the user sees between and during runs: output of event texts, a
// window that keeps reacting while statements are slow, line breaks typed
// into the program area.
#include <gtest/gtest.h>

#include <QTest>
#include <QThread>
#include <QTimer>

#include "gui_support.h"

using namespace vell::testing;

TEST(WindowEvents, EventTextOutputShowsWhenItReturns) {
  WindowFixture w;
  w.form->show();
  // An event text run from the idle loop prints; nothing else happens
  // afterwards, so its output must already be in the area.
  w.form->RunEvent(u"PRINT \"clicked\\n\"");
  EXPECT_EQ(w.form->MemoOut->toPlainText(), QStringLiteral("clicked\n"));
}

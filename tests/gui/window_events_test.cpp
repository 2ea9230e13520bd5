// What the user sees between and during runs: output of event texts, a
// window that keeps reacting while statements are slow, line breaks typed
// into the program area.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "gui_support.h"
#include "host/pump_clock.h"

using namespace vell;
using namespace vell::testing;

TEST(WindowEvents, EventTextOutputShowsWhenItReturns) {
  WindowFixture w;
  w.form->show();
  // An event text run from the idle loop prints; nothing else happens
  // afterwards, so its output must already be in the area.
  w.form->RunEvent(u"PRINT \"clicked\\n\"");
  EXPECT_EQ(w.form->MemoOut->toPlainText(), QStringLiteral("clicked\n"));
}

TEST(WindowEvents, SlowStatementsStillProcessEvents) {
  WindowFixture w;
  Interpreter& interp = *gInterpreter;
  auto pump = [&] {
    interp.requestSlots[0].SetItem(vellvar(static_cast<int>(RequestPump)));
    SendHostRequest(interp);  // to the window's request dispatcher
  };
  pump();  // a real one: the clock starts
  // Each following statement takes longer than the pump interval: the pumps
  // must then process what is pending (a menu command, a close) at once, or
  // within a few statements on a machine too busy to keep the clock.
  for (int i = 0; i < 3; ++i) {
    bool processed = false;
    QTimer::singleShot(0, w.form.get(), [&] { processed = true; });
    for (int statement = 0; statement < 50 && !processed; ++statement) {
      QThread::msleep(TFormMain::kPumpIntervalMs * 3);
      pump();
    }
    EXPECT_TRUE(processed) << "pump " << i;
  }
}

TEST(WindowEvents, PumpClockOpensAfterEachInterval) {
  using namespace std::chrono_literals;
  PumpClock clock(4ms);
  EXPECT_TRUE(clock.Due());  // nothing processed yet
  for (int round = 0; round < 2; ++round) {
    clock.Restart();
    EXPECT_FALSE(clock.Due());
    EXPECT_EQ(clock.Gate().load(), 0);
    EXPECT_TRUE(WaitFor([&] { return clock.Due(); })) << "round " << round;
    // Left alone long enough, its thread ends; the clock stays open and a
    // restart closes it and opens it again, never stuck shut.
    QThread::msleep(400);
    EXPECT_TRUE(clock.Due());
  }
  clock.Restart();
  clock.MarkDue();  // another request came: the next pump is real
  EXPECT_TRUE(clock.Due());
}

TEST(WindowEvents, TimerSubErrorStopsTheProgramAfterTheStatementItInterrupted) {
  WindowFixture w;
  w.form->show();
  // The SUB fails without a code ("system error") when the timer ticks,
  // after the WAIT: the statement there starts no nested text, and the
  // program stops after it.
  const std::u16string timer =
      u"GLOBAL T, F, P, X\nF = 0\nP = 0\n"
      u"SUB TICK() { T.ENABLED = 0\nF = 1\nLEFT(1) }\n"
      u"T = CREATE TIMER\nT.INTERVAL = 10\nT.ONTIMER = TICK\n";
  EXPECT_EQ(w.Run(timer + u"WAIT 300\nX = CALC(\"1\")\nPRINT \"after\""), u"");
  ASSERT_EQ(w.dialogs.messages.size(), 1u);
  EXPECT_TRUE(w.dialogs.messages[0].contains(QStringLiteral("TICK")))
      << w.dialogs.messages[0].toStdString();
  EXPECT_TRUE(w.dialogs.messages[0].contains(QStringLiteral("system error")));

  // A busy loop with a block body: not one more pass after the tick's.
  w.dialogs.messages.clear();
  EXPECT_EQ(w.Run(u"DELETE T\n" + timer +
                  u"DIM S\nS = NOW\n"
                  u"WHILE P < 3 AND (NOW - S) * 86400 < 5 { IF F { P = P + 1 } }\n"
                  u"PRINT \"after\""),
            u"");
  EXPECT_EQ(w.dialogs.messages.size(), 1u);
  // The tick came (F) and at most the pass it interrupted counted (P).
  const std::u16string seen = w.Run(u"PRINT F, P");
  EXPECT_TRUE(seen == u"10" || seen == u"11") << QString::fromStdU16String(seen).toStdString();
}

TEST(WindowEvents, ShiftEnterInTheProgramAreaEndsALine) {
  WindowFixture w;
  w.form->show();
  w.form->MemoProg->setFocus();
  QTest::keyClicks(w.form->MemoProg, QStringLiteral("PRINT 1"));
  QTest::keyClick(w.form->MemoProg, Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(w.form->MemoProg, QStringLiteral("PRINT 2"));
  // The line break the user sees is the one the program and the file get.
  EXPECT_EQ(vell::qt::MemoText(*w.form->MemoProg), u"PRINT 1\r\nPRINT 2");
  w.form->MenuProgRunClick();
  EXPECT_EQ(w.Output(), u"12");
  EXPECT_TRUE(w.dialogs.messages.empty());
}

TEST(WindowEvents, TypingGoesToTheProgramAreaAtStart) {
  WindowFixture w;
  w.form->show();
  QApplication::setActiveWindow(w.form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
  EXPECT_EQ(QApplication::focusWidget(), w.form->MemoProg);
}

TEST(WindowEvents, RunAndCloseWaitForAnyRunningText) {
  // Run chosen while a text runs straight through the interpreter's event
  // entry (not through the window's busy count) starts once that text has
  // returned: it neither cuts the text short nor gets lost.
  WindowFixture w;
  w.form->show();
  vell::qt::SetMemoText(*w.form->MemoProg, u"PRINT \"program\\n\"");
  QTimer::singleShot(20, w.form.get(), [&] { w.form->MenuProgRunClick(); });
  QTimer::singleShot(0, w.form.get(), [&] {
    RunEventText(*gInterpreter,
                 u"SUB F() { DIM L\nL = \"mine\"\nWHILE L == \"mine\" { }\nPRINT \"lost \", L }\n"
                 u"F()");
  });
  QTimer::singleShot(200, w.form.get(), [&] { w.form->MenuProgEndClick(); });
  EXPECT_TRUE(WaitFor([&] { return w.Output() == u"program\r\n"; }));
  EXPECT_TRUE(w.dialogs.messages.empty());

  // A close is held the same way, and happens once the text returns.
  bool refused = false;
  QTimer::singleShot(20, w.form.get(), [&] { refused = !w.form->close() && gInterpreter; });
  QTimer::singleShot(0, w.form.get(), [&] { RunEventText(*gInterpreter, u"WHILE 1 { }"); });
  EXPECT_TRUE(WaitFor([&] { return w.closedCount == 1; }));
  EXPECT_TRUE(refused);
  EXPECT_EQ(gInterpreter, nullptr);
}

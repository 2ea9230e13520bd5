// The output area in the window: a control aligned to its panel's client
// area, which a program may place itself, and without a scroll bar of its
// own, yet scrolled by the wheel and the keys.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QWheelEvent>

#include "gui_support.h"

using namespace vell::testing;

namespace {

constexpr int kWheelNotch = 120;

std::string Utf8(const std::u16string& text) {
  return QString::fromStdU16String(text).toStdString();
}

}  // namespace

TEST(OutputArea, FillsItsPanelUntilPlaced) {
  WindowFixture w;
  w.form->show();
  MemoEdit& out = *w.form->MemoOut;
  QWidget& panel = *w.form->PanelOut;
  EXPECT_EQ(out.geometry(), panel.rect());

  // Hidden while the panel changed its size, it fills the panel again when
  // Clear output shows it.
  w.Run(u"MainTextBox.VISIBLE = 0\nSCREEN(250, 90)\n");
  EXPECT_TRUE(out.isHidden());
  w.form->MenuProgClsClick();
  EXPECT_FALSE(out.isHidden());
  EXPECT_EQ(out.geometry(), QRect(0, 0, 250, 90));

  // Placed by the program, it stays where it was put when the user drags the
  // splitter or clears the output.
  w.Run(
      u"MainTextBox.ALIGN = 0\nMainTextBox.LEFT = 4\nMainTextBox.TOP = 6\n"
      u"MainTextBox.WIDTH = 100\nMainTextBox.HEIGHT = 50\n");
  const QRect placed(4, 6, 100, 50);
  EXPECT_EQ(out.geometry(), placed);
  w.form->Splitter->setSizes({130, 80});
  EXPECT_EQ(panel.height(), 130);
  EXPECT_EQ(out.geometry(), placed);
  w.form->MenuProgClsClick();
  EXPECT_EQ(out.geometry(), placed);
}

TEST(OutputArea, NoScrollBarYetScrolls) {
  WindowFixture w;
  w.form->show();
  MemoEdit& out = *w.form->MemoOut;
  QScrollBar& bar = *out.verticalScrollBar();
  EXPECT_EQ(w.Run(u"PRINT MainTextBox.SCROLLBARS\n"), u"0");
  w.form->MenuProgClsClick();
  w.Run(u"DIM I\nI = 0\nWHILE I < 200 {\n  PRINT \"line\\n\"\n  I = I + 1\n}\n");
  QCoreApplication::processEvents();
  ASSERT_GT(bar.maximum(), 0);  // the output overflows the area
  // What SCROLLBARS reads is what shows.
  EXPECT_FALSE(bar.isVisible());
  EXPECT_TRUE(w.form->MemoProg->verticalScrollBar()->isVisible());

  bar.setValue(0);
  const QPointF inside(out.viewport()->rect().center());
  QWheelEvent wheel(inside, out.viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -kWheelNotch),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(out.viewport(), &wheel);
  EXPECT_GT(bar.value(), 0);

  QTextCursor top = out.textCursor();
  top.movePosition(QTextCursor::Start);
  out.setTextCursor(top);
  bar.setValue(0);
  QTest::keyClick(&out, Qt::Key_PageDown);
  EXPECT_GT(bar.value(), 0);

  // A program may still give it its bar.
  w.Run(u"MainTextBox.SCROLLBARS = 2\n");
  EXPECT_TRUE(bar.isVisible());
}

// Behind a minimized window (a program started with /v) the output waits
// until the window is shown, yet nothing a program or the user sees differs:
// the program reads all it printed, and the area shows what it would have.
TEST(OutputArea, OutputBehindAMinimizedWindowShowsTheSame) {
  const std::u16string program =
      u"PRINT \"one\\n\", \"two\\r\\n\", 3\n"
      u"PRINT \"|\", LEN(MainTextBox.TEXT), \"|\\n\"\n"
      u"PRINT \"x\" + CHR(27) + \"*y\\n\", \"last\"\n";
  // A second run reads what the first printed while printing more.
  const std::u16string reading = u"PRINT \"a\\n\"\nPRINT LEN(MainTextBox.TEXT)\n";
  std::u16string shown[2];
  {
    WindowFixture w;
    w.form->show();
    shown[0] = w.Run(program);
    shown[1] = w.Run(reading);
  }
  EXPECT_EQ(Utf8(shown[0]), "xy\r\nlast");
  WindowFixture w;
  w.form->showMinimized();
  MemoEdit& out = *w.form->MemoOut;
  vell::qt::SetMemoText(*w.form->MemoProg, program);
  w.form->MenuProgRunClick();
  // Nothing is laid out while nobody looks...
  EXPECT_FALSE(out.document()->toPlainText().contains(QStringLiteral("last")));
  // ... and all of it is there when somebody does.
  w.form->showNormal();
  QCoreApplication::processEvents();
  EXPECT_TRUE(out.document()->toPlainText().endsWith(QStringLiteral("last")));
  EXPECT_EQ(Utf8(w.Output()), Utf8(shown[0]));
  w.form->showMinimized();
  EXPECT_EQ(Utf8(w.Run(reading)), Utf8(shown[1]));
}

// Much output behind a minimized window, in many pieces and with lines,
// wide characters and a text longer than a piece, waits whole and in order;
// a clear drops all of it.
TEST(OutputArea, MuchOutputBehindAMinimizedWindowWaitsWhole) {
  const std::u16string program =
      u"DIM I, S\nS = \"x\"\nFOR (I = 0, I < 16, I = I + 1) { S = S + S }\n"
      u"FOR (I = 0, I < 3000, I = I + 1) { PRINT \"line \", I, \" \u65e5\u672c\u00e9\\r\\n\" }\n"
      u"PRINT S, \"\\n\", LEN(MainTextBox.TEXT), \"\\n\"\n"
      u"FOR (I = 0, I < 20000, I = I + 1) { PRINT I, \"\\n\" }\nPRINT \"end\"\n";
  std::u16string shown;
  {
    WindowFixture w;
    w.form->show();
    shown = w.Run(program);
  }
  ASSERT_EQ(Utf8(shown.substr(shown.size() - 10)), "19999\r\nend");
  WindowFixture w;
  w.form->showMinimized();
  MemoEdit& out = *w.form->MemoOut;
  vell::qt::SetMemoText(*w.form->MemoProg, program);
  w.form->MenuProgRunClick();
  // Reading the text wrote what came before; the last lines, several
  // pieces of them, wait.
  EXPECT_LT(size_t(out.document()->characterCount()), shown.size() - 100000);
  w.form->showNormal();
  QCoreApplication::processEvents();
  EXPECT_EQ(Utf8(vell::qt::MemoText(out)), Utf8(shown));
  EXPECT_EQ(out.textCursor().position(), out.document()->characterCount() - 1);

  w.form->showMinimized();
  vell::qt::SetMemoText(*w.form->MemoProg,
                        u"DIM I\nFOR (I = 0, I < 3000, I = I + 1) { PRINT \"gone\\n\" }\n"
                        u"PRINT CHR(27) + \"*\", \"kept\"\n");
  w.form->MenuProgRunClick();
  w.form->showNormal();
  QCoreApplication::processEvents();
  EXPECT_EQ(Utf8(vell::qt::MemoText(out)), "kept");
}

// Placed into a program's controls, the output area goes back to its own
// panel when the user clears the output or closes the form that holds it;
// the window goes on printing (window_programs/output_area_parents has a
// program's own ways).
TEST(OutputArea, OutlivesTheControlsAProgramPutItIn) {
  WindowFixture w;
  w.form->show();
  MemoEdit& out = *w.form->MemoOut;
  QWidget& panel = *w.form->PanelOut;
  for (const char16_t* holder : {u"GROUPBOX", u"TEXTBOX"}) {
    w.Run(u"GLOBAL H\nH = CREATE " + std::u16string(holder) + u"\nMainTextBox.PARENT = H");
    ASSERT_NE(out.parentWidget(), &panel);
    w.form->MenuProgClsClick();
    EXPECT_EQ(out.parentWidget(), &panel);
    EXPECT_EQ(w.Run(u"PRINT \"x\""), u"x");
    EXPECT_EQ(out.geometry(), panel.rect());
  }
  w.Run(u"GLOBAL F\nF = CREATE FORM\nF.SHOW\nMainTextBox.PARENT = F");
  QWidget* form = out.window();
  ASSERT_NE(form, w.form.get());
  EXPECT_TRUE(form->close());
  QCoreApplication::processEvents();
  EXPECT_EQ(out.parentWidget(), &panel);
  EXPECT_EQ(w.Run(u"PRINT \"y\""), u"xy");
}

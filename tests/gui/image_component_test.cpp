// IMAGE components driven by program texts: the members as programs reach
// them through the component table, failures, and the mouse events.
#include <gtest/gtest.h>

// clang-format off
// Before Qt's headers, which make "slots" a keyword.
#include "tests/support/recording_host.h"
// clang-format on

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <exception>
#include <string>

#include "components/keywords/component_keywords.h"
#include "components/widgets/component_table.h"
#include "components/widgets/image_control.h"
#include "library/library_builtins.h"
#include "tests/support/component_window.h"
#include "tests/support/kept_warnings.h"

using namespace vell;

namespace {

using vell::test::TestInterpreter;
using vell::test::Utf8;

class ImageComponent : public ::testing::Test {
 protected:
  ImageComponent() : table(window) {
    t.host.onComponent = [this](Interpreter& interp) { table.HandleHostRequest(interp); };
    test::PrepareComponentTable(table, I());
    window.main.show();
  }
  ~ImageComponent() override { test::ReleaseComponentTable(table); }
  Interpreter& I() { return t.interp(); }
  std::string Run(std::u16string_view text) { return Utf8(t.Run(text)); }
  vell::ImageControl* Image(int slot) {
    return qobject_cast<vell::ImageControl*>(table.Slot(slot).object.data());
  }

  TestInterpreter t;
  // The errors of members, which the table shows as warnings.
  test::KeptWarnings errors;
  test::StandInWindow window;
  vell::mwin table;
};

// Defaults, colours, lines, sizes and files run in the window program
// image_in_window.vell; these are the members it does not reach.
TEST_F(ImageComponent, PenFontAndDisplayMembers) {
  EXPECT_EQ(Run(u"GLOBAL I\nI = CREATE IMAGE\nI.POS(1, 2)\n"
                u"I.FILL(0)\nI.CIRCLE(5, 5)\nI.ROUNDRECT(5, 5, 2)\nPRINT I.POSX, I.POSY\n"
                u"I.PENSIZE = 3\nI.PENSTYLE = 258\nPRINT \" \", I.PENSIZE, \" \", I.PENSTYLE\n"
                u"I.FONTBOLD = 1\nI.FONTITALIC = 2\nI.FONTSIZE = 12\nI.FONTNAME = \"Serif\"\n"
                u"PRINT \" \", I.FONTBOLD, I.FONTITALIC, \" \", I.FONTSIZE, \" \", I.FONTNAME\n"
                u"I.STRETCH = 5\nI.AUTOSIZE = 1\nI.TRANSPARENT = -1\n"
                u"PRINT \" \", I.STRETCH, I.AUTOSIZE, I.TRANSPARENT, \" \", I.CURSOR\n"),
            "12 3 2 10 12 Serif 111 -2");
  EXPECT_TRUE(errors.texts.empty());
}

TEST_F(ImageComponent, ScratchImageIsSharedAndEffectsUseIt) {
  // PASTE, CROSS and MERGE before any COPY do nothing.
  EXPECT_EQ(
      Run(u"GLOBAL A, B\nA = CREATE IMAGE\nB = CREATE IMAGE\n"
          u"B.PASTE\nB.CROSS(0)\nB.MERGE\nPRINT B.PIXEL\n"
          u"A.COLOR = 255\nA.POS(5, 5)\nA.RECT(1, 1)\nA.COPY(20, 10)\n"
          u"B.POS(50, 50)\nB.PASTE\nPRINT \" \", B.PIXEL\nB.POS(51, 50)\nPRINT \" \", B.PIXEL\n"
          u"B.POS(0, 0)\nB.DARK(1, 1, 128)\nPRINT \" \", B.PIXEL\n"
          u"B.POS(60, 60)\nB.MERGE\nPRINT \" \", B.PIXEL\n"),
      "16777215 255 16777215 8355711 254");
}

TEST_F(ImageComponent, FocusAndReadingParentAreUnknown) {
  EXPECT_NE(Run(u"GLOBAL I\nI = CREATE IMAGE\nI.FOCUS").find("undefined error"), std::string::npos);
  EXPECT_NE(Run(u"GLOBAL X\nX = I.PARENT").find("undefined error"), std::string::npos);
}

TEST_F(ImageComponent, FileErrorsAreShownAndTheProgramGoesOn) {
  QTemporaryDir dir;
  const std::u16string png = (dir.filePath(QStringLiteral("saved.png"))).toStdU16String();
  const std::u16string wmf = (dir.filePath(QStringLiteral("x.wmf"))).toStdU16String();
  vell::test::PutFile(QString::fromStdU16String(wmf).toStdString(), "meta");
  EXPECT_EQ(Run(u"GLOBAL I, J\nI = CREATE IMAGE\nI.COLOR = 255\nI.RECT(2, 2)\n"
                u"I.SAVEFILE(\"" +
                png +
                u"\")\nJ = CREATE IMAGE\nJ.WIDTH = 10\n"
                u"J.LOADFILE(\"" +
                png +
                u"\")\nPRINT J.WIDTH, \" \", J.PIXEL\n"
                u"J.LOADFILE(\"" +
                wmf + u"\")\nJ.WIDTH = 20000\nPRINT \" \", J.WIDTH\n"),
            "10 255 20000");
  ASSERT_EQ(errors.texts.size(), 1u);
  EXPECT_TRUE(errors.texts[0].contains(QStringLiteral("x.wmf")));
  // A width beyond the bitmap's bound is taken; the bitmap stops at it.
  ASSERT_NE(Image(vell::kFirstProgramSlot + 1), nullptr);
  EXPECT_EQ(Image(vell::kFirstProgramSlot + 1)->Bitmap().size(), QSize(vell::kMaxBitmapSide, 105));
}

TEST_F(ImageComponent, MouseEventsRunTheirSubs) {
  EXPECT_EQ(Run(u"GLOBAL I, DOWNS, MOVES\nI = CREATE IMAGE\n"
                u"SUB DOWN(X, Y, B) { DOWNS = X * 100 + Y * 10 + B }\n"
                u"SUB MOVE(X, Y) { MOVES = X * 100 + Y }\n"
                u"I.ONMOUSEDOWN = DOWN\nI.ONMOUSEMOVE MOVE\n"),
            "");
  vell::ImageControl* image = Image(vell::kFirstProgramSlot);
  ASSERT_NE(image, nullptr);
  QTest::mousePress(image, Qt::RightButton, Qt::NoModifier, QPoint(3, 2));
  QTest::mouseMove(image, QPoint(7, 9));
  EXPECT_EQ(Run(u"PRINT DOWNS, \" \", MOVES"), "321 709");
  EXPECT_EQ(vell::WideString(table.Slot(vell::kFirstProgramSlot).onMouseDown), u"DOWN");
}

}  // namespace

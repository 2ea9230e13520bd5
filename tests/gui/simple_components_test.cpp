// Text boxes, buttons, labels, check boxes and radio buttons driven by
// program texts through the component table, offscreen.
#include <gtest/gtest.h>

// clang-format off
// Before Qt's headers, which make "slots" a keyword.
#include "tests/support/recording_host.h"
// clang-format on

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <string>

#include "components/keywords/component_keywords.h"
#include "components/widgets/component_table.h"
#include "components/widgets/vell_button.h"
#include "library/library_builtins.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/memo_edit.h"
#include "tests/support/files.h"

using namespace vell;

namespace {

using vell::mwin;
using vell::test::TestInterpreter;
using vell::test::Utf8;

// A window whose output area gathers PRINT member output as the real one does.
class FakeWindow : public vell::ComponentHost {
 public:
  FakeWindow() : panel(new QWidget(&main)), output(new MemoEdit(&main)) {}
  QWidget* MainWindowWidget() override { return &main; }
  QPlainTextEdit* OutputArea() override { return output; }
  QWidget* DefaultParent() override { return panel; }
  void FlushOutput() override {
    ++flushes;
    output->AppendOutput(gathered);
    gathered.clear();
  }
  void PrintToOutputArea(std::u16string_view text) override { gathered += text; }
  int RunEventText(std::u16string_view text) override {
    return vell::RunEventText(*vell::gInterpreter, text);
  }
  void SetOutputAreaVisible(bool visible) override { output->setVisible(visible); }

  QWidget main;
  QWidget* panel;
  MemoEdit* output;
  std::u16string gathered;
  int flushes = 0;
};

class Warnings : public vell::qt::DialogSeam {
 public:
  void ShowWarning(QWidget*, const QString&, const QString& text) override {
    shown.push_back(text);
  }
  std::vector<QString> shown;
};

class SimpleComponents : public ::testing::Test {
 protected:
  SimpleComponents() : table(window) {
    previous = vell::qt::SetDialogs(&warnings);
    vell::RegisterLibraryBuiltins(I());
    vell::RegisterComponentKeywords(I());
    t.host.onComponent = [this](Interpreter& interp) { table.HandleHostRequest(interp); };
    table.CreateEntryObjects();
    table.ResetProgramSlots();
    table.InstallDefaults(I());
  }
  ~SimpleComponents() override {
    table.DestroyAllComponents();
    table.CarryOutPendingDeletions();
    vell::qt::SetDialogs(previous);
  }
  Interpreter& I() { return t.interp(); }
  std::string Run(std::u16string_view text) { return Utf8(t.Run(text)); }
  template <class T>
  T* Object(int slot) {
    return qobject_cast<T*>(table.Slot(slot).object.data());
  }

  Warnings warnings;
  vell::qt::DialogSeam* previous = nullptr;
  TestInterpreter t;
  FakeWindow window;
  mwin table;
};

TEST_F(SimpleComponents, TextBoxMembers) {
  EXPECT_EQ(Run(u"GLOBAL T\nT = CREATE TEXTBOX\nPRINT T.WANTRETURNS, T.TEXT, \"|\"\n"
                u"T.TEXT = \"ab\" + CHR(10) + \"cd\"\nT.SELSTART = 4\nT.SELLENGTH = 2\n"
                u"PRINT T.SELTEXT, T.SELSTART, T.SELLENGTH, \"|\"\n"
                u"T.SELTEXT = \"X\"\nT.SELSTART = 0\nT.SELTEXT = \">\"\nT.PRINT \"!\"\n"
                u"PRINT T.TEXT, \"|\"\nT.MARGIN = 10\nT.READONLY = 2\nT.SCROLLBARS = 3\n"
                u"T.BORDERSTYLE = 0\nT.BORDERSTYLE = 5\nT.WANTRETURNS = 1\n"
                u"PRINT T.MARGIN, T.READONLY, T.SCROLLBARS, T.BORDERSTYLE, T.WANTRETURNS"),
            "0|cd42|>!ab\nX|101301");
  MemoEdit* box = Object<MemoEdit>(5);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->parentWidget(), window.panel);
  EXPECT_EQ(box->size(), QSize(185, 21));
  EXPECT_EQ(box->Text(), u">!ab\r\nX");
  EXPECT_TRUE(box->isReadOnly());
}

TEST_F(SimpleComponents, TextBoxFilesAndFailures) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("t.txt")).toStdString();
  const std::u16string name(
      reinterpret_cast<const char16_t*>(QString::fromStdString(path).utf16()));
  Run(u"GLOBAL T\nT = CREATE TEXTBOX\nT.TEXT = \"x\" + CHR(10) + \"y\"\nT.SAVEFILE \"" + name +
      u"\"");
  EXPECT_EQ(vell::test::FileBytes(path), std::string("\xFF\xFEx\0\r\0\n\0y\0\r\0\n\0", 14));
  EXPECT_EQ(Run(u"T.TEXT = \"\"\nT.LOADFILE \"" + name + u"\"\nPRINT T.TEXT"), "x\ny\n");
  // A file that cannot be read is reported, and the program goes on.
  EXPECT_EQ(Run(u"T.LOADFILE \"/nonexistent/file\"\nPRINT \"on\""), "on");
  ASSERT_EQ(warnings.shown.size(), 1u);
  EXPECT_TRUE(warnings.shown[0].startsWith(QStringLiteral("Cannot open file")));
}

TEST_F(SimpleComponents, MainTextBoxIsTheOutputArea) {
  window.output->SetText(u"old");
  window.output->moveCursor(QTextCursor::End);
  // Its PRINT member goes the way of the PRINT statement; reading flushes.
  EXPECT_EQ(Run(u"MainTextBox.PRINT \"a\"\nMainTextBox.PRINT \"b\"\nPRINT \"[\", MainTextBox.TEXT, "
                u"\"]\""),
            "[oldab]");
  EXPECT_EQ(window.gathered, u"");
  Run(u"MainTextBox.TEXT = \"\"");
  EXPECT_EQ(window.output->Text(), u"");
}

TEST_F(SimpleComponents, ButtonMembers) {
  EXPECT_EQ(Run(u"GLOBAL B\nB = CREATE BUTTON\n"
                u"PRINT B.CAPTION, B.WIDTH, B.HEIGHT, B.BUTTONSTYLE, B.MARGIN, \"|\"\n"
                u"B.CAPTION = \"A caption far longer than the face of the button\"\n"
                u"B.BUTTONSTYLE = 7\nB.MARGIN = 3\nB.WIDTH = 90\n"
                u"PRINT B.CAPTION, B.BUTTONSTYLE, B.MARGIN, B.WIDTH"),
            "Button75250-1|A caption far longer than the face of the button7390");
  auto* button = Object<TVellButton>(5);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->parentWidget(), window.panel);
  EXPECT_TRUE(button->isVisibleTo(window.panel));
  EXPECT_TRUE(QStringLiteral("A caption far longer").startsWith(button->ShownCaption().left(20)));
  EXPECT_LT(button->ShownCaption().size(), 40);
}

TEST_F(SimpleComponents, LabelCheckBoxAndRadioButtons) {
  EXPECT_EQ(Run(u"GLOBAL L, C, R1, R2\nL = CREATE LABEL\nC = CREATE CHECKBOX\n"
                u"R1 = CREATE RADIOBUTTON\nR2 = CREATE RADIOBUTTON\n"
                u"PRINT L.CAPTION, C.CAPTION, C.CHECKED, R1.CAPTION, \"|\"\n"
                u"L.CAPTION = \"Name\"\nC.CHECKED = 5\nR1.CHECKED = 1\nR2.CHECKED = 1\n"
                u"PRINT L.CAPTION, C.CHECKED, R1.CHECKED, R2.CHECKED, \"|\"\n"
                u"R2.CHECKED = 0\nC.CHECKED = 0\nL.ZORDER 0\n"
                u"PRINT C.CHECKED, R1.CHECKED, R2.CHECKED"),
            "LabelCheckBox0RadioButton|Name101|000");
  EXPECT_NE(Object<QLabel>(5), nullptr);
  EXPECT_NE(Object<QCheckBox>(6), nullptr);
  EXPECT_NE(Object<QRadioButton>(7), nullptr);
}

}  // namespace

// The own members of text boxes, labels and buttons through a component
// table: what they change in the widget beyond the read-backs that
// window_programs/textbox_members and button_kinds check end to end, the
// output area's way through the window, and the failures they report.
#include <gtest/gtest.h>

// clang-format off
// Before Qt's headers, which make "slots" a keyword.
#include "tests/support/recording_host.h"
// clang-format on

#include <QLabel>
#include <string>
#include <vector>

#include "components/widgets/component_table.h"
#include "components/widgets/geometry_bounds.h"
#include "components/widgets/text_box_printing.h"
#include "core/codes.h"
#include "platform/qt/memo_edit.h"
#include "tests/support/component_window.h"
#include "tests/support/kept_warnings.h"

using namespace vell;

namespace {

// A stand-in window that records what the output area's members ask of it.
class RecordingWindow : public test::StandInWindow {
 public:
  void FlushOutput() override { ++flushes; }
  void PrintToOutputArea(std::u16string_view text) override { printed += text; }

  int flushes = 0;
  std::u16string printed;
};

class OwnMembers : public ::testing::Test {
 protected:
  OwnMembers() : table(window) {
    t.host.onComponent = [this](Interpreter& interp) { table.HandleHostRequest(interp); };
    test::PrepareComponentTable(table, I());
  }
  ~OwnMembers() override { test::ReleaseComponentTable(table); }
  Interpreter& I() { return t.interp(); }

  // Member requests made as the window makes them.
  int Create(int type) { return Set(0, MemberCreate, type); }
  int SetValue(int slot, int32_t member, const vellvar& value) {
    I().requestSlots[4].SetItem(value);
    return table.SetMember(I(), slot, member, I().requestSlots[4]);
  }
  int Set(int slot, int32_t member, int v) { return SetValue(slot, member, vellvar(v)); }
  int Set(int slot, int32_t member, std::u16string_view text) {
    return SetValue(slot, member, vellvar(text));
  }
  vellvar Get(int slot, int32_t member, const vellvar& before = vellvar(-999)) {
    I().requestSlots[4].SetItem(before);
    table.GetMember(I(), slot, member, I().requestSlots[4]);
    return I().requestSlots[4].item;
  }
  int Int(int slot, int32_t member) { return Get(slot, member).ToInt(); }
  std::u16string Str(int slot, int32_t member) {
    return WideString(Get(slot, member, vellvar(u"?")));
  }
  template <class T>
  T* Object(int slot) {
    return qobject_cast<T*>(table.Slot(slot).object.data());
  }

  test::TestInterpreter t;
  RecordingWindow window;
  mwin table;
};

// The read-backs themselves run end to end in window_programs/textbox_members.
TEST_F(OwnMembers, NewBoxAndWhatTheMembersChangeInTheEdit) {
  const int slot = Create(TypeTextBox);
  auto* box = Object<MemoEdit>(slot);
  ASSERT_NE(box, nullptr);
  // A new box shows no scroll bar, whatever its text.
  EXPECT_EQ(Int(slot, MemberScrollBars), 0);
  EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  Set(slot, MemberMargin, 10);
  EXPECT_EQ(box->FormatMargins(), QMargins(10, 5, 10, 5));
  Set(slot, MemberMargin, -3);
  EXPECT_EQ(box->FormatMargins(), QMargins(0, 5, 0, 5));
  // A margin beyond any control's width is bounded, and reads back so.
  for (const int huge : {2147483647, 1073741824}) {
    Set(slot, MemberMargin, huge);
    EXPECT_EQ(box->FormatMargins(), QMargins(kMaxMargin, 5, kMaxMargin, 5));
    EXPECT_EQ(Int(slot, MemberMargin), kMaxMargin);
  }
  Set(slot, MemberMargin, 10);
  EXPECT_EQ(box->FormatMargins(), QMargins(10, 5, 10, 5));

  // Members that are not the text box's own are left to the shared ones; it
  // has no caption.
  Set(slot, MemberLeft, 3);
  EXPECT_EQ(box->x(), 3);
  EXPECT_EQ(I().runState, StateRunning);
  Get(slot, MemberCaption);
  EXPECT_EQ(I().runState, ErrorUndefined);
}

// The output area's PRINT goes to what the window gathers; every other member
// has the window write that out first.
TEST_F(OwnMembers, TheOutputAreaGoesThroughTheWindow) {
  Set(kOutputAreaSlot, MemberPrint, u"out");
  EXPECT_EQ(window.printed, u"out");
  EXPECT_EQ(window.flushes, 0);
  EXPECT_EQ(Str(kOutputAreaSlot, MemberText), u"");  // printing went to the window
  EXPECT_EQ(window.flushes, 1);
  Set(kOutputAreaSlot, MemberText, u"x");
  EXPECT_EQ(window.flushes, 2);
  // Another box takes its output at once, without the window.
  const int slot = Create(TypeTextBox);
  Set(slot, MemberPrint, u"own");
  EXPECT_EQ(Str(slot, MemberText), u"own");
  EXPECT_EQ(window.printed, u"out");
  EXPECT_EQ(window.flushes, 2);
}

TEST_F(OwnMembers, FileAndPrinterFailuresAreShown) {
  const test::KeptWarnings errors;
  EXPECT_EQ(test::Utf8(t.Run(u"GLOBAL T, X\nT = CREATE TEXTBOX\nT.TEXT = \"kept\"\n"
                             u"T.LOADFILE(\"/nonexistent/file.txt\")\nX = T.TEXT\nPRINT X")),
            "kept");
  ASSERT_EQ(errors.texts.size(), 1u);
  t.Run(u"T.SAVEFILE(\"/nonexistent/file.txt\")");
  EXPECT_EQ(errors.texts.size(), 2u);
  // No printer to print on.
  table.DeleteEntryObjects();
  t.Run(u"T.PRINTER");
  ASSERT_EQ(errors.texts.size(), 3u);
  EXPECT_EQ(errors.texts[2], QString::fromLatin1(widgets::kNoPrinterText));
}

TEST_F(OwnMembers, ALongerCaptionWidensTheLabel) {
  const int slot = Create(TypeLabel);
  Set(slot, MemberCaption, u"A longer caption");
  EXPECT_EQ(Str(slot, MemberCaption), u"A longer caption");
  auto* label = Object<QLabel>(slot);
  ASSERT_NE(label, nullptr);
  EXPECT_GE(label->width(), label->sizeHint().width());
}

// A label has no window of its own: ZORDER only ever brings it to the top.
TEST_F(OwnMembers, ZOrder) {
  const int label = Create(TypeLabel);
  const int other = Create(TypeLabel);
  QWidget* parent = window.panel;
  ASSERT_EQ(parent->children().last(), Object<QLabel>(other));
  Set(label, MemberZOrder, 0);
  EXPECT_EQ(parent->children().last(), Object<QLabel>(other));
  Set(label, MemberZOrder, 2);
  EXPECT_EQ(parent->children().last(), Object<QLabel>(other));
  Set(label, MemberZOrder, 1);
  EXPECT_EQ(parent->children().last(), Object<QLabel>(label));
  const int box = Create(TypeTextBox);
  Set(box, MemberZOrder, 0);
  EXPECT_EQ(parent->children().first(), Object<QWidget>(box));
}

}  // namespace

// The own members of text boxes and labels: what they change in the
// widget beyond the read-backs that window_programs/textbox_members and
// button_kinds check end to end, and the failures they report.
#include <gtest/gtest.h>

#include <QLabel>
#include <string>
#include <vector>

#include "components/widgets/component_type.h"
#include "components/widgets/geometry_bounds.h"
#include "components/widgets/label.h"
#include "components/widgets/text_box.h"
#include "components/widgets/text_box_printing.h"
#include "core/codes.h"
#include "core/vellvar.h"
#include "platform/qt/memo_edit.h"

using namespace vell;
using namespace vell::widgets;

int Int(const vellvar& v) { return v.ToInt(); }
std::u16string Str(const vellvar& v) { return vell::WideString(v); }

namespace {

template <class Control, class Setter>
bool Set(Setter setter, Control& control, int32_t member, int v) {
  return setter(control, member, vellvar(v));
}
template <class Control, class Setter>
bool Set(Setter setter, Control& control, int32_t member, std::u16string_view t) {
  return setter(control, member, vellvar(t));
}
template <class Control, class Getter>
std::u16string GetText(Getter getter, Control& control, int32_t member) {
  vellvar value(u"?");
  EXPECT_TRUE(getter(control, member, value)) << member;
  return Str(value);
}

struct TextBox {
  MemoEdit box;
  TextBoxHooks hooks;
  std::vector<QString> errors;
  TextBox() {
    hooks.showError = [this](const QString& e) { errors.push_back(e); };
    box.resize(200, 80);
    SetUpNewTextBox(box);
  }
  bool Set(int32_t member, int v) { return SetTextBoxMember(box, member, vellvar(v), hooks); }
  bool Set(int32_t member, std::u16string_view t) {
    return SetTextBoxMember(box, member, vellvar(t), hooks);
  }
  int Int(int32_t member) {
    vellvar value(-999);
    EXPECT_TRUE(GetTextBoxMember(box, member, value, hooks)) << member;
    return ::Int(value);
  }
  std::u16string Str(int32_t member) {
    vellvar value(u"?");
    EXPECT_TRUE(GetTextBoxMember(box, member, value, hooks)) << member;
    return ::Str(value);
  }
};

}  // namespace

// The read-backs themselves run end to end in window_programs/textbox_members.
TEST(TextBoxMembers, NewBoxAndWhatTheMembersChangeInTheEdit) {
  TextBox t;
  // A new box shows no scroll bar, whatever its text.
  EXPECT_EQ(t.Int(MemberScrollBars), 0);
  EXPECT_EQ(t.box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  t.Set(MemberMargin, 10);
  EXPECT_EQ(t.box.FormatMargins(), QMargins(10, 5, 10, 5));
  t.Set(MemberMargin, -3);
  EXPECT_EQ(t.box.FormatMargins(), QMargins(0, 5, 0, 5));
  // A margin beyond any control's width is bounded, and reads back so.
  for (const int huge : {2147483647, 1073741824}) {
    t.Set(MemberMargin, huge);
    EXPECT_EQ(t.box.FormatMargins(), QMargins(kMaxMargin, 5, kMaxMargin, 5));
    EXPECT_EQ(t.Int(MemberMargin), kMaxMargin);
  }
  t.Set(MemberMargin, 10);
  EXPECT_EQ(t.box.FormatMargins(), QMargins(10, 5, 10, 5));

  // Members that are not the text box's own are left to the shared ones.
  EXPECT_FALSE(t.Set(MemberLeft, 3));
  vellvar value(0);
  EXPECT_FALSE(GetTextBoxMember(t.box, MemberCaption, value, t.hooks));
}

TEST(TextBoxMembers, HooksOfTheWindow) {
  TextBox t;
  std::u16string printed;
  int flushes = 0;
  t.hooks.print = [&](std::u16string_view text) { printed += text; };
  t.hooks.flush = [&] { ++flushes; };
  t.Set(MemberPrint, u"out");
  EXPECT_EQ(printed, u"out");
  EXPECT_EQ(flushes, 0);
  EXPECT_EQ(t.Str(MemberText), u"");  // printing went to the window
  EXPECT_EQ(flushes, 1);
  t.Set(MemberText, u"x");
  EXPECT_EQ(flushes, 2);
}

TEST(TextBoxMembers, FileAndPrinterFailuresAreShown) {
  TextBox t;
  t.Set(MemberText, u"kept");
  t.Set(MemberLoadFile, u"/nonexistent/file.txt");
  ASSERT_EQ(t.errors.size(), 1u);
  EXPECT_EQ(t.Str(MemberText), u"kept");
  t.Set(MemberSaveFile, u"/nonexistent/file.txt");
  EXPECT_EQ(t.errors.size(), 2u);
  // No printer to print on.
  t.Set(MemberPrinter, 0);
  ASSERT_EQ(t.errors.size(), 3u);
  EXPECT_EQ(t.errors[2], QString::fromLatin1(kNoPrinterText));
}

TEST(LabelMembers, ALongerCaptionWidensTheLabel) {
  QWidget parent;
  auto* label = new QLabel(&parent);
  SetUpNewLabel(*label);
  Set(SetLabelMember, *label, MemberCaption, u"A longer caption");
  EXPECT_EQ(GetText(GetLabelMember, *label, MemberCaption), u"A longer caption");
  EXPECT_GE(label->width(), label->sizeHint().width());
}

// The type-specific members of text boxes, buttons, labels, check boxes and
// radio buttons, set and read back as a program does.
#include "components/widgets/specific_members.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "components/widgets/component_type.h"
#include "components/widgets/text_box_printing.h"
#include "components/widgets/vell_button.h"
#include "core/codes.h"
#include "core/vellvar.h"
#include "platform/qt/memo_edit.h"
#include "tests/support/files.h"

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
int GetInt(Getter getter, Control& control, int32_t member) {
  vellvar value(-999);
  EXPECT_TRUE(getter(control, member, value)) << member;
  return Int(value);
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

TEST(TextBoxMembers, NewBoxAndReadBacks) {
  TextBox t;
  EXPECT_EQ(t.box.height(), 21);
  EXPECT_EQ(t.Str(MemberText), u"");
  EXPECT_EQ(t.Int(MemberWantReturns), 0);
  EXPECT_EQ(t.Int(MemberBorderStyle), 1);
  EXPECT_EQ(t.Int(MemberReadOnly), 0);

  EXPECT_TRUE(t.Set(MemberBorderStyle, 0));
  EXPECT_EQ(t.Int(MemberBorderStyle), 0);
  EXPECT_TRUE(t.Set(MemberBorderStyle, 2));  // ignored
  EXPECT_EQ(t.Int(MemberBorderStyle), 0);
  t.Set(MemberReadOnly, 7);
  EXPECT_EQ(t.Int(MemberReadOnly), 1);
  // A new box shows no scroll bar, whatever its text.
  EXPECT_EQ(t.Int(MemberScrollBars), 0);
  EXPECT_EQ(t.box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  t.Set(MemberScrollBars, 0x102);  // the low 8 bits
  EXPECT_EQ(t.Int(MemberScrollBars), 2);
  t.Set(MemberWantReturns, -1);
  EXPECT_EQ(t.Int(MemberWantReturns), 1);

  t.Set(MemberMargin, 10);
  EXPECT_EQ(t.Int(MemberMargin), 10);
  EXPECT_EQ(t.box.FormatMargins(), QMargins(10, 5, 10, 5));
  t.Set(MemberMargin, -3);
  EXPECT_EQ(t.Int(MemberMargin), 0);
  EXPECT_EQ(t.box.FormatMargins(), QMargins(0, 5, 0, 5));

  // Members that are not the text box's own are left to the shared ones.
  EXPECT_FALSE(t.Set(MemberLeft, 3));
  vellvar value(0);
  EXPECT_FALSE(GetTextBoxMember(t.box, MemberCaption, value, t.hooks));
}

TEST(TextBoxMembers, TextAndSelection) {
  TextBox t;
  t.Set(MemberText, u"ab\ncd");
  EXPECT_EQ(t.box.document()->blockCount(), 2);
  EXPECT_EQ(t.Str(MemberText), u"ab\ncd");
  t.Set(MemberText, u"ab\r\ncd");
  EXPECT_EQ(t.Str(MemberText), u"ab\ncd");
  t.Set(MemberSelStart, 4);
  t.Set(MemberSelLength, 2);
  EXPECT_EQ(t.Str(MemberSelText), u"cd");
  EXPECT_EQ(t.Int(MemberSelStart), 4);
  EXPECT_EQ(t.Int(MemberSelLength), 2);
  t.Set(MemberSelText, u"X\nY");
  EXPECT_EQ(t.Str(MemberText), u"ab\nX\nY");
  t.Set(MemberSelStart, 0);
  t.Set(MemberSelLength, 0);
  t.Set(MemberSelText, u">");
  EXPECT_EQ(t.Str(MemberText), u">ab\nX\nY");
  t.Set(MemberSelStart, 99999);
  EXPECT_EQ(t.Int(MemberSelStart), 9);

  t.Set(MemberPrint, u"\x1b*one\n");
  t.Set(MemberPrint, u"two");
  EXPECT_EQ(t.Str(MemberText), u"one\ntwo");
  t.Set(MemberText, u"");
  EXPECT_EQ(t.Str(MemberText), u"");
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

TEST(TextBoxMembers, FilesAndTheirFailures) {
  TextBox t;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.txt"));
  t.Set(MemberText, u"\u00e9\n\u6f22");
  t.Set(MemberSaveFile, std::u16string_view(reinterpret_cast<const char16_t*>(path.utf16())));
  EXPECT_EQ(vell::test::FileBytes(path.toStdString()),
            std::string("\xFF\xFE\xE9\x00\r\x00\n\x00\x22\x6F\r\x00\n\x00", 14));
  t.Set(MemberText, u"");
  t.Set(MemberLoadFile, std::u16string_view(reinterpret_cast<const char16_t*>(path.utf16())));
  EXPECT_EQ(t.Str(MemberText), u"\u00e9\n\u6f22\n");
  EXPECT_TRUE(t.errors.empty());
  // A name as a program on the old system wrote it: another letter case.
  t.Set(MemberText, u"");
  const QString upper = dir.filePath(QStringLiteral("T.TXT"));
  t.Set(MemberLoadFile, std::u16string_view(reinterpret_cast<const char16_t*>(upper.utf16())));
  EXPECT_EQ(t.Str(MemberText), u"\u00e9\n\u6f22\n");
  t.Set(MemberLoadFile, u"/nonexistent/file.txt");
  ASSERT_EQ(t.errors.size(), 1u);
  EXPECT_EQ(t.Str(MemberText), u"\u00e9\n\u6f22\n");
  t.Set(MemberSaveFile, u"/nonexistent/file.txt");
  EXPECT_EQ(t.errors.size(), 2u);
  // No printer to print on.
  t.Set(MemberPrinter, 0);
  ASSERT_EQ(t.errors.size(), 3u);
  EXPECT_EQ(t.errors[2], QString::fromLatin1(kNoPrinterText));
}

TEST(ButtonMembers, DefaultsAndReadBacks) {
  QWidget parent;
  TVellButton button(&parent);
  SetUpNewButton(button);
  EXPECT_EQ(GetText(GetButtonMember, button, MemberCaption), u"Button");
  EXPECT_EQ(button.ShownCaption(), QStringLiteral("Button"));
  EXPECT_EQ(GetInt(GetButtonMember, button, MemberWidth), 75);
  EXPECT_EQ(GetInt(GetButtonMember, button, MemberHeight), 25);
  Set(SetButtonMember, button, MemberButtonStyle, 7);
  EXPECT_EQ(GetInt(GetButtonMember, button, MemberButtonStyle), 7);
  Set(SetButtonMember, button, MemberMargin, 4);
  EXPECT_EQ(GetInt(GetButtonMember, button, MemberMargin), 4);
  const std::u16string longCaption(200, u'M');
  Set(SetButtonMember, button, MemberCaption, longCaption);
  EXPECT_EQ(GetText(GetButtonMember, button, MemberCaption), longCaption);
  EXPECT_LT(button.ShownCaption().size(), 200);
  Set(SetButtonMember, button, MemberWidth, 5000);
  EXPECT_EQ(button.ShownCaption().size(), 200);
  vellvar value(0);
  EXPECT_FALSE(GetButtonMember(button, MemberChecked, value));
}

TEST(LabelMembers, CaptionAndZOrder) {
  QWidget parent;
  auto* label = new QLabel(&parent);
  auto* other = new QLabel(&parent);
  SetUpNewLabel(*label);
  EXPECT_EQ(GetText(GetLabelMember, *label, MemberCaption), u"Label");
  Set(SetLabelMember, *label, MemberCaption, u"A longer caption");
  EXPECT_EQ(GetText(GetLabelMember, *label, MemberCaption), u"A longer caption");
  EXPECT_GE(label->width(), label->sizeHint().width());
  EXPECT_TRUE(Set(SetLabelMember, *label, MemberZOrder, 0));
  EXPECT_EQ(parent.children().last(), other);
  EXPECT_TRUE(Set(SetLabelMember, *label, MemberZOrder, 1));
  EXPECT_EQ(parent.children().last(), label);
}

TEST(CheckMembers, CheckingAndUnchecking) {
  QWidget parent;
  QCheckBox box(&parent);
  SetUpNewCheckBox(box);
  EXPECT_EQ(GetText(GetCheckMember, box, MemberCaption), u"CheckBox");
  EXPECT_EQ(GetInt(GetCheckMember, box, MemberChecked), 0);
  Set(SetCheckMember, box, MemberChecked, 5);
  EXPECT_EQ(GetInt(GetCheckMember, box, MemberChecked), 1);
  Set(SetCheckMember, box, MemberChecked, 0);
  EXPECT_EQ(GetInt(GetCheckMember, box, MemberChecked), 0);

  QRadioButton a(&parent);
  QRadioButton b(&parent);
  SetUpNewRadioButton(a);
  EXPECT_EQ(GetText(GetCheckMember, a, MemberCaption), u"RadioButton");
  Set(SetCheckMember, a, MemberChecked, 1);
  Set(SetCheckMember, b, MemberChecked, 1);
  EXPECT_EQ(GetInt(GetCheckMember, a, MemberChecked), 0);
  Set(SetCheckMember, b, MemberChecked, 0);
  EXPECT_EQ(GetInt(GetCheckMember, b, MemberChecked), 0);
  Set(SetCheckMember, a, MemberCaption, u"Pick");
  EXPECT_EQ(a.text(), QStringLiteral("Pick"));
}

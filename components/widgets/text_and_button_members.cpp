#include "components/widgets/text_and_button_members.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <optional>
#include <string>

#include "components/widgets/component_type.h"
#include "components/widgets/simple_controls.h"
#include "components/widgets/text_box_printing.h"
#include "components/widgets/vell_button.h"
#include "core/codes.h"
#include "core/vellvar.h"
#include "platform/paths.h"
#include "platform/qt/long_runs.h"
#include "platform/qt/memo_edit.h"
#include "platform/qt/utf16_qstring.h"

namespace vell::widgets {

namespace {

// New controls take the sizes programs were laid out for: a text box 185
// wide, check boxes and radio buttons one line high.
constexpr int kNewTextBoxWidth = 185;
constexpr int kNewTextBoxHeight = 21;
constexpr int kNewCheckBoxWidth = 97;
constexpr int kNewRadioButtonWidth = 113;
constexpr int kNewCheckHeight = 17;
// The formatting rectangle keeps this many pixels above and below the text.
constexpr int kFormatTopBottom = 5;

std::u16string Text(const vellvar& arg) { return WideString(arg); }

void Put(vellvar& result, int32_t number) { result = vellvar(number); }
void Put(vellvar& result, std::u16string_view text) { result = vellvar(text); }
void Put(vellvar& result, bool on) { result = vellvar(on ? 1 : 0); }

void ShowError(const TextBoxHooks& hooks, const QString& text) {
  if (hooks.showError) hooks.showError(text);
}

// A file named by a program as other file keywords take it (backslashes,
// letter case as on the system the program was written for).
QString FilePath(const vellvar& arg) {
  const std::u16string name = Text(arg);
  const std::optional<std::string> path = paths::ResolveProgramPath(name);
  return path ? QFile::decodeName(QByteArray::fromStdString(*path)) : qt::ToQString(name);
}

}  // namespace

void SetUpNewTextBox(MemoEdit& box) {
  box.resize(kNewTextBoxWidth, kNewTextBoxHeight);
  box.SetWantReturns(false);
  box.SetScrollBars(0);  // no scroll bars until a program asks for them
  // A long line without blanks does not freeze it, as in the output area.
  qt::WrapLongRunsAnywhere(box);
}

void SetUpNewButton(TVellButton& button) {
  button.SetCaption(QString::fromUtf16(kButtonCaption));
  button.SetHeight(kButtonHeight);
  button.SetWidth(kButtonWidth);
}

void SetUpNewLabel(QLabel& label) {
  label.setText(QString::fromUtf16(kLabelCaption));
  label.adjustSize();
}

void SetUpNewCheckBox(QAbstractButton& box) {
  box.setText(QString::fromUtf16(kCheckBoxCaption));
  box.resize(kNewCheckBoxWidth, kNewCheckHeight);
}

void SetUpNewRadioButton(QAbstractButton& box) {
  box.setText(QString::fromUtf16(kRadioButtonCaption));
  box.resize(kNewRadioButtonWidth, kNewCheckHeight);
}

// ---------------------------------------------------------------------------
// TEXTBOX

bool SetTextBoxMember(MemoEdit& box, int32_t member, const vellvar& arg,
                      const TextBoxHooks& hooks) {
  const int32_t v = arg.ToInt();
  if (hooks.flush && member != MemberPrint) hooks.flush();
  switch (member) {
    case MemberBorderStyle:
      if (v == 0 || v == 1) box.SetBorderStyle(v);
      return true;
    case MemberMargin: {
      const int m = v < 0 ? 0 : v;
      box.SetFormatRect(box.ClientRect().adjusted(m, kFormatTopBottom, -m, -kFormatTopBottom));
      return true;
    }
    case MemberReadOnly:
      box.setReadOnly(v != 0);
      return true;
    case MemberScrollBars:
      box.SetScrollBars(v & 0xFF);
      return true;
    case MemberSelLength:
      box.SetSelLength(v);
      return true;
    case MemberSelStart:
      box.SetSelStart(v);
      return true;
    case MemberSelText:
      box.SetSelText(qt::ToCrLfText(Text(arg)));
      return true;
    case MemberText:
      box.SetText(qt::ToCrLfText(Text(arg)));
      return true;
    case MemberWantReturns:
      box.SetWantReturns(v != 0);
      return true;
    case MemberPrint:
      if (hooks.print) {
        hooks.print(Text(arg));
      } else {
        box.AppendOutput(Text(arg));
      }
      return true;
    case MemberLoadFile: {
      QString error;
      if (!box.LoadFile(FilePath(arg), &error)) ShowError(hooks, error);
      return true;
    }
    case MemberSaveFile: {
      QString error;
      if (!box.SaveFile(FilePath(arg), &error)) ShowError(hooks, error);
      return true;
    }
    case MemberPrinter: {
      QString error;
      if (hooks.printer == nullptr) {
        ShowError(hooks, QString::fromLatin1(kNoPrinterText));
      } else if (!PrintMemoOnPrinter(box, *hooks.printer, error)) {
        ShowError(hooks, error);
      }
      return true;
    }
    default:
      return false;
  }
}

bool GetTextBoxMember(MemoEdit& box, int32_t member, vellvar& result, const TextBoxHooks& hooks) {
  if (hooks.flush) hooks.flush();
  switch (member) {
    case MemberBorderStyle:
      Put(result, box.BorderStyle());
      return true;
    case MemberMargin:
      Put(result, box.FormatRect().left());
      return true;
    case MemberReadOnly:
      Put(result, box.isReadOnly());
      return true;
    case MemberScrollBars:
      Put(result, box.ScrollBars());
      return true;
    case MemberSelLength:
      Put(result, box.SelLength());
      return true;
    case MemberSelStart:
      Put(result, box.SelStart());
      return true;
    case MemberSelText:
      Put(result, box.SelText());
      return true;
    case MemberText:
      Put(result, box.ProgramText());
      return true;
    case MemberWantReturns:
      Put(result, box.WantReturns());
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// BUTTON

bool SetButtonMember(TVellButton& button, int32_t member, const vellvar& arg) {
  const int32_t v = arg.ToInt();
  switch (member) {
    case MemberButtonStyle:
      button.SetButtonStyle(v);
      return true;
    case MemberCaption:
      button.SetCaption(qt::ToQString(Text(arg)));
      return true;
    case MemberMargin:
      button.SetMargin(v);
      return true;
    case MemberHeight:
      button.SetHeight(v);
      return true;
    case MemberWidth:
      button.SetWidth(v);
      return true;
    default:
      return false;
  }
}

bool GetButtonMember(TVellButton& button, int32_t member, vellvar& result) {
  switch (member) {
    case MemberButtonStyle:
      Put(result, button.GetButtonStyle());
      return true;
    case MemberCaption:
      Put(result, qt::Utf16View(button.GetCaption()));
      return true;
    case MemberMargin:
      Put(result, button.GetMargin());
      return true;
    case MemberHeight:
      Put(result, button.GetHeight());
      return true;
    case MemberWidth:
      Put(result, button.GetWidth());
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// LABEL

bool SetLabelMember(QLabel& label, int32_t member, const vellvar& arg) {
  const int32_t v = arg.ToInt();
  switch (member) {
    case MemberCaption:
      // A label takes the size of its caption.
      label.setText(qt::ToQString(Text(arg)));
      label.adjustSize();
      return true;
    case MemberZOrder:
      ApplyZOrder(label, v, true);
      return true;
    default:
      return false;
  }
}

bool GetLabelMember(QLabel& label, int32_t member, vellvar& result) {
  if (member != MemberCaption) return false;
  Put(result, qt::Utf16View(label.text()));
  return true;
}

// ---------------------------------------------------------------------------
// CHECKBOX and RADIOBUTTON

bool SetCheckMember(QAbstractButton& box, int32_t member, const vellvar& arg) {
  const int32_t v = arg.ToInt();
  switch (member) {
    case MemberCaption:
      box.setText(qt::ToQString(Text(arg)));
      return true;
    case MemberChecked:
      SetButtonChecked(box, v != 0);
      return true;
    default:
      return false;
  }
}

bool GetCheckMember(QAbstractButton& box, int32_t member, vellvar& result) {
  switch (member) {
    case MemberCaption:
      Put(result, qt::Utf16View(box.text()));
      return true;
    case MemberChecked:
      Put(result, box.isChecked());
      return true;
    default:
      return false;
  }
}

}  // namespace vell::widgets

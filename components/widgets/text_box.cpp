// The TEXTBOX component; component 1, the output area, is one too.
#include "components/widgets/text_box.h"

#include <QFile>
#include <QPlainTextEdit>
#include <algorithm>
#include <optional>
#include <string>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/geometry_bounds.h"
#include "components/widgets/member_failure.h"
#include "components/widgets/member_values.h"
#include "components/widgets/text_box_printing.h"
#include "core/codes.h"
#include "core/vellvar.h"
#include "platform/paths.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/long_runs.h"
#include "platform/qt/memo_edit.h"
#include "platform/qt/utf16_qstring.h"

namespace vell::widgets {

namespace {

// A new text box takes the size programs were laid out for.
constexpr int kNewTextBoxWidth = 185;
constexpr int kNewTextBoxHeight = 21;
// The formatting rectangle keeps this many pixels above and below the text.
constexpr int kFormatTopBottom = 5;

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

bool SetTextBoxMember(MemoEdit& box, int32_t member, const vellvar& arg,
                      const TextBoxHooks& hooks) {
  const int32_t v = arg.ToInt();
  if (hooks.flush && member != MemberPrint) hooks.flush();
  switch (member) {
    case MemberBorderStyle:
      if (v == 0 || v == 1) box.SetBorderStyle(v);
      return true;
    case MemberMargin: {
      // Negative counts as 0; reads back the bounded margin.
      const int m = std::clamp(v, 0, kMaxMargin);
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
      box.SetProgramText(qt::ToCrLfText(Text(arg)));
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

}  // namespace vell::widgets

namespace vell {

void ComponentHost::PrintToOutputArea(std::u16string_view text) {
  // At once, so that it stays in order with what the window writes out.
  FlushOutput();
  if (auto* area = qobject_cast<MemoEdit*>(OutputArea())) {
    area->AppendOutput(text);
    area->FlushOutput();
  }
}

namespace {

QObject* CreateTextBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new MemoEdit(defaultParent);
  widgets::SetUpNewTextBox(*control);
  ShowNewControl(control);
  return control;
}

// What the members need of the window. The output area's output goes the
// way of the PRINT statement, gathered by the window.
widgets::TextBoxHooks Hooks(MemberCall& call) {
  widgets::TextBoxHooks hooks;
  ComponentHost& host = call.table.Host();
  if (call.slot == kOutputAreaSlot) {
    hooks.print = [&host](std::u16string_view text) { host.PrintToOutputArea(text); };
    hooks.flush = [&host] { host.FlushOutput(); };
  }
  hooks.showError = [&call](const QString& text) { ReportMemberFailure(call, text); };
  if (PrinterSetupDialog* dialog = call.table.PrinterDialog()) hooks.printer = &dialog->Printer();
  return hooks;
}

int SetOwn(MemberCall& call) {
  if (auto* box = qobject_cast<MemoEdit*>(call.object)) {
    widgets::SetTextBoxMember(*box, call.member, call.args[0], Hooks(call));
  }
  return 1;
}

bool GetOwn(MemberCall& call) {
  if (auto* box = qobject_cast<MemoEdit*>(call.object)) {
    widgets::GetTextBoxMember(*box, call.member, call.result, Hooks(call));
  }
  return true;
}

constexpr MemberBinding kOwn[] = {
    {MemberBorderStyle, SetOwn, GetOwn}, {MemberMargin, SetOwn, GetOwn},
    {MemberReadOnly, SetOwn, GetOwn},    {MemberScrollBars, SetOwn, GetOwn},
    {MemberSelLength, SetOwn, GetOwn},   {MemberSelStart, SetOwn, GetOwn},
    {MemberSelText, SetOwn, GetOwn},     {MemberText, SetOwn, GetOwn},
    {MemberWantReturns, SetOwn, GetOwn}, {MemberLoadFile, SetOwn, nullptr},
    {MemberPrint, SetOwn, nullptr},      {MemberPrinter, SetOwn, nullptr},
    {MemberSaveFile, SetOwn, nullptr},
};

}  // namespace

const ComponentType& TextBoxType() {
  static const ComponentType type{
      TypeTextBox, CreateTextBox, DeleteRule::Control, nullptr, {kOwn, CommonMembers()}};
  return type;
}

}  // namespace vell

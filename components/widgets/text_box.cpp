// The TEXTBOX component; component 1, the output area, is one too. Its
// output goes the way of the PRINT statement, gathered by the window, and
// what the window gathered is written out before any other member of it
// reads or changes the text.
#include <QFile>
#include <algorithm>
#include <optional>
#include <string>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/geometry_bounds.h"
#include "components/widgets/member_failure.h"
#include "components/widgets/text_box_printing.h"
#include "platform/paths.h"
#include "platform/qt/long_runs.h"
#include "platform/qt/memo_edit.h"
#include "platform/qt/utf16_qstring.h"

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

// A new text box takes the size programs were laid out for.
constexpr int kNewTextBoxWidth = 185;
constexpr int kNewTextBoxHeight = 21;
// The formatting rectangle keeps this many pixels above and below the text.
constexpr int kFormatTopBottom = 5;

// 185 x 21, Enter adds no line.
QObject* CreateTextBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* box = new MemoEdit(defaultParent);
  box->resize(kNewTextBoxWidth, kNewTextBoxHeight);
  box->SetWantReturns(false);
  box->SetScrollBars(0);  // no scroll bars until a program asks for them
  // A long line without blanks does not freeze it, as in the output area.
  qt::WrapLongRunsAnywhere(*box);
  ShowNewControl(box);
  return box;
}

// The box of the call, the output area's gathered output written out first;
// null for an output area that is no MemoEdit (nothing is done then).
MemoEdit* BoxOf(MemberCall& call) {
  auto* box = qobject_cast<MemoEdit*>(call.object);
  if (box != nullptr && call.slot == kOutputAreaSlot) call.table.Host().FlushOutput();
  return box;
}

// A member as a set or get of the box.
template <void (*Set)(MemberCall&, MemoEdit&)>
int SetOn(MemberCall& call) {
  if (MemoEdit* box = BoxOf(call)) Set(call, *box);
  return 1;
}
template <void (*Get)(MemberCall&, MemoEdit&)>
bool GetFrom(MemberCall& call) {
  if (MemoEdit* box = BoxOf(call)) Get(call, *box);
  return true;
}

// A file named by a program as other file keywords take it (backslashes,
// letter case as on the system the program was written for).
QString FilePath(MemberCall& call) {
  const std::u16string name = WideString(call.args[0]);
  const std::optional<std::string> path = paths::ResolveProgramPath(name);
  return path ? QFile::decodeName(QByteArray::fromStdString(*path)) : qt::ToQString(name);
}

// --- properties ----------------------------------------------------------------

void SetBorderStyle(MemberCall& call, MemoEdit& box) {
  const int32_t style = call.IntArg();
  if (style == 0 || style == 1) box.SetBorderStyle(style);
}
void GetBorderStyle(MemberCall& call, MemoEdit& box) { call.result = vellvar(box.BorderStyle()); }

// Negative counts as 0; reads back the bounded margin.
void SetMargin(MemberCall& call, MemoEdit& box) {
  const int m = std::clamp(call.IntArg(), 0, kMaxMargin);
  box.SetFormatRect(box.ClientRect().adjusted(m, kFormatTopBottom, -m, -kFormatTopBottom));
}
void GetMargin(MemberCall& call, MemoEdit& box) { call.result = vellvar(box.FormatRect().left()); }

void SetReadOnly(MemberCall& call, MemoEdit& box) { box.setReadOnly(call.IntArg() != 0); }
void GetReadOnly(MemberCall& call, MemoEdit& box) {
  call.result = vellvar(box.isReadOnly() ? 1 : 0);
}

void SetScrollBars(MemberCall& call, MemoEdit& box) { box.SetScrollBars(call.IntArg() & 0xFF); }
void GetScrollBars(MemberCall& call, MemoEdit& box) { call.result = vellvar(box.ScrollBars()); }

void SetSelLength(MemberCall& call, MemoEdit& box) { box.SetSelLength(call.IntArg()); }
void GetSelLength(MemberCall& call, MemoEdit& box) { call.result = vellvar(box.SelLength()); }

void SetSelStart(MemberCall& call, MemoEdit& box) { box.SetSelStart(call.IntArg()); }
void GetSelStart(MemberCall& call, MemoEdit& box) { call.result = vellvar(box.SelStart()); }

// SELTEXT and TEXT take a program's lone line feeds as line breaks and read
// back without CRs.
void SetSelText(MemberCall& call, MemoEdit& box) {
  box.SetSelText(qt::ToCrLfText(WideString(call.args[0])));
}
void GetSelText(MemberCall& call, MemoEdit& box) { call.result = vellvar(box.SelText()); }

void SetText(MemberCall& call, MemoEdit& box) {
  box.SetProgramText(qt::ToCrLfText(WideString(call.args[0])));
}
void GetText(MemberCall& call, MemoEdit& box) { call.result = vellvar(box.ProgramText()); }

void SetWantReturns(MemberCall& call, MemoEdit& box) { box.SetWantReturns(call.IntArg() != 0); }
void GetWantReturns(MemberCall& call, MemoEdit& box) {
  call.result = vellvar(box.WantReturns() ? 1 : 0);
}

// --- methods -------------------------------------------------------------------

// Appends the value to the box, or for the output area to what the window
// gathers (so no flush comes first).
int Print(MemberCall& call) {
  auto* box = qobject_cast<MemoEdit*>(call.object);
  if (box == nullptr) return 1;
  const std::u16string text = WideString(call.args[0]);
  if (call.slot == kOutputAreaSlot) {
    call.table.Host().PrintToOutputArea(text);
  } else {
    box->AppendOutput(text);
  }
  return 1;
}

void LoadFile(MemberCall& call, MemoEdit& box) {
  QString error;
  if (!box.LoadFile(FilePath(call), &error)) ReportMemberFailure(call, error);
}

void SaveFile(MemberCall& call, MemoEdit& box) {
  QString error;
  if (!box.SaveFile(FilePath(call), &error)) ReportMemberFailure(call, error);
}

// The text on the printer of the printer set-up dialog.
void Printer(MemberCall& call, MemoEdit& box) {
  PrinterSetupDialog* dialog = call.table.PrinterDialog();
  QString error;
  if (dialog == nullptr) {
    ReportMemberFailure(call, QString::fromLatin1(widgets::kNoPrinterText));
  } else if (!widgets::PrintMemoOnPrinter(box, dialog->Printer(), error)) {
    ReportMemberFailure(call, error);
  }
}

constexpr MemberBinding kTextBoxMembers[] = {
    {MemberBorderStyle, SetOn<SetBorderStyle>, GetFrom<GetBorderStyle>},
    {MemberMargin, SetOn<SetMargin>, GetFrom<GetMargin>},
    {MemberReadOnly, SetOn<SetReadOnly>, GetFrom<GetReadOnly>},
    {MemberScrollBars, SetOn<SetScrollBars>, GetFrom<GetScrollBars>},
    {MemberSelLength, SetOn<SetSelLength>, GetFrom<GetSelLength>},
    {MemberSelStart, SetOn<SetSelStart>, GetFrom<GetSelStart>},
    {MemberSelText, SetOn<SetSelText>, GetFrom<GetSelText>},
    {MemberText, SetOn<SetText>, GetFrom<GetText>},
    {MemberWantReturns, SetOn<SetWantReturns>, GetFrom<GetWantReturns>},
    {MemberLoadFile, SetOn<LoadFile>, nullptr},
    {MemberPrint, Print, nullptr},
    {MemberPrinter, SetOn<Printer>, nullptr},
    {MemberSaveFile, SetOn<SaveFile>, nullptr},
};

}  // namespace

const ComponentType& TextBoxType() {
  static const ComponentType type{
      TypeTextBox, CreateTextBox, DeleteRule::Control, nullptr, {kTextBoxMembers, CommonMembers()}};
  return type;
}

}  // namespace vell

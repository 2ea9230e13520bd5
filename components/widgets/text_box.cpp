// The TEXTBOX component; component 1, the output area, is one too.
#include <QPlainTextEdit>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/text_and_button_members.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/memo_edit.h"

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
  hooks.showError = [&host](const QString& text) {
    qt::Dialogs().ShowWarning(host.MainWindowWidget(), QStringLiteral("Vell"), text);
  };
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

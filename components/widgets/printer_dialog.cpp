// The PRINTERDIALOG component: the printer set-up dialog, component 4, on
// the one printer that printing uses. EXECUTE answers 1 when the user
// confirmed the settings and 0 after Cancel.
#include "components/widgets/component_table.h"
#include "platform/qt/dialogs.h"

namespace vell {

namespace {

int Execute(MemberCall& call) {
  PrinterSetupDialog* dialog = call.table.PrinterDialog();
  if (dialog == nullptr) return 0;
  ComponentHost& host = call.table.Host();
  host.FlushOutput();
  return qt::Dialogs().SetUpPrinter(host.MainWindowWidget(), dialog->Printer()) ? 1 : 0;
}

constexpr MemberBinding kPrinterDialogMembers[] = {
    {MemberExecute, Execute, nullptr},
};

}  // namespace

const ComponentType& PrinterDialogType() {
  static const ComponentType type{
      TypePrinterDialog, nullptr, DeleteRule::Refused, nullptr, {kPrinterDialogMembers}};
  return type;
}

}  // namespace vell

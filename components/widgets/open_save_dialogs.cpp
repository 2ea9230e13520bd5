// The OPENDIALOG and SAVEDIALOG components: the main window's open and save
// dialogs, components 2 and 3, whose state the table keeps. EXECUTE shows the
// dialog with the folder, file name and filter of that state and answers 1
// when the user chose a file (FILENAME then reads it) and 0 after Cancel.
#include <optional>

#include "components/widgets/component_table.h"
#include "platform/qt/dialogs.h"

namespace vell {

namespace {

qt::FileDialogSetup& SetupOf(MemberCall& call) {
  return call.Component().type == TypeOpenDialog ? call.table.OpenDialogSetup()
                                                 : call.table.SaveDialogSetup();
}

int SetFileName(MemberCall& call) {
  SetupOf(call).fileName = call.TextArg();
  return 1;
}

bool GetFileName(MemberCall& call) {
  call.result = MemberCall::Text(SetupOf(call).fileName);
  return true;
}

int Execute(MemberCall& call) {
  qt::FileDialogSetup& setup = SetupOf(call);
  ComponentHost& host = call.table.Host();
  host.FlushOutput();
  int filterIndex = setup.filterIndex;
  const std::optional<QString> path =
      call.Component().type == TypeOpenDialog
          ? qt::Dialogs().GetOpenFileName(host.MainWindowWidget(), setup, &filterIndex)
          : qt::Dialogs().GetSaveFileName(host.MainWindowWidget(), setup, &filterIndex);
  if (!path) return 0;
  setup.fileName = *path;
  setup.filterIndex = filterIndex;
  return 1;
}

constexpr MemberBinding kFileDialogMembers[] = {
    {MemberFileName, SetFileName, GetFileName},
    {MemberExecute, Execute, nullptr},
};

}  // namespace

const ComponentType& OpenDialogType() {
  static const ComponentType type{
      TypeOpenDialog, nullptr, DeleteRule::Refused, nullptr, {kFileDialogMembers}};
  return type;
}

const ComponentType& SaveDialogType() {
  static const ComponentType type{
      TypeSaveDialog, nullptr, DeleteRule::Refused, nullptr, {kFileDialogMembers}};
  return type;
}

}  // namespace vell

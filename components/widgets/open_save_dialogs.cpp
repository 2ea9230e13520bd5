// The OPENDIALOG and SAVEDIALOG components: the main window's open and save
// dialogs, components 2 and 3, whose state the table keeps.
#include "components/widgets/component_table.h"

namespace vell {

const ComponentType& OpenDialogType() {
  static const ComponentType type{TypeOpenDialog, nullptr, DeleteRule::Refused, nullptr, {}};
  return type;
}

const ComponentType& SaveDialogType() {
  static const ComponentType type{TypeSaveDialog, nullptr, DeleteRule::Refused, nullptr, {}};
  return type;
}

}  // namespace vell

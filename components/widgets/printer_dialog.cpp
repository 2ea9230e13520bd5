// The PRINTERDIALOG component: the printer set-up dialog, component 4.
#include "components/widgets/component_table.h"

namespace vell {

const ComponentType& PrinterDialogType() {
  static const ComponentType type{TypePrinterDialog, nullptr, DeleteRule::Refused, nullptr, {}};
  return type;
}

}  // namespace vell

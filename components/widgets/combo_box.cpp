// The COMBOBOX component.
#include <QComboBox>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a combo box.
QObject* CreateComboBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QComboBox(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& ComboBoxType() {
  static const ComponentType type{TypeComboBox, CreateComboBox, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

// The CHECKBOX component.
#include <QCheckBox>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a check box.
QObject* CreateCheckBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QCheckBox(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& CheckBoxType() {
  static const ComponentType type{TypeCheckBox, CreateCheckBox, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

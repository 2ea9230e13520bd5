// The GROUPBOX component.
#include <QGroupBox>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a group box.
QObject* CreateGroupBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QGroupBox(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& GroupBoxType() {
  static const ComponentType type{TypeGroupBox, CreateGroupBox, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

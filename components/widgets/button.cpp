// The BUTTON component.
#include <QPushButton>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a plain push button; the program's own button control takes its place.
QObject* CreateButton(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QPushButton(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& ButtonType() {
  static const ComponentType type{TypeButton, CreateButton, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

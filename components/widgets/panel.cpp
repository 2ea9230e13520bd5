// The PANEL component.
#include <QFrame>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a framed area.
QObject* CreatePanel(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QFrame(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& PanelType() {
  static const ComponentType type{TypePanel, CreatePanel, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

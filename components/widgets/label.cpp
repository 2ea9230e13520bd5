// The LABEL component.
#include <QLabel>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a label.
QObject* CreateLabel(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QLabel(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& LabelType() {
  static const ComponentType type{TypeLabel, CreateLabel, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

// The RADIOBUTTON component.
#include <QRadioButton>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a radio button.
QObject* CreateRadioButton(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QRadioButton(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& RadioButtonType() {
  static const ComponentType type{
      TypeRadioButton, CreateRadioButton, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

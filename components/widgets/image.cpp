// The IMAGE component.
#include <QWidget>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now an empty area.
QObject* CreateImage(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QWidget(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& ImageType() {
  static const ComponentType type{TypeImage, CreateImage, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

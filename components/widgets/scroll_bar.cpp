// The SCROLLBAR component.
#include <QScrollBar>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a horizontal scroll bar.
QObject* CreateScrollBar(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QScrollBar(Qt::Horizontal, defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& ScrollBarType() {
  static const ComponentType type{TypeScrollBar, CreateScrollBar, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

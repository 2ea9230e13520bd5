// The TIMER component.
#include <QTimer>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a timer, which has no parent.
QObject* CreateTimer(mwin& /*table*/, QWidget* /*defaultParent*/) { return new QTimer(); }

}  // namespace

const ComponentType& TimerType() {
  static const ComponentType type{TypeTimer, CreateTimer, DeleteRule::Plain, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

// The LISTBOX component.
#include <QListWidget>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a list.
QObject* CreateListBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QListWidget(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& ListBoxType() {
  static const ComponentType type{TypeListBox, CreateListBox, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

// The TEXTBOX component.
#include <QPlainTextEdit>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a multi-line edit.
QObject* CreateTextBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QPlainTextEdit(defaultParent);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& TextBoxType() {
  static const ComponentType type{TypeTextBox, CreateTextBox, DeleteRule::Control, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell

// The FORM component.
#include <QWidget>

#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a window of its own, hidden until the program shows it.
QObject* CreateForm(mwin& /*table*/, QWidget* /*defaultParent*/) {
  return new QWidget(nullptr, Qt::Window);
}

}  // namespace

const ComponentType& FormType() {
  static const ComponentType type{TypeForm, CreateForm, DeleteRule::Form, nullptr, {}};
  return type;
}

}  // namespace vell

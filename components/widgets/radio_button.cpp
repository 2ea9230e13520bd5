// The RADIOBUTTON component: its members are the check box's.
#include <QRadioButton>

#include "components/widgets/check_box.h"
#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/simple_controls.h"

namespace vell {

namespace {

// New radio buttons are one line high.
constexpr int kNewRadioButtonWidth = 113;
constexpr int kNewRadioButtonHeight = 17;

QObject* CreateRadioButton(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QRadioButton(defaultParent);
  control->setText(QString::fromUtf16(widgets::kRadioButtonCaption));
  control->resize(kNewRadioButtonWidth, kNewRadioButtonHeight);
  widgets::UncheckOthersWhenChecked(*control);
  ShowNewControl(control);
  return control;
}

}  // namespace

const ComponentType& RadioButtonType() {
  static const ComponentType type{TypeRadioButton,
                                  CreateRadioButton,
                                  DeleteRule::Control,
                                  nullptr,
                                  {CheckMembers(), CommonMembers()}};
  return type;
}

}  // namespace vell

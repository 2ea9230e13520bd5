// The CHECKBOX component, whose own member the radio button shares.
#include "components/widgets/check_box.h"

#include <QCheckBox>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/simple_controls.h"

namespace vell {

namespace {

// New check boxes are one line high.
constexpr int kNewCheckBoxWidth = 97;
constexpr int kNewCheckBoxHeight = 17;

QObject* CreateCheckBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QCheckBox(defaultParent);
  control->setText(QString::fromUtf16(widgets::kCheckBoxCaption));
  control->resize(kNewCheckBoxWidth, kNewCheckBoxHeight);
  ShowNewControl(control);
  return control;
}

int SetChecked(MemberCall& call) {
  widgets::SetButtonChecked(*call.As<QAbstractButton>(), call.IntArg() != 0);
  return 1;
}
bool GetChecked(MemberCall& call) {
  call.result = vellvar(call.As<QAbstractButton>()->isChecked() ? 1 : 0);
  return true;
}

constexpr MemberBinding kCheckMembers[] = {
    {MemberChecked, SetChecked, GetChecked},
};

}  // namespace

std::span<const MemberBinding> CheckMembers() { return kCheckMembers; }

const ComponentType& CheckBoxType() {
  static const ComponentType type{
      TypeCheckBox, CreateCheckBox, DeleteRule::Control, nullptr, {kCheckMembers, CommonMembers()}};
  return type;
}

}  // namespace vell

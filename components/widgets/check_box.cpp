// The CHECKBOX component.
#include <QCheckBox>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/text_and_button_members.h"

namespace vell {

namespace {

QObject* CreateCheckBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QCheckBox(defaultParent);
  widgets::SetUpNewCheckBox(*control);
  ShowNewControl(control);
  return control;
}

int SetOwn(MemberCall& call) {
  widgets::SetCheckMember(*call.As<QCheckBox>(), call.member, call.args[0]);
  return 1;
}

bool GetOwn(MemberCall& call) {
  widgets::GetCheckMember(*call.As<QCheckBox>(), call.member, call.result);
  return true;
}

constexpr MemberBinding kOwn[] = {
    {MemberCaption, SetOwn, GetOwn},
    {MemberChecked, SetOwn, GetOwn},
};

}  // namespace

const ComponentType& CheckBoxType() {
  static const ComponentType type{
      TypeCheckBox, CreateCheckBox, DeleteRule::Control, nullptr, {kOwn, CommonMembers()}};
  return type;
}

}  // namespace vell

// The RADIOBUTTON component.
#include <QRadioButton>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/text_and_button_members.h"

namespace vell {

namespace {

QObject* CreateRadioButton(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QRadioButton(defaultParent);
  widgets::SetUpNewRadioButton(*control);
  ShowNewControl(control);
  return control;
}

int SetOwn(MemberCall& call) {
  widgets::SetCheckMember(*call.As<QRadioButton>(), call.member, call.args[0]);
  return 1;
}

bool GetOwn(MemberCall& call) {
  widgets::GetCheckMember(*call.As<QRadioButton>(), call.member, call.result);
  return true;
}

constexpr MemberBinding kOwn[] = {
    {MemberCaption, SetOwn, GetOwn},
    {MemberChecked, SetOwn, GetOwn},
};

}  // namespace

const ComponentType& RadioButtonType() {
  static const ComponentType type{
      TypeRadioButton, CreateRadioButton, DeleteRule::Control, nullptr, {kOwn, CommonMembers()}};
  return type;
}

}  // namespace vell

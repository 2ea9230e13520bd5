// The BUTTON component, made of the button control.
#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/text_and_button_members.h"
#include "components/widgets/vell_button.h"

namespace vell {

namespace {

QObject* CreateButton(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new TVellButton(defaultParent);
  widgets::SetUpNewButton(*control);
  ShowNewControl(control);
  return control;
}

int SetOwn(MemberCall& call) {
  widgets::SetButtonMember(*call.As<TVellButton>(), call.member, call.args[0]);
  return 1;
}

bool GetOwn(MemberCall& call) {
  widgets::GetButtonMember(*call.As<TVellButton>(), call.member, call.result);
  return true;
}

// HEIGHT and WIDTH go through the control, which sizes its face and cuts
// the caption anew.
constexpr MemberBinding kOwn[] = {
    {MemberButtonStyle, SetOwn, GetOwn}, {MemberCaption, SetOwn, GetOwn},
    {MemberMargin, SetOwn, GetOwn},      {MemberHeight, SetOwn, GetOwn},
    {MemberWidth, SetOwn, GetOwn},
};

}  // namespace

const ComponentType& ButtonType() {
  static const ComponentType type{
      TypeButton, CreateButton, DeleteRule::Control, nullptr, {kOwn, CommonMembers()}};
  return type;
}

}  // namespace vell

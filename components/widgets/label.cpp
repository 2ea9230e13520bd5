// The LABEL component.
#include <QLabel>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/text_and_button_members.h"

namespace vell {

namespace {

QObject* CreateLabel(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QLabel(defaultParent);
  widgets::SetUpNewLabel(*control);
  ShowNewControl(control);
  return control;
}

int SetOwn(MemberCall& call) {
  widgets::SetLabelMember(*call.As<QLabel>(), call.member, call.args[0]);
  return 1;
}

bool GetOwn(MemberCall& call) {
  widgets::GetLabelMember(*call.As<QLabel>(), call.member, call.result);
  return true;
}

// A label has no window of its own: ZORDER only brings it to the top.
constexpr MemberBinding kOwn[] = {
    {MemberCaption, SetOwn, GetOwn},
    {MemberZOrder, SetOwn, nullptr},
};

}  // namespace

const ComponentType& LabelType() {
  static const ComponentType type{
      TypeLabel, CreateLabel, DeleteRule::Control, nullptr, {kOwn, CommonMembers()}};
  return type;
}

}  // namespace vell

// The GROUPBOX component: a framed box with a caption, which holds the
// components placed in it.
#include <QGroupBox>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

QObject* CreateGroupBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QGroupBox(QStringLiteral("GroupBox"), defaultParent);
  control->resize(185, 105);
  ShowNewControl(control);
  return control;
}

int SetCaption(MemberCall& call) {
  call.As<QGroupBox>()->setTitle(call.TextArg());
  return 1;
}

bool GetCaption(MemberCall& call) {
  call.result = MemberCall::Text(call.As<QGroupBox>()->title());
  return true;
}

constexpr MemberBinding kGroupBoxMembers[] = {
    {MemberCaption, SetCaption, GetCaption},
};

}  // namespace

const ComponentType& GroupBoxType() {
  static const ComponentType type{TypeGroupBox,
                                  CreateGroupBox,
                                  DeleteRule::Control,
                                  nullptr,
                                  {kGroupBoxMembers, CommonMembers()}};
  return type;
}

}  // namespace vell

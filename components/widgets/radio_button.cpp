// The RADIOBUTTON component.
#include <QRadioButton>

#include "components/widgets/check_box.h"
#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/simple_controls.h"
#include "platform/qt/utf16_qstring.h"

namespace vell {

namespace {

// New radio buttons are one line high.
constexpr int kNewRadioButtonWidth = 113;
constexpr int kNewRadioButtonHeight = 17;

QObject* CreateRadioButton(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QRadioButton(defaultParent);
  control->setText(QString::fromUtf16(widgets::kRadioButtonCaption));
  control->resize(kNewRadioButtonWidth, kNewRadioButtonHeight);
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

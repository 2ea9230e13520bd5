// The CHECKBOX component, whose own members the radio button shares.
#include "components/widgets/check_box.h"

#include <QCheckBox>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/member_values.h"
#include "components/widgets/simple_controls.h"
#include "core/codes.h"
#include "core/vellvar.h"
#include "platform/qt/utf16_qstring.h"

namespace vell::widgets {

bool SetCheckMember(QAbstractButton& box, int32_t member, const vellvar& arg) {
  const int32_t v = arg.ToInt();
  switch (member) {
    case MemberCaption:
      box.setText(qt::ToQString(Text(arg)));
      return true;
    case MemberChecked:
      SetButtonChecked(box, v != 0);
      return true;
    default:
      return false;
  }
}

bool GetCheckMember(QAbstractButton& box, int32_t member, vellvar& result) {
  switch (member) {
    case MemberCaption:
      Put(result, qt::Utf16View(box.text()));
      return true;
    case MemberChecked:
      Put(result, box.isChecked());
      return true;
    default:
      return false;
  }
}

}  // namespace vell::widgets

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

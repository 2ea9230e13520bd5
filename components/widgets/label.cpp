// The LABEL component.
#include "components/widgets/label.h"

#include <QEvent>
#include <QLabel>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/member_values.h"
#include "components/widgets/simple_controls.h"
#include "core/codes.h"
#include "core/vellvar.h"
#include "platform/qt/utf16_qstring.h"

namespace vell::widgets {

void SetUpNewLabel(QLabel& label) {
  label.setTextFormat(Qt::PlainText);  // a caption is shown as it is, tags and all
  label.setText(QString::fromUtf16(kLabelCaption));
  label.adjustSize();
}

ProgramLabel::ProgramLabel(QWidget* parent) : QLabel(parent) {}

void ProgramLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) adjustSize();
}

bool SetLabelMember(QLabel& label, int32_t member, const vellvar& arg) {
  const int32_t v = arg.ToInt();
  switch (member) {
    case MemberCaption:
      // A label takes the size of its caption.
      label.setText(qt::ToQString(Text(arg)));
      label.adjustSize();
      return true;
    case MemberZOrder:
      ApplyZOrder(label, v, true);
      return true;
    default:
      return false;
  }
}

bool GetLabelMember(QLabel& label, int32_t member, vellvar& result) {
  if (member != MemberCaption) return false;
  Put(result, qt::Utf16View(label.text()));
  return true;
}

}  // namespace vell::widgets

namespace vell {

namespace {

QObject* CreateLabel(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new widgets::ProgramLabel(defaultParent);
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

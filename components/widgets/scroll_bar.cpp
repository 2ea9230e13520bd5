// The SCROLLBAR component: horizontal, 0 to 100 and at 0 when made. The
// minimum stays 0; a maximum below it is refused with a message (Qt would
// move the minimum silently), and the position stays within the range.
#include <QScrollBar>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/member_failure.h"

namespace vell {

namespace {

constexpr int kKindHorizontal = 0;
constexpr int kKindVertical = 1;

QObject* CreateScrollBar(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QScrollBar(Qt::Horizontal, defaultParent);
  control->setRange(0, 100);
  control->setPageStep(1);  // a click beside the thumb moves it by one step
  control->setValue(0);
  control->resize(121, 17);
  ShowNewControl(control);
  return control;
}

QScrollBar* BarOf(MemberCall& call) { return static_cast<QScrollBar*>(call.object); }

// Turning the bar turns its size with it.
int SetKind(MemberCall& call) {
  QScrollBar* bar = BarOf(call);
  const int kind = call.IntArg() & 0xFF;
  if (kind != kKindHorizontal && kind != kKindVertical) return 1;
  const Qt::Orientation orientation = kind == kKindVertical ? Qt::Vertical : Qt::Horizontal;
  if (bar->orientation() == orientation) return 1;
  bar->setOrientation(orientation);
  bar->resize(bar->height(), bar->width());
  return 1;
}

bool GetKind(MemberCall& call) {
  call.result =
      vellvar(BarOf(call)->orientation() == Qt::Vertical ? kKindVertical : kKindHorizontal);
  return true;
}

int SetMax(MemberCall& call) {
  QScrollBar* bar = BarOf(call);
  const int max = call.IntArg();
  if (max < bar->minimum()) {
    ReportMemberFailure(call, QStringLiteral("Scrollbar property out of range"));
  }
  bar->setMaximum(max);
  return 1;
}

bool GetMax(MemberCall& call) {
  call.result = vellvar(BarOf(call)->maximum());
  return true;
}

int SetPosition(MemberCall& call) {
  BarOf(call)->setValue(call.IntArg());
  return 1;
}

bool GetPosition(MemberCall& call) {
  call.result = vellvar(BarOf(call)->value());
  return true;
}

constexpr MemberBinding kScrollBarMembers[] = {
    {MemberKind, SetKind, GetKind},
    {MemberMax, SetMax, GetMax},
    {MemberPosition, SetPosition, GetPosition},
};

}  // namespace

const ComponentType& ScrollBarType() {
  static const ComponentType type{TypeScrollBar,
                                  CreateScrollBar,
                                  DeleteRule::Control,
                                  nullptr,
                                  {kScrollBarMembers, CommonMembers()}};
  return type;
}

}  // namespace vell

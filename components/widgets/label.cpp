// The LABEL component: a label without a window of its own (ZORDER only
// brings it to the top), as large as its caption.
#include <QEvent>
#include <QLabel>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/simple_controls.h"

namespace vell {

namespace {

// The label of a LABEL component: it takes the size of its caption when the
// caption or its font changes; WIDTH and HEIGHT set in between stay as set.
class ProgramLabel : public QLabel {
 public:
  explicit ProgramLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);  // a caption is shown as it is, tags and all
    setText(QString::fromUtf16(widgets::kLabelCaption));
    adjustSize();
  }

 protected:
  void changeEvent(QEvent* event) override {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) adjustSize();
  }
};

QObject* CreateLabel(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new ProgramLabel(defaultParent);
  ShowNewControl(control);
  return control;
}

int SetCaption(MemberCall& call) {
  QLabel* label = call.As<QLabel>();
  label->setText(call.TextArg());
  label->adjustSize();
  return 1;
}
bool GetCaption(MemberCall& call) {
  call.result = MemberCall::Text(call.As<QLabel>()->text());
  return true;
}

constexpr MemberBinding kLabelMembers[] = {
    {MemberCaption, SetCaption, GetCaption},
};

}  // namespace

const ComponentType& LabelType() {
  static const ComponentType type{
      TypeLabel, CreateLabel, DeleteRule::Control, nullptr, {kLabelMembers, CommonMembers()}};
  return type;
}

}  // namespace vell

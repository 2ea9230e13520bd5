// The PANEL component: a plain area with its caption in the middle, without
// a bevel, which holds the components placed in it. BORDERSTYLE 1 draws a
// single line around it.
#include <QFrame>
#include <QPainter>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

class ProgramPanel : public QFrame {
 public:
  explicit ProgramPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    resize(185, 41);
  }

  void SetCaption(const QString& caption) {
    caption_ = caption;
    update();
  }
  const QString& Caption() const { return caption_; }

  // 0: no border, 1: a single line; other values change nothing.
  void SetBorderStyle(int style) {
    if (style != 0 && style != 1) return;
    borderStyle_ = style;
    setFrameShape(style == 0 ? QFrame::NoFrame : QFrame::Box);
    setLineWidth(1);
  }
  int BorderStyle() const { return borderStyle_; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    if (caption_.isEmpty()) return;
    QPainter painter(this);
    painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
  }

 private:
  QString caption_ = QStringLiteral("Panel");
  int borderStyle_ = 0;
};

QObject* CreatePanel(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new ProgramPanel(defaultParent);
  ShowNewControl(control);
  return control;
}

int SetCaption(MemberCall& call) {
  call.As<ProgramPanel>()->SetCaption(call.TextArg());
  return 1;
}

bool GetCaption(MemberCall& call) {
  call.result = MemberCall::Text(call.As<ProgramPanel>()->Caption());
  return true;
}

int SetBorderStyle(MemberCall& call) {
  call.As<ProgramPanel>()->SetBorderStyle(call.IntArg());
  return 1;
}

bool GetBorderStyle(MemberCall& call) {
  call.result = vellvar(call.As<ProgramPanel>()->BorderStyle());
  return true;
}

constexpr MemberBinding kPanelMembers[] = {
    {MemberCaption, SetCaption, GetCaption},
    {MemberBorderStyle, SetBorderStyle, GetBorderStyle},
};

}  // namespace

const ComponentType& PanelType() {
  static const ComponentType type{
      TypePanel, CreatePanel, DeleteRule::Control, nullptr, {kPanelMembers, CommonMembers()}};
  return type;
}

}  // namespace vell

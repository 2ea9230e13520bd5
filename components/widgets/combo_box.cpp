// The COMBOBOX component: an edit field with a drop-down list of lines.
// Unlike Qt's combo box it selects nothing when its lines are set, and the
// edit field keeps its text; Enter adds nothing to the list.
#include <QComboBox>
#include <QPaintEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/geometry_bounds.h"
#include "components/widgets/item_lines.h"

namespace vell {

namespace {

// The style paints a combo box through a picture of the rectangle it is
// given; a very large one is painted as the piece around what is shown.
class ProgramComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent* event) override {
    const QRect piece = PaintedPiece(rect(), event->rect());
    if (piece == rect()) {
      QComboBox::paintEvent(event);
      return;
    }
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.rect = piece;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
  }
};

QObject* CreateComboBox(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new ProgramComboBox(defaultParent);
  control->setEditable(true);
  control->setInsertPolicy(QComboBox::NoInsert);
  control->resize(145, control->sizeHint().height());
  ShowNewControl(control);
  return control;
}

QComboBox* ComboOf(MemberCall& call) { return static_cast<QComboBox*>(call.object); }

int SetItems(MemberCall& call) {
  QComboBox* combo = ComboOf(call);
  const QString text = combo->currentText();
  const QStringList lines = LinesOfText(call.TextArg());
  const QSignalBlocker block(combo);
  combo->clear();
  combo->addItems(lines);
  combo->setCurrentIndex(-1);
  combo->setEditText(text);
  return 1;
}

bool GetItems(MemberCall& call) {
  QComboBox* combo = ComboOf(call);
  QStringList lines;
  lines.reserve(combo->count());
  for (int i = 0; i < combo->count(); ++i) lines.append(combo->itemText(i));
  call.result = MemberCall::Text(TextOfLines(lines));
  return true;
}

// An index outside the list selects nothing and empties the edit field.
int SetItemIndex(MemberCall& call) {
  QComboBox* combo = ComboOf(call);
  const int index = call.IntArg();
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
  return 1;
}

bool GetItemIndex(MemberCall& call) {
  call.result = vellvar(ComboOf(call)->currentIndex());
  return true;
}

int SetText(MemberCall& call) {
  ComboOf(call)->setEditText(call.TextArg());
  return 1;
}

bool GetText(MemberCall& call) {
  call.result = MemberCall::Text(ComboOf(call)->currentText());
  return true;
}

constexpr MemberBinding kComboBoxMembers[] = {
    {MemberItems, SetItems, GetItems},
    {MemberItemIndex, SetItemIndex, GetItemIndex},
    {MemberText, SetText, GetText},
};

}  // namespace

const ComponentType& ComboBoxType() {
  static const ComponentType type{TypeComboBox,
                                  CreateComboBox,
                                  DeleteRule::Control,
                                  nullptr,
                                  {kComboBoxMembers, CommonMembers()}};
  return type;
}

}  // namespace vell

#include "components/widgets/simple_controls.h"

#include <QAbstractButton>
#include <QWidget>

namespace vell::widgets {

void SetButtonChecked(QAbstractButton& button, bool checked) {
  if (button.isChecked() == checked) return;
  const bool exclusive = button.autoExclusive();
  if (!checked && exclusive) button.setAutoExclusive(false);
  button.setChecked(checked);
  if (!checked && exclusive) button.setAutoExclusive(true);
}

void UncheckOthersWhenChecked(QAbstractButton& radio) {
  QObject::connect(&radio, &QAbstractButton::toggled, &radio, [&radio](bool checked) {
    QWidget* parent = radio.parentWidget();
    if (!checked || parent == nullptr) return;
    for (QAbstractButton* other :
         parent->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
      if (other != &radio && other->autoExclusive()) SetButtonChecked(*other, false);
    }
  });
}

}  // namespace vell::widgets

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

void ApplyZOrder(QWidget& control, int order, bool windowless) {
  if (order == 1) {
    control.raise();
  } else if (order == 0 && !windowless) {
    control.lower();
  }
}

}  // namespace vell::widgets

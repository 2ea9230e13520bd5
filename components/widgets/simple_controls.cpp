#include "components/widgets/simple_controls.h"

#include <QAbstractButton>

namespace vell::widgets {

void SetButtonChecked(QAbstractButton& button, bool checked) {
  if (button.isChecked() == checked) return;
  const bool exclusive = button.autoExclusive();
  if (!checked && exclusive) button.setAutoExclusive(false);
  button.setChecked(checked);
  if (!checked && exclusive) button.setAutoExclusive(true);
}

}  // namespace vell::widgets

// The LABEL members beyond the members every control shares (set and get
// as for the text box: false for a member that is not its own).
#pragma once

#include <QLabel>
#include <cstdint>

namespace vell {
class vellvar;
}

namespace vell::widgets {

// "Label" as plain text, sized to it.
void SetUpNewLabel(QLabel& label);

// The label of a LABEL component: it takes the size of its caption when the
// caption (SetLabelMember) or its font changes; WIDTH and HEIGHT set in
// between stay as set.
class ProgramLabel : public QLabel {
 public:
  explicit ProgramLabel(QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;
};

bool SetLabelMember(QLabel& label, int32_t member, const vellvar& arg);
bool GetLabelMember(QLabel& label, int32_t member, vellvar& result);

}  // namespace vell::widgets

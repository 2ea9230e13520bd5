// The warnings shown through the dialog seam (as the component table shows
// a failing member's message), kept while it lives instead of shown.
#pragma once

#include <QString>
#include <vector>

#include "platform/qt/dialogs.h"

namespace vell::test {

class KeptWarnings : public qt::DialogSeam {
 public:
  KeptWarnings() : previous_(qt::SetDialogs(this)) {}
  ~KeptWarnings() override { qt::SetDialogs(previous_); }
  KeptWarnings(const KeptWarnings&) = delete;
  KeptWarnings& operator=(const KeptWarnings&) = delete;
  void ShowWarning(QWidget*, const QString&, const QString& text) override {
    texts.push_back(text);
  }

  std::vector<QString> texts;

 private:
  qt::DialogSeam* previous_;
};

}  // namespace vell::test

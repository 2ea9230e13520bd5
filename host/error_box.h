// The window's error box: a warning over the main window, shown once the
// output held back has been written out. The request dispatcher reports
// through it what went wrong in a request or a service, and the window its
// own errors (a file that cannot be read, a failed registration).
#pragma once

#include <QString>
#include <string_view>

#include "library/service_router.h"

class OutputArea;
class QWidget;

class ErrorBox final : public vell::ServiceErrorSink {
 public:
  ErrorBox(QWidget& window, OutputArea& output, const QString& caption)
      : window_(window), output_(output), caption_(caption) {}

  void Show(const QString& text);
  // vell::ServiceErrorSink.
  void ShowServiceError(std::u16string_view message) override;

 private:
  QWidget& window_;
  OutputArea& output_;
  QString caption_;
};

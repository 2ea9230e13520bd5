// RUN's process starter inside the window: programs start as anywhere else,
// documents, folders and URLs go to the desktop's opener.
#pragma once

#include "platform/process_start.h"

namespace vell::qt {

class DesktopProcessStarter final : public process::PosixProcessStarter {
 public:
  // Through the dialog seam's OpenUrl (QDesktopServices), without waiting.
  bool OpenDocument(const process::RunTarget& target) override;
};

}  // namespace vell::qt

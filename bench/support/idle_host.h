// A host for benchmarks run without the window: every request and shell call
// is accepted and does nothing.
#pragma once

#include <string_view>

#include "core/host_request.h"

namespace vell::bench {

class IdleHost : public HostRequestHandler, public HostShell {
 public:
  void HandleHostRequest(Interpreter&) override {}
  void PostCloseMainWindow() override {}
  void ShowWarning(std::u16string_view) override {}
  void ReleaseProgramComponents() override {}
};

}  // namespace vell::bench

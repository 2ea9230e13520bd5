// The host of a program run without a window: output requests are written
// as the window would show them (UTF-8), a message is written as "[MSG]" and
// its text and is answered No, an INPUT prompt goes to the prompt stream and
// its answer is one line of the input stream; at the end of the input an
// INPUT ends the program as the dialog's Abort does. An answer longer than
// any text a value holds, or one that exhausts the memory, is reported as the
// window reports a failed allocation and ends the program.
#pragma once

#include <atomic>
#include <cstdio>
#include <string_view>

#include "core/interpreter.h"
#include "library/service_router.h"

namespace vell::console {

class ConsoleHost : public HostRequestHandler, public HostShell, public ServiceErrorSink {
 public:
  // Pump requests do nothing here, so none is sent (a host that counts them
  // opens the gate again by setting pumpGate to null).
  ConsoleHost(std::FILE* out, std::FILE* prompts, std::FILE* in)
      : out_(out), prompts_(prompts), in_(in) {
    pumpGate = &kNeverPump;
  }

  void HandleHostRequest(Interpreter& interp) override;
  void PostCloseMainWindow() override {}
  void ShowWarning(std::u16string_view text) override;
  void ReleaseProgramComponents() override {}
  void ShowServiceError(std::u16string_view message) override;

 private:
  void AnswerInput(Interpreter& interp);

  static const std::atomic<int> kNeverPump;

  std::FILE* out_;
  std::FILE* prompts_;
  std::FILE* in_;
};

}  // namespace vell::console

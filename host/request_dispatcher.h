// The receiving side of the interpreter's host requests: reads the request
// slots and hands each kind to the part of the window that owns it.
#pragma once

#include "core/interpreter.h"

class OutputArea;
class QAction;
class ProgramDialogs;
class WindowLayout;

namespace vell {
class ServiceErrorSink;
}

class RequestDispatcher final : public vell::HostRequestHandler {
 public:
  RequestDispatcher(OutputArea& output, ProgramDialogs& dialogs, WindowLayout& layout,
                    vell::ServiceErrorSink& errors, QAction& runCommand)
      : output_(output), dialogs_(dialogs), layout_(layout), errors_(errors), runCommand_(runCommand) {}

  void HandleHostRequest(vell::Interpreter& interp) override;

  // Processes the window's events, at most every kPumpIntervalMs while pump
  // and print requests follow each other; force: now in any case.
  void Pump(bool force);
  // A run starts: its first pump is real.
  void StartRun() { lastKind_ = 0; }

  // The component table installs itself here; it receives the component
  // requests (held-back output is written first). Without it the requests
  // go straight to the interpreter's component bridge.
  vell::HostRequestHandler* componentTable = nullptr;

  // Real message processing happens at most this often during a run of pump
  // requests (milliseconds).
  static constexpr int kPumpIntervalMs = 4;

 private:
  void WindowRequest(vell::Interpreter& interp);
  void ComponentRequest(vell::Interpreter& interp);

  OutputArea& output_;
  ProgramDialogs& dialogs_;
  WindowLayout& layout_;
  vell::ServiceErrorSink& errors_;
  QAction& runCommand_;  // enabled again when a run has ended
  int lastKind_ = 0;
  // When events were last processed (coarse milliseconds; -1: never).
  long long lastPumpMs_ = -1;
};

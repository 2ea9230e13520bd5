// The receiving side of the interpreter's host requests: reads the request
// slots and hands each kind to the part of the window that owns it.
#pragma once

#include "core/interpreter.h"
#include "host/pump_clock.h"

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
      : output_(output), dialogs_(dialogs), layout_(layout), errors_(errors), runCommand_(runCommand) {
    pumpGate = &pumpClock_.Gate();
  }

  void HandleHostRequest(vell::Interpreter& interp) override;

  // Processes the window's events, at most every kPumpIntervalMs while pump
  // and print requests follow each other; force: now in any case. However
  // slow the statements, a pump after the interval is real.
  void Pump(bool force) {
    if (!force && PumpWaits()) return;
    RealPump();
  }
  // A run starts: its first pump is real.
  void StartRun() { pumpClock_.MarkDue(); }

  // The component table installs itself here; it receives the component
  // requests (held-back output is written first). Without it they are
  // ignored.
  vell::HostRequestHandler* componentTable = nullptr;

  // Real message processing happens at most this often during a run of pump
  // requests (milliseconds).
  static constexpr int kPumpIntervalMs = 4;

 private:
  // Processing events costs several times a simple statement, so a stream
  // of pump requests processes them only once per interval; after any other
  // request but output the next pump is real. Pump requests that would wait
  // are not even sent (the clock's flag is the interpreter's pump gate).
  bool PumpWaits() const { return !pumpClock_.Due(); }
  void RealPump();
  void Dispatch(vell::Interpreter& interp, vell::vellarray* request, int kind);
  void WindowRequest(vell::Interpreter& interp);

  OutputArea& output_;
  ProgramDialogs& dialogs_;
  WindowLayout& layout_;
  vell::ServiceErrorSink& errors_;
  QAction& runCommand_;  // enabled again when a run has ended
  PumpClock pumpClock_{std::chrono::milliseconds(kPumpIntervalMs)};
  // The request slots of the interpreter that sent the last request.
  vell::Interpreter* slotsOwner_ = nullptr;
  vell::vellarray* slots_ = nullptr;
};

// How the interpreter reaches the window it runs in: a request kind and its
// arguments go into the request slots, the host performs the request through
// a direct synchronous call, and any answer comes back in the same slots.
#pragma once

#include <atomic>
#include <string_view>

#include "core/codes.h"
#include "core/vellvar.h"

namespace vell {

struct Interpreter;

// The main window implements this; the core's tests use a recording fake.
// HandleHostRequest reads the kind from slot 0 of interp.requestSlots and
// performs it before returning. It must not let an exception escape.
class HostRequestHandler {
 public:
  virtual ~HostRequestHandler() = default;
  virtual void HandleHostRequest(Interpreter& interp) = 0;

  // A host that does nothing for most pump requests may point this at a
  // flag that is 0 while it would do nothing; the interpreter then leaves
  // those pump requests out. Null: every pump request is sent.
  const std::atomic<int>* pumpGate = nullptr;
};

// What the core does to the GUI outside the request protocol.
class HostShell {
 public:
  virtual ~HostShell() = default;
  // After EXIT inside an event text: close the main window once the event
  // handler has returned (a queued close).
  virtual void PostCloseMainWindow() = 0;
  // A warning box captioned "Vell": "cannot allocate memory " or "cannot load Vell ".
  virtual void ShowWarning(std::u16string_view text) = 0;
  // NEW: show the output area, then release every program-created component.
  virtual void ReleaseProgramComponents() = 0;
  // The interpreter's creation: makes the printer set-up dialog and the
  // scratch image that components use and frees every program slot of the
  // component table. False when the two objects could not be made.
  virtual bool StartComponents() { return true; }
  // The interpreter's end: releases every program-created component, then
  // deletes the printer set-up dialog and the scratch image.
  virtual void EndComponents() {}
};

// Sends the request whose kind is in slot 0. Always returns ResultDone.
int SendHostRequest(Interpreter& interp);

// The typed requests: each writes the slots its kind reads, sends it and
// reads the answer. Only these and the host's dispatcher know the slots'
// positions.

// RequestPrint with the value.
void PrintText(Interpreter& interp, const vellvar& value);
// RequestMessage with the text (any value, shown as text): 1 when the
// answer was Yes, else 0.
int AskMessage(Interpreter& interp, const vellvar& text);
// RequestInput with the prompt: the text typed.
vellvar AskInput(Interpreter& interp, const vellvar& prompt);
// RequestRunEnded.
void SendRunEnded(Interpreter& interp);
// RequestService with the service number and up to three arguments: the
// answer (a service that failed leaves its own number).
vellvar& SendService(Interpreter& interp, int32_t service, const vellvar* args, int count);
// RequestWindow with the operation and its arguments (up to two).
void SendWindowRequest(Interpreter& interp, WindowOperation operation, const vellvar* args,
                       int count);
// RequestComponent: ComponentSet of MemberPrint with the value, to the
// component in the given slot of the component table.
void SendComponentPrint(Interpreter& interp, int slot, const vellvar& value);
// RequestComponent: the operation on the member of the component in the
// given slot, with up to three arguments (the other argument slots keep what
// they held): the answer.
vellvar& SendComponentRequest(Interpreter& interp, ComponentOperation operation, int slot,
                              int32_t member, const vellvar* args, int count);

}  // namespace vell

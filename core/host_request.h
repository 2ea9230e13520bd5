// How the interpreter reaches the window it runs in: a request kind and its
// arguments go into the request slots, the host performs the request through
// a direct synchronous call, and any answer comes back in the same slots.
#pragma once

#include <string_view>

#include "codes.h"
#include "vellvar.h"

struct Interpreter;

// The main window implements this; the core's tests use a recording fake.
// HandleHostRequest reads the kind from slot 0 of interp.requestSlots and
// performs it before returning. It must not let an exception escape.
class HostRequestHandler {
 public:
  virtual ~HostRequestHandler() = default;
  virtual void HandleHostRequest(Interpreter& interp) = 0;
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
};

// Sends the request whose kind is in slot 0. Always returns 34.
int SendHostRequest(Interpreter& interp);
// Request kind 1 with the value; the value is taken over.
int PrintText(Interpreter& interp, vellvar value);

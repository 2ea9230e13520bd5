// The component table as the main window sees it: it receives the component
// requests, releases every program-created component (Clear output, NEW),
// installs the predefined components with their start-up header, makes and
// deletes what components need beside the interpreter, and finishes the
// deletions that a run left pending.
#pragma once

#include "core/interpreter.h"

class ComponentTableHooks : public vell::HostRequestHandler {
 public:
  virtual void DestroyAllComponents() = 0;
  // Runs the start-up header; the window holds the interpreter busy meanwhile.
  virtual void InstallDefaults(vell::Interpreter& interp) = 0;
  virtual bool StartComponents() = 0;
  virtual void EndComponents() = 0;
  virtual void RunEnded() = 0;
};

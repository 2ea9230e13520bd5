#include "core/host_request.h"

#include <utility>

#include "core/interpreter.h"

int SendHostRequest(Interpreter& interp) {
  if (interp.mainWindow != nullptr) interp.mainWindow->HandleHostRequest(interp);
  return ResultDone;
}

int PrintText(Interpreter& interp, vellvar value) {
  interp.requestSlots[0].SetItem(vellvar(static_cast<int>(RequestPrint)));
  interp.requestSlots[1].SetItem(value);
  SendHostRequest(interp);
  return 0;
}

#include "core/host_request.h"

#include "core/interpreter_state.h"

namespace vell {

int SendHostRequest(Interpreter& interp) {
  if (interp.mainWindow != nullptr) interp.mainWindow->HandleHostRequest(interp);
  return ResultDone;
}

namespace {

void SetKind(Interpreter& interp, HostRequestKind kind) {
  interp.requestSlots[0].SetItem(vellvar(static_cast<int>(kind)));
}

}  // namespace

void PrintText(Interpreter& interp, const vellvar& value) {
  SetKind(interp, RequestPrint);
  interp.requestSlots[1].SetItem(value);
  SendHostRequest(interp);
}

int AskMessage(Interpreter& interp, const vellvar& text) {
  SetKind(interp, RequestMessage);
  interp.requestSlots[1].SetItem(text);
  SendHostRequest(interp);
  return interp.requestSlots[0].ItemInt();
}

vellvar AskInput(Interpreter& interp, const vellvar& prompt) {
  SetKind(interp, RequestInput);
  interp.requestSlots[1].SetItem(prompt);
  SendHostRequest(interp);
  return vellvar(interp.requestSlots[0].ItemWideText());
}

void SendRunEnded(Interpreter& interp) {
  SetKind(interp, RequestRunEnded);
  SendHostRequest(interp);
}

vellvar& SendService(Interpreter& interp, int32_t service, const vellvar* args, int count) {
  SetKind(interp, RequestService);
  interp.requestSlots[1].SetItem(vellvar(static_cast<int>(service)));
  for (int i = 0; i < count; ++i) interp.requestSlots[2 + i].SetItem(args[i]);
  SendHostRequest(interp);
  return interp.requestSlots[1].item;
}

void SendWindowRequest(Interpreter& interp, WindowOperation operation, const vellvar* args,
                       int count) {
  SetKind(interp, RequestWindow);
  interp.requestSlots[1].SetItem(vellvar(static_cast<int>(operation)));
  for (int i = 0; i < count; ++i) interp.requestSlots[2 + i].SetItem(args[i]);
  SendHostRequest(interp);
}

void SendComponentPrint(Interpreter& interp, int slot, const vellvar& value) {
  SendComponentRequest(interp, ComponentSet, slot, MemberPrint, &value, 1);
}

vellvar& SendComponentRequest(Interpreter& interp, ComponentOperation operation, int slot,
                              int32_t member, const vellvar* args, int count) {
  SetKind(interp, RequestComponent);
  interp.requestSlots[1].SetItem(vellvar(static_cast<int>(operation)));
  interp.requestSlots[2].SetItem(vellvar(slot));
  interp.requestSlots[3].SetItem(vellvar(static_cast<int>(member)));
  for (int i = 0; i < count; ++i) interp.requestSlots[4 + i].SetItem(args[i]);
  SendHostRequest(interp);
  return interp.requestSlots[1].item;
}

}  // namespace vell

// The list functions: each hands its arguments to the string-list service
// and returns what the service leaves in slot 1.
#include "core/interpreter_state.h"
#include "library/builtin_support.h"
#include "library/list_file_builtins.h"
#include "library/services.h"

namespace vell {
namespace {

template <int N, int Service>
int ListFunction(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<N> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  SendServiceRequest(interp, ctx, Service, args.data(), N);
  return ResultDone;
}

}  // namespace

int FnCountList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<1, ServiceCountList>(interp, ctx);
}
int FnGetList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<2, ServiceGetList>(interp, ctx);
}
int FnSetList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<3, ServiceSetList>(interp, ctx);
}
int FnAddList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<2, ServiceAddList>(interp, ctx);
}
int FnInsertList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<3, ServiceInsertList>(interp, ctx);
}
int FnExchangeList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<3, ServiceExchangeList>(interp, ctx);
}
int FnDeleteList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<2, ServiceDeleteList>(interp, ctx);
}
int FnSortList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<1, ServiceSortList>(interp, ctx);
}
int FnFindList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<2, ServiceFindList>(interp, ctx);
}
int FnGetKeyList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<2, ServiceGetKeyList>(interp, ctx);
}
int FnSetKeyList(Interpreter& interp, ExecContext& ctx) {
  return ListFunction<3, ServiceSetKeyList>(interp, ctx);
}

void RegisterListFunctions(Interpreter& interp) {
  RegisterBuiltin(interp, u"COUNTLIST", FnCountList);
  RegisterBuiltin(interp, u"GETLIST", FnGetList);
  RegisterBuiltin(interp, u"SETLIST", FnSetList);
  RegisterBuiltin(interp, u"ADDLIST", FnAddList);
  RegisterBuiltin(interp, u"INSERTLIST", FnInsertList);
  RegisterBuiltin(interp, u"EXCHANGELIST", FnExchangeList);
  RegisterBuiltin(interp, u"DELETELIST", FnDeleteList);
  RegisterBuiltin(interp, u"SORTLIST", FnSortList);
  RegisterBuiltin(interp, u"FINDLIST", FnFindList);
  RegisterBuiltin(interp, u"GETKEYLIST", FnGetKeyList);
  RegisterBuiltin(interp, u"SETKEYLIST", FnSetKeyList);
}

}  // namespace vell

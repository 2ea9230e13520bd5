// The list functions: each hands its arguments to the string-list service
// and returns what the service leaves in slot 1.
#include "core/interpreter.h"
#include "library/builtin_support.h"
#include "library/list_file_builtins.h"
#include "library/services.h"

namespace vell {

void RegisterListFunctions(Interpreter& interp) {
  RegisterBuiltin(interp, u"COUNTLIST", ServiceKeyword<ServiceCountList, 1>);
  RegisterBuiltin(interp, u"GETLIST", ServiceKeyword<ServiceGetList, 2>);
  RegisterBuiltin(interp, u"SETLIST", ServiceKeyword<ServiceSetList, 3>);
  RegisterBuiltin(interp, u"ADDLIST", ServiceKeyword<ServiceAddList, 2>);
  RegisterBuiltin(interp, u"INSERTLIST", ServiceKeyword<ServiceInsertList, 3>);
  RegisterBuiltin(interp, u"EXCHANGELIST", ServiceKeyword<ServiceExchangeList, 3>);
  RegisterBuiltin(interp, u"DELETELIST", ServiceKeyword<ServiceDeleteList, 2>);
  RegisterBuiltin(interp, u"SORTLIST", ServiceKeyword<ServiceSortList, 1>);
  RegisterBuiltin(interp, u"FINDLIST", ServiceKeyword<ServiceFindList, 2>);
  RegisterBuiltin(interp, u"GETKEYLIST", ServiceKeyword<ServiceGetKeyList, 2>);
  RegisterBuiltin(interp, u"SETKEYLIST", ServiceKeyword<ServiceSetKeyList, 3>);
}

}  // namespace vell

// The database keywords: each sends its arguments to the database service
// (request kind 5) and answers what the service leaves in slot 1.
#include "core/interpreter.h"
#include "library/builtin_support.h"
#include "library/list_file_builtins.h"
#include "library/services.h"

namespace vell {
namespace {

// Reads exactly Count arguments and asks for the service with them.
template <int Service, int Count>
int DatabaseKeyword(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<Count> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  SendServiceRequest(interp, ctx, Service, args.data(), Count);
  return ResultDone;
}

// COMMANDDB keeps room for a third value but reads two at most, so a third
// argument is the parser's syntax error and one argument a wrong count.
int FnCommandDb(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<3> args;
  if (!ReadExactArguments(interp, ctx, args.data(), 2)) return ResultFailed;
  SendServiceRequest(interp, ctx, ServiceCommandDb, args.data(), 2);
  return ResultDone;
}

}  // namespace

void RegisterDatabaseKeywords(Interpreter& interp) {
  RegisterBuiltin(interp, u"OPENDB", DatabaseKeyword<ServiceOpenDb, 1>);
  RegisterBuiltin(interp, u"CLOSEDB", DatabaseKeyword<ServiceCloseDb, 1>);
  RegisterBuiltin(interp, u"OPENRECORDSET", DatabaseKeyword<ServiceOpenRecordset, 2>);
  RegisterBuiltin(interp, u"CLOSERECORDSET", DatabaseKeyword<ServiceCloseRecordset, 1>);
  RegisterBuiltin(interp, u"GETRECORDCOUNT", DatabaseKeyword<ServiceGetRecordCount, 1>);
  RegisterBuiltin(interp, u"GETRECORDEOF", DatabaseKeyword<ServiceGetRecordEof, 1>);
  RegisterBuiltin(interp, u"GETRECORDBOF", DatabaseKeyword<ServiceGetRecordBof, 1>);
  RegisterBuiltin(interp, u"FIRSTRECORD", DatabaseKeyword<ServiceFirstRecord, 1>);
  RegisterBuiltin(interp, u"LASTRECORD", DatabaseKeyword<ServiceLastRecord, 1>);
  RegisterBuiltin(interp, u"NEXTRECORD", DatabaseKeyword<ServiceNextRecord, 1>);
  RegisterBuiltin(interp, u"PRIORRECORD", DatabaseKeyword<ServicePriorRecord, 1>);
  RegisterBuiltin(interp, u"GETRECORDNO", DatabaseKeyword<ServiceGetRecordNo, 1>);
  RegisterBuiltin(interp, u"SETRECORDNO", DatabaseKeyword<ServiceSetRecordNo, 2>);
  RegisterBuiltin(interp, u"APPENDRECORD", DatabaseKeyword<ServiceAppendRecord, 1>);
  RegisterBuiltin(interp, u"EDITRECORD", DatabaseKeyword<ServiceEditRecord, 1>);
  RegisterBuiltin(interp, u"POSTRECORD", DatabaseKeyword<ServicePostRecord, 1>);
  RegisterBuiltin(interp, u"DELETERECORD", DatabaseKeyword<ServiceDeleteRecord, 1>);
  RegisterBuiltin(interp, u"GETFIELDCOUNT", DatabaseKeyword<ServiceGetFieldCount, 1>);
  RegisterBuiltin(interp, u"GETFIELDDATA", DatabaseKeyword<ServiceGetFieldData, 2>);
  RegisterBuiltin(interp, u"SETFIELDDATA", DatabaseKeyword<ServiceSetFieldData, 3>);
  RegisterBuiltin(interp, u"COMMANDDB", FnCommandDb);
}

}  // namespace vell

// The database keywords: each sends its arguments to the database service
// (RequestService) and answers what the service leaves in slot 1.
#include "core/interpreter.h"
#include "library/builtin_support.h"
#include "library/list_file_builtins.h"
#include "library/services.h"

namespace vell {
namespace {

// COMMANDDB keeps room for a third value but reads two at most, so a third
// argument is the parser's syntax error and one argument a wrong count.
HandlerResult FnCommandDb(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<3> args;
  if (!ReadExactArguments(interp, ctx, args.data(), 2)) return ResultFailed;
  SendServiceRequest(interp, ctx, ServiceCommandDb, args.data(), 2);
  return ResultDone;
}

}  // namespace

void RegisterDatabaseKeywords(Interpreter& interp) {
  RegisterBuiltin(interp, u"OPENDB", ServiceKeyword<ServiceOpenDb, 1>);
  RegisterBuiltin(interp, u"CLOSEDB", ServiceKeyword<ServiceCloseDb, 1>);
  RegisterBuiltin(interp, u"OPENRECORDSET", ServiceKeyword<ServiceOpenRecordset, 2>);
  RegisterBuiltin(interp, u"CLOSERECORDSET", ServiceKeyword<ServiceCloseRecordset, 1>);
  RegisterBuiltin(interp, u"GETRECORDCOUNT", ServiceKeyword<ServiceGetRecordCount, 1>);
  RegisterBuiltin(interp, u"GETRECORDEOF", ServiceKeyword<ServiceGetRecordEof, 1>);
  RegisterBuiltin(interp, u"GETRECORDBOF", ServiceKeyword<ServiceGetRecordBof, 1>);
  RegisterBuiltin(interp, u"FIRSTRECORD", ServiceKeyword<ServiceFirstRecord, 1>);
  RegisterBuiltin(interp, u"LASTRECORD", ServiceKeyword<ServiceLastRecord, 1>);
  RegisterBuiltin(interp, u"NEXTRECORD", ServiceKeyword<ServiceNextRecord, 1>);
  RegisterBuiltin(interp, u"PRIORRECORD", ServiceKeyword<ServicePriorRecord, 1>);
  RegisterBuiltin(interp, u"GETRECORDNO", ServiceKeyword<ServiceGetRecordNo, 1>);
  RegisterBuiltin(interp, u"SETRECORDNO", ServiceKeyword<ServiceSetRecordNo, 2>);
  RegisterBuiltin(interp, u"APPENDRECORD", ServiceKeyword<ServiceAppendRecord, 1>);
  RegisterBuiltin(interp, u"EDITRECORD", ServiceKeyword<ServiceEditRecord, 1>);
  RegisterBuiltin(interp, u"POSTRECORD", ServiceKeyword<ServicePostRecord, 1>);
  RegisterBuiltin(interp, u"DELETERECORD", ServiceKeyword<ServiceDeleteRecord, 1>);
  RegisterBuiltin(interp, u"GETFIELDCOUNT", ServiceKeyword<ServiceGetFieldCount, 1>);
  RegisterBuiltin(interp, u"GETFIELDDATA", ServiceKeyword<ServiceGetFieldData, 2>);
  RegisterBuiltin(interp, u"SETFIELDDATA", ServiceKeyword<ServiceSetFieldData, 3>);
  RegisterBuiltin(interp, u"COMMANDDB", FnCommandDb);
}

}  // namespace vell

// The numbered services behind request kind 5, and the interpreter side that
// asks for them.
#pragma once

#include <cstdint>

#include "core/exec_context.h"
#include "core/vellvar.h"

struct Interpreter;

namespace vell {

// Service numbers.
enum ServiceNumber : int32_t {
  ServiceCountList = 1001,
  ServiceGetList = 1002,
  ServiceSetList = 1003,
  ServiceAddList = 1004,
  ServiceInsertList = 1005,
  ServiceExchangeList = 1006,
  ServiceDeleteList = 1007,
  ServiceSortList = 1008,
  ServiceFindList = 1009,
  ServiceGetKeyList = 1010,
  ServiceSetKeyList = 1011,
  ServiceReadFile = 2001,
  ServiceWriteFile = 2002,
  ServiceWriteAnsiFile = 2003,
  ServiceCountFileLines = 2004,
  ServiceReadFileLine = 2005,
  ServiceReadFileValue = 2006,
  ServiceWriteFileValue = 2007,
};

// Each works on the request slots only and stores its result into slot 1 as
// its last step; a failure throws ServiceError before anything is stored.
void StringListService(Interpreter& interp, int32_t service);
void TextFileService(Interpreter& interp, int32_t service);

// The interpreter side: slot 0 := 5, slot 1 := the service number, slots 2
// onward := the arguments (copied with their kinds); sends the request and
// leaves a copy of slot 1 in ctx.value.
void SendServiceRequest(Interpreter& interp, ExecContext& ctx, int32_t service, const vellvar* args,
                        int count);

}  // namespace vell

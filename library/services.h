// The numbered services behind RequestService, and the interpreter side that
// asks for them.
#pragma once

#include <cstdint>

#include "core/codes.h"
#include "core/exec_context.h"
#include "core/vellvar.h"
#include "library/builtin_support.h"

namespace vell {

struct Interpreter;

// Each works on the request slots only and stores its result into slot 1 as
// its last step; a failure throws ServiceError before anything is stored.
void StringListService(Interpreter& interp, int32_t service);
void TextFileService(Interpreter& interp, int32_t service);
void DatabaseService(Interpreter& interp, int32_t service);

// The interpreter side: slot 0 := 5, slot 1 := the service number, slots 2
// onward := the arguments (copied with their kinds); sends the request and
// leaves a copy of slot 1 in ctx.value.
void SendServiceRequest(Interpreter& interp, ExecContext& ctx, int32_t service, const vellvar* args,
                        int count);

// A keyword that reads exactly Count arguments and asks for Service with them.
template <int32_t Service, int Count>
HandlerResult ServiceKeyword(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<Count> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  SendServiceRequest(interp, ctx, Service, args.data(), Count);
  return ResultDone;
}

}  // namespace vell

// Every token of any text, and the passing-over operations on it.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/exec_context.h"
#include "core/interpreter_state.h"
#include "core/lexer.h"
#include "tests/fuzz/fuzz_input.h"

using namespace vell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Interpreter* interp = new Interpreter();
  if (size == 0) return 0;
  const uint8_t mode = data[0] % 4;
  ExecContext ctx;
  ctx.source = MakeSharedText(FuzzBytesToText(data + 1, size - 1));
  ctx.text = ctx.source->chars.c_str();
  const int32_t length = static_cast<int32_t>(ctx.source->chars.size());
  // Each step either moves the cursor forward or ends the loop; the bound
  // only guards the fuzzer against a lexer that stops moving.
  for (int steps = 0; steps <= length + 2; ++steps) {
    SetRunState(*interp, StateRunning);
    const int32_t before = ctx.cursor;
    int t = 0;
    switch (mode) {
      case 0: t = GetToken(*interp, ctx); break;
      case 1: t = NextToken(*interp, ctx); break;
      case 2: t = SkipStatement(*interp, ctx); break;
      default: t = ScanToToken(*interp, ctx, steps % 2 ? TokComma : TokBlockOpen); break;
    }
    if (ctx.cursor < 0 || ctx.cursor > length) __builtin_trap();
    if (ctx.tokenLength < 0 || ctx.tokenLength >= kTokenCapacity) __builtin_trap();
    if (t == TokEnd) break;
    if (t == TokError || (t == 1 && ctx.cursor == before)) {
      // The lexer stays on a character that begins no token: step past it.
      if (ctx.cursor >= length) break;
      ctx.cursor++;
      continue;
    }
    if (ctx.cursor == before && t != 1) __builtin_trap();  // no progress
    if (steps % 7 == 3) {
      UngetToken(ctx);
      if (ctx.cursor != ctx.tokenStart) __builtin_trap();
      GetToken(*interp, ctx);
    }
    if (steps % 11 == 5) SkipLine(ctx);
  }
  return 0;
}

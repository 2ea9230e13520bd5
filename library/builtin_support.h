// Helpers shared by the built-in keyword handlers of the library.
//
// A handler makes its argument slots (each an integer 0, or 1 for a slot that
// takes a reference text), reads the arguments with one of the readers below
// and answers ResultFailed at once when the reader says no:
//   - after an argument that failed, the run state holds that failure's code;
//   - after a wrong count, the run state is left alone, so the run reports
//     the "system error" message.
// A failure of its own it answers with Fail (core/interpreter.h), which sets
// the run state. Otherwise it does its work, leaves its result in ctx.value
// and answers ResultDone.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/exec_context.h"
#include "core/interpreter.h"
#include "core/vellvar.h"

namespace vell {

// The argument slots of one call, every slot an integer 0 to start with.
template <int N>
struct ArgumentSlots {
  static_assert(N > 0);
  vellvar slot[N];

  vellvar& operator[](int i) { return slot[i]; }
  vellvar* data() { return slot; }
  static constexpr int size() { return N; }
};

// Reads up to maxCount arguments into slots (presets as given). Returns the
// count read, or -1 when an argument failed (its code is in the run state).
int ReadArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int maxCount);

// True when exactly `count` arguments were read.
bool ReadExactArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int count);

template <int N>
bool ReadExactArguments(Interpreter& interp, ExecContext& ctx, ArgumentSlots<N>& slots) {
  return ReadExactArguments(interp, ctx, slots.data(), N);
}

// True when between minCount and maxCount arguments were read; the count is
// stored in *count.
bool ReadArgumentRange(Interpreter& interp, ExecContext& ctx, vellvar* slots, int minCount,
                       int maxCount, int* count);

// The whole numbers of a real as the values layer converts them: truncated
// toward zero to 64 bits, with 0 for NaN, infinities and reals beyond the
// 64-bit range.
int64_t TruncateToInt64(double x);

// A value's text as UTF-16 units, converting the value to wide text in place.
std::u16string_view WideArgument(vellvar& value);

}  // namespace vell

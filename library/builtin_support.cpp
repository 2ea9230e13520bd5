#include "library/builtin_support.h"

#include <cmath>

#include "core/arguments.h"

namespace vell {

int ReadArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int maxCount) {
  return ParseArguments(interp, ctx, slots, maxCount);
}

bool ReadExactArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int count) {
  return ParseArguments(interp, ctx, slots, count) == count;
}

bool ReadArgumentRange(Interpreter& interp, ExecContext& ctx, vellvar* slots, int minCount,
                       int maxCount, int* count) {
  const int n = ParseArguments(interp, ctx, slots, maxCount);
  if (count != nullptr) *count = n;
  return n >= minCount && n <= maxCount;
}

int64_t TruncateToInt64(double x) {
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  constexpr double kLimit = 9223372036854775808.0;
  if (!std::isfinite(x) || x >= kLimit || x < -kLimit) return 0;
  return static_cast<int64_t>(x);
}

std::u16string_view WideArgument(vellvar& value) {
  value.WideText();
  return value.WideView();
}

}  // namespace vell

// The cheap test in front of StackExhausted, for the paths that nest.
#pragma once

#include <cstdint>

#include "core/interpreter.h"

// True (with runState 3 set) when the running texts have used up the stack
// allowed to them. Never true before an outermost run has recorded its stack.
inline bool StackUsedUp(Interpreter& interp) {
  const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (here + interp.stackBudget >= interp.stackBase) return false;
  return StackExhausted(interp);
}

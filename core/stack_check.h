// The cheap test in front of StackExhausted, for the paths that nest.
#pragma once

#include <cstdint>

#include "core/interpreter_state.h"

namespace vell {

// Statements and expressions nested inside one text may go this far beyond
// the budget before they fail, so that a recursion of SUB calls always stops
// where a text starts, reported at the call that started it, rather than at
// whichever statement or operand happened to cross the line first.
constexpr uintptr_t kNestingSlack = 64 * 1024;

// True (with the run state ErrorAreaOverflow set) when the running texts have used up the stack
// allowed to them, plus slack. Never true before an outermost run has
// recorded its stack.
inline bool StackUsedUp(Interpreter& interp, uintptr_t slack) {
  const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (here + interp.stackBudget + slack >= interp.stackBase) return false;
  return StackExhausted(interp);
}

}  // namespace vell

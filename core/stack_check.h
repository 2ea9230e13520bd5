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

// Texts (SUB bodies, CALLed files, event texts, the texts of CALC, CALLSUB
// and INPUT) nest at most this deep: one that would start deeper fails with
// "area overflow", at the same depth however the texts are read (the machine
// stack each text takes differs between the plain path and the remembered
// forms). Well within the stack budget; sanitizer builds take several times
// the stack per text.
#if defined(__SANITIZE_ADDRESS__)
constexpr int32_t kMaxTextNesting = 600;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int32_t kMaxTextNesting = 600;
#else
constexpr int32_t kMaxTextNesting = 1000;
#endif
#else
constexpr int32_t kMaxTextNesting = 1000;
#endif

// True (with the run state ErrorAreaOverflow set) when no further text may start.
inline bool NestingUsedUp(Interpreter& interp) {
  if (interp.runDepth < kMaxTextNesting) return false;
  if (interp.runState == 0) interp.runState = ErrorAreaOverflow;
  return true;
}

// True (with the run state ErrorAreaOverflow set) when the running texts have used up the stack
// allowed to them, plus slack. Never true before an outermost run has
// recorded its stack.
inline bool StackUsedUp(Interpreter& interp, uintptr_t slack) {
  const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (here + interp.stackBudget + slack >= interp.stackBase) return false;
  return StackExhausted(interp);
}

}  // namespace vell

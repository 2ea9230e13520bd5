// The random generator behind RND.
#pragma once

#include <cstdint>

namespace vell {

struct Interpreter;

// One long draw: advances the whole 64-bit generator state and returns the
// new high word with its top bit cleared (0 to 2147483647).
int32_t DrawLongRandom(Interpreter& interp);

// A whole number from 0 to |n| - 1 (0 for n = 0, which draws nothing).
int32_t RandomBelow(Interpreter& interp, int32_t n);

}  // namespace vell

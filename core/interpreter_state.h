// The interpreter's whole state, for the interpreter's own parts and the
// built-ins; hosts use the public face in core/interpreter.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/database_bridge.h"
#include "core/exec_context.h"
#include "core/host_request.h"
#include "core/interpreter.h"
#include "core/vellarray.h"
#include "core/vellvar.h"

namespace vell {

constexpr int kTableNodes = 501;  // the last node of each table is never taken
constexpr int kTableEntries = 500;

// The names of the live locals (below localCount) counted by a small hash
// of the name (names::NameBucket), so that a name no local bears is known
// without looking at them. DIM, the binding of parameters and the popping of
// frames keep the counts; after any other change of names (names::
// NamesChanged) they are counted afresh when next needed.
struct LocalNameCounts {
  static constexpr int kBuckets = 1024;
  static constexpr uint16_t kNone = 0xFFFF;
  LocalNameCounts() {
    for (uint16_t& b : bucketOf) b = kNone;
  }
  uint16_t count[kBuckets] = {};
  uint16_t bucketOf[kTableNodes];  // per local: its name's bucket, or kNone
  uint64_t epoch = 0;              // the names epoch they were counted at
};

struct Interpreter {
  int32_t mode = 0;
  int32_t errorReported = 0;
  int32_t runState = 0;
  vellvar lastValue{0};
  vellarray globals[kTableNodes];
  vellarray locals[kTableNodes];
  int32_t localCount = 0;
  LocalNameCounts localNames;
  HostRequestHandler* mainWindow = nullptr;
  vellarray requestSlots[kRequestSlotCount];
  vellvar routineName{0};
  std::u16string programText;  // NULs inside included
  int32_t subTop = 0;
  int32_t seed = 0;
  int32_t mainRunning = 0;
  vellarray commandLine;
  // Declared after every node they may point at, so they let go first.
  NodeRef thisSource;
  NodeRef lastNode;
  // The node lastNode was reached from, when the last reference ended at a
  // child (#DB lists the children after it).
  NodeRef lastParent;

  // The runtime's random generator: the low word is the state word of the
  // 15-bit draw, the whole 64 bits are the state of RND's long draw.
  uint64_t randomState = 0;

  HostShell* shell = nullptr;
  ComponentBridge* components = nullptr;

  // Built-in names, all dispatchers together. A name registered earlier wins
  // over the same name registered later, as the dispatchers' order gives.
  // Looked up by the token's text without making a string of it.
  struct BuiltinNameHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view name) const noexcept {
      return std::hash<std::u16string_view>{}(name);
    }
  };
  std::unordered_map<std::u16string, BuiltinHandler, BuiltinNameHash, std::equal_to<>> builtins;

  // Stack guard: deeper nesting than this many bytes below stackBase is
  // reported as "area overflow" instead of overflowing the real stack.
  uintptr_t stackBase = 0;
  uintptr_t stackBudget = 0;
  // Number of texts running now (0 when idle).
  int32_t runDepth = 0;

  // The answer and the index values of the innermost INPUT while its
  // generated assignment runs: variables outside both name tables, so that
  // INPUT works with the local stack full (FindVariable finds them first).
  struct HeldNodeRelease {
    void operator()(vellarray* node) const noexcept { ReleaseNode(node); }
  };
  std::vector<std::unique_ptr<vellarray, HeldNodeRelease>> inputValues;

  // The database manager, installed by whoever serves the database requests.
  // Declared last so that it closes the databases first when destroyed.
  std::unique_ptr<DatabaseBridge> database;
};

// The one interpreter of the application; null while none exists.
extern Interpreter* gInterpreter;

// Performs interp->mode (an EntryMode) on an existing interpreter.
int InterpreterMain(Interpreter* interp);

// The random generator.
void SeedRandom(Interpreter& interp, uint32_t seed);
int32_t DrawRandom(Interpreter& interp);  // 0 to 32767

// True when nesting has gone as deep as the stack guard allows; sets the
// run state ErrorAreaOverflow.
bool StackExhausted(Interpreter& interp);

}  // namespace vell

// The interpreter's whole state and its entry operation.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "database_bridge.h"
#include "exec_context.h"
#include "host_request.h"
#include "vellarray.h"
#include "vellvar.h"

constexpr int kTableNodes = 501;  // the last node of each table is never taken
constexpr int kTableEntries = 500;
constexpr int kRequestSlotCount = 10;

// A built-in keyword handler: reads its arguments from the running text,
// leaves its result in ctx.value and returns 34, or 1 on failure.
using BuiltinHandler = int (*)(Interpreter& interp, ExecContext& ctx);

// The component side of member access; installed by the component table.
// Each returns 34 done or 1 failed, with the member's value in ctx.value.
class ComponentBridge {
 public:
  virtual ~ComponentBridge() = default;
  virtual int MemberArgumentCount(int memberCode) = 0;
  virtual int GetComponentMember(Interpreter& interp, ExecContext& ctx, int slot,
                                 int memberCode, vellvar* args) = 0;
  virtual int SetComponentMember(Interpreter& interp, ExecContext& ctx, int slot,
                                 int memberCode, vellvar* args) = 0;
};

struct Interpreter {
  int32_t mode = 0;
  int32_t errorReported = 0;
  int32_t runState = 0;
  vellvar lastValue{0};
  vellarray globals[kTableNodes];
  vellarray locals[kTableNodes];
  int32_t localCount = 0;
  HostRequestHandler* mainWindow = nullptr;
  vellarray requestSlots[kRequestSlotCount];
  vellvar routineName{0};
  vellvar programText{0};
  int32_t subTop = 0;
  int32_t seed = 0;
  int32_t mainRunning = 0;
  vellarray commandLine;
  // Declared after every node they may point at, so they let go first.
  NodeRef thisSource;
  NodeRef lastNode;

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

  // The database manager, installed by whoever serves the database requests.
  // Declared last so that it closes the databases first when destroyed.
  std::unique_ptr<vell::DatabaseBridge> database;
};

// The one interpreter of the application; null while none exists.
extern Interpreter* gInterpreter;

// Mode 1 creates and resets the interpreter (host and shell must be given),
// mode 2 runs programText, mode 3 clears and destroys it. Always 0.
int InterpreterEntry(int mode, HostRequestHandler* host = nullptr, HostShell* shell = nullptr);
int InterpreterMain(Interpreter* interp);
int RunEventText(Interpreter& interp, std::u16string_view text);

// Registers built-in names after those registered before.
void RegisterBuiltin(Interpreter& interp, std::u16string_view name, BuiltinHandler handler);

// The random generator.
void SeedRandom(Interpreter& interp, uint32_t seed);
int32_t DrawRandom(Interpreter& interp);  // 0 to 32767

// True when nesting has gone as deep as the stack guard allows; sets runState 3.
bool StackExhausted(Interpreter& interp);

// Names: lookup in the two name tables, reference walks with indexes and
// members, assignment, and SUB calls with their arguments.
//
// Scope is dynamic: a name is looked up in the locals of every running text,
// innermost first, and then in the globals. The node a reference walk stands
// on is held through a NodeRef while an index or a right side is evaluated,
// so a SUB that rebuilds the tree meanwhile cannot pull it away under us.
#include "core/variables.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "core/arguments.h"
#include "core/execution.h"
#include "core/interpreter_state.h"
#include "core/lexer.h"
#include "core/name_table.h"
#include "core/reference_mode.h"

namespace vell {

namespace {

enum WalkMode { WalkRead, WalkMember, WalkAssign };

inline void SetNodeRef(NodeRef& ref, vellarray* node) {
  if (ref.get() != node) ref = node;
}

}  // namespace

int FindVariable(Interpreter& interp, ExecContext& ctx) {
  ctx.foundEntry = nullptr;
  const std::u16string_view name = ctx.TokenView();
  if (name.empty()) return 0;  // nameless locals (unbound arguments) are never found
  if (name.front() == names::kInputValueMark && !interp.inputValues.empty()) {
    for (const auto& held : interp.inputValues) {
      if (names::KeyIs(held->key, name)) {
        ctx.foundEntry = held.get();
        return held->kind;
      }
    }
  }
  int top = interp.localCount;
  if (top > kTableNodes) top = kTableNodes;
  for (int i = top - 1; i >= 0; --i) {
    vellarray& entry = interp.locals[i];
    if (entry.kind == NodeFree) break;
    if (names::KeyIs(entry.key, name)) {
      ctx.foundEntry = &entry;
      return entry.kind;
    }
  }
  const names::GlobalLookup global = names::FindGlobal(interp, name);
  if (!global.named) return 0;
  ctx.foundEntry = global.entry;
  return global.entry->kind;
}

namespace {

// Stores the value just evaluated (or the node, in node mode) into cur, the
// end of an assignment's reference walk.
int StoreAssigned(ExecContext& ctx, vellarray* cur) {
  if (ctx.nodeMode) {
    vellvar ownKey(std::move(cur->key));
    cur->Assign(ctx.node);
    cur->key = std::move(ownKey);
    ctx.nodeMode = 0;
    return ResultDone;
  }
  cur->kind = NodeVariable;
  cur->item = ctx.value;  // the value stays for a chained assignment
  return ResultDone;
}

__attribute__((noinline)) int WalkReference(Interpreter& interp, ExecContext& ctx,
                                            vellarray* entry) {
  // Table entries live as long as the interpreter; a child node reached by
  // an index or a member is pinned, as evaluating the next index or the
  // right side may release the tree it belongs to.
  vellarray* cur = entry;
  NodeRef hold;
  const auto stepTo = [&](vellarray* next) {
    hold = next;
    cur = next;
  };
  SetNodeRef(interp.thisSource, cur);
  SetNodeRef(interp.lastNode, cur);
  WalkMode mode = WalkRead;
  int componentSlot = -1;

  for (;;) {
    if (IsComponentKind(cur->kind)) componentSlot = cur->item.ToInt();
    const int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t == TokPeriod) {
      mode = WalkMember;
      continue;
    }
    if (t == TokAssign) {
      mode = WalkAssign;
      break;
    }
    if (t == TokOpenBracket) {
      if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
      if (ctx.value.kind == KindNarrow) ctx.value.ToUpper();
      interp.thisSource = cur;
      stepTo(cur->GetNode(ctx.value));
      interp.lastNode = cur;
      const int close = NextToken(interp, ctx);
      if (close == TokError) return ResultFailed;
      if (close != TokCloseBracket) {
        interp.runState = ErrorSyntax;
        return ResultFailed;
      }
      continue;
    }
    if (mode == WalkMember) {
      interp.thisSource = cur;
      stepTo(cur->GetNode(vellvar(ctx.TokenView())));
      interp.lastNode = cur;
      mode = WalkRead;
      continue;
    }
    UngetToken(ctx);
    break;
  }

  if (mode == WalkAssign) {
    if (IsMemberKind(cur->kind)) {
      const int r = AccessComponentMember(interp, ctx, MemberWrite, componentSlot, cur->kind);
      ctx.nodeMode = 0;
      return r;
    }
    if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
    return StoreAssigned(ctx, cur);
  }

  if (IsMemberKind(cur->kind)) {
    return AccessComponentMember(interp, ctx, MemberRead, componentSlot, cur->kind);
  }
  if (cur->kind == NodeVariable || cur->kind >= NodeComponentFirst) {
    if (ctx.nodeMode) {
      ctx.node.Clear();
      ctx.node.Assign(*cur);
    } else {
      ctx.value = cur->item;
    }
  } else if (cur->kind == NodeSub) {
    if (ctx.nodeMode) {
      ctx.node.Clear();
      ctx.node.Assign(*cur);
    } else if (CallSub(interp, ctx, cur) == ResultFailed) {
      return ResultFailed;
    }
  }
  return ResultDone;
}

}  // namespace

int AccessVariable(Interpreter& interp, ExecContext& ctx, vellarray* entry) {
  // A plain variable read or assigned, without index or member: the walk's
  // steps for that case, taken directly.
  if (entry->kind == NodeVariable) {
    const int t = NextToken(interp, ctx);
    if (t != TokPeriod && t != TokOpenBracket) {
      SetNodeRef(interp.thisSource, entry);
      SetNodeRef(interp.lastNode, entry);
      if (t == TokError) return ResultFailed;
      if (t == TokAssign) {
        if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
        return StoreAssigned(ctx, entry);
      }
      UngetToken(ctx);
      if (ctx.nodeMode) {
        ctx.node.Clear();
        ctx.node.Assign(*entry);
      } else {
        ctx.value = entry->item;
      }
      return ResultDone;
    }
    UngetToken(ctx);
  }
  return WalkReference(interp, ctx, entry);
}

int CallSub(Interpreter& interp, ExecContext& ctx, vellarray* entry) {
  if (StackExhausted(interp)) return ResultFailed;
  NodeRef sub(entry);
  const int32_t savedCount = interp.localCount;
  NodeRef savedThis = interp.thisSource;
  if (PushArguments(interp, ctx) == ResultFailed) return ResultFailed;
  interp.thisSource = savedThis;
  // The SUB's own name applies from the moment its body starts: errors in the
  // arguments belong to the caller, and a SUB called inside the arguments must
  // not leave its name behind for this one.
  interp.routineName = sub->key;
  SharedText text = names::SubText(*sub);
  const int r = ExecuteText(interp, std::move(text), savedCount);
  if (r == ResultFailed) return ResultFailed;
  ctx.value = std::move(interp.lastValue);  // read only here
  interp.localCount = savedCount;
  return ResultDone;
}

int PushArguments(Interpreter& interp, ExecContext& ctx) {
  int t = NextToken(interp, ctx);
  if (t == TokError) return ResultFailed;
  if (t != TokOpenParen) {
    UngetToken(ctx);
    return ResultDone;
  }
  t = NextToken(interp, ctx);
  if (t == TokError) return ResultFailed;
  if (t == TokCloseParen) return ResultDone;
  UngetToken(ctx);
  for (;;) {
    if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
    if (interp.localCount >= kTableEntries) {
      interp.runState = ErrorAreaOverflow;
      return ResultFailed;
    }
    vellarray& local = interp.locals[interp.localCount];
    if (local.firstChild != nullptr || local.childCount != 0) local.Clear();
    local.kind = NodeVariable;
    names::SetEmptyKey(local.key);
    local.item = ctx.value;  // a copy: the next argument starts from this value
    ++interp.localCount;
    t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t == TokCloseParen) return ResultDone;
    if (t != TokComma) {
      interp.runState = ErrorUndefined;
      return ResultFailed;
    }
  }
}

int BindParameters(Interpreter& interp, ExecContext& ctx) {
  int t = NextToken(interp, ctx);
  if (t == TokError) return -1;
  if (t != TokOpenParen) {
    UngetToken(ctx);
    return 0;
  }
  int bound = 0;
  for (;;) {
    t = NextToken(interp, ctx);
    if (t == TokError) return -1;
    if (t == TokCloseParen) return bound;
    if (t == TokComma) continue;
    const int index = ctx.localBase + bound;
    if (index < 0 || index >= interp.localCount || index >= kTableNodes) {
      interp.runState = ErrorUndefined;
      return -1;
    }
    interp.locals[index].key = ctx.TokenView();
    ++bound;
  }
}

int CountParameters(Interpreter& interp, ExecContext& ctx) {
  int t = NextToken(interp, ctx);
  if (t == TokError) return -1;
  if (t != TokOpenParen) {
    UngetToken(ctx);
    return 0;
  }
  int count = 0;
  for (;;) {
    t = NextToken(interp, ctx);
    if (t == TokError || t == TokEnd) {
      interp.runState = ErrorUnbalanced;
      return -1;
    }
    if (t == TokCloseParen) return count;
    if (t == TokComma) {
      ++count;
    } else if (count == 0) {
      count = 1;
    }
  }
}

namespace names {

int ParseReferenceParts(Interpreter& interp, ExecContext& ctx, vellvar* nameOut,
                        std::u16string& text, ReferenceIndexes* indexes) {
  bool nameTaken = false;
  bool baseRecorded = false;
  for (;;) {
    const int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t == TokOpenBracket) {
      text += u'[';
      if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
      if (ctx.value.ToInt() < 0) {
        interp.runState = ErrorVariable;
        return ResultFailed;
      }
      if (indexes != nullptr) {
        indexes->offsets.push_back(text.size());
        indexes->values.push_back(ctx.value);
      } else {
        ctx.value.WideText();
        text += ctx.value.WideView();
      }
      const int close = NextToken(interp, ctx);
      if (close == TokError) return ResultFailed;
      if (close != TokCloseBracket) {
        interp.runState = ErrorSyntax;
        return ResultFailed;
      }
      text += u']';
      continue;
    }
    if (t == TokPeriod) {
      text += u'.';
      nameTaken = false;
      continue;
    }
    if (nameTaken) {
      UngetToken(ctx);
      return ResultDone;
    }
    if (indexes != nullptr && t == TokString) {
      AppendStringLiteral(text, ctx.TokenView());
    } else {
      text += ctx.TokenView();
    }
    nameTaken = true;
    if (!baseRecorded) {
      if (nameOut != nullptr) *nameOut = ctx.TokenView();
      baseRecorded = true;
    }
  }
}

void FreeEntry(vellarray& entry) {
  entry.Clear();
  entry.kind = NodeFree;
  entry.key = u"";
  entry.item = u"";
}

// The texts of the SUBs called last, by entry. A SUB's text is made into a
// shared text once and reused while the entry still holds that same text;
// any change to the entry (redefinition, assignment, NEW) shows as a
// different text and makes a new one.
namespace {

struct SubTextSlot {
  const vellarray* entry = nullptr;
  SharedText text;
};
constexpr size_t kSubTextSlots = 64;
thread_local SubTextSlot subTextCache[kSubTextSlots];

// The entry's text is the one the shared text was made from: its units up
// to its length, compared in one go.
bool SameText(const vellvar& item, const std::u16string& text) {
  const size_t n = text.size();
  return size_t(item.length) == n && std::memcmp(item.data, text.data(), n * sizeof(char16_t)) == 0;
}

}  // namespace

SharedText SubText(vellarray& entry) {
  if (entry.item.kind != KindWide) entry.item.WideText();
  if (ReferenceMode()) return MakeSharedText(entry.item.WideView());
  SubTextSlot& slot =
      subTextCache[(reinterpret_cast<uintptr_t>(&entry) / sizeof(vellarray)) % kSubTextSlots];
  if (slot.entry == &entry && slot.text && SameText(entry.item, slot.text->chars)) return slot.text;
  slot.entry = &entry;
  slot.text = MakeSharedText(entry.item.WideView());
  return slot.text;
}

void AppendStringLiteral(std::u16string& out, std::u16string_view body) {
  out += u'"';
  for (char16_t c : body) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  out += u'"';
}

}  // namespace names

int ParseReference(Interpreter& interp, ExecContext& ctx, vellvar* nameOut, vellvar* textOut) {
  std::u16string text;
  if (textOut != nullptr) *textOut = u"";
  const int r = names::ParseReferenceParts(interp, ctx, nameOut, text, nullptr);
  if (textOut != nullptr) *textOut = std::u16string_view(text);
  return r;
}

}  // namespace vell

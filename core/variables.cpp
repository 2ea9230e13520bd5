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
#include "core/remembered_forms.h"
#include "core/stack_check.h"

namespace vell {

namespace {

inline void SetNodeRef(NodeRef& ref, vellarray* node) {
  if (ref.get() != node) ref = node;
}

}  // namespace

vellarray* FindName(Interpreter& interp, std::u16string_view name) {
  if (name.empty()) return nullptr;  // nameless locals (unbound arguments) are never found
  if (name.front() == names::kInputValueMark && !interp.inputValues.empty()) {
    for (const auto& held : interp.inputValues) {
      if (names::KeyIs(held->Key(), name)) return held.get();
    }
  }
  int top = interp.localCount;
  if (top > kTableNodes) top = kTableNodes;
  for (int i = top - 1; i >= 0; --i) {
    vellarray& entry = interp.locals[i];
    if (entry.kind == NodeFree) break;
    if (names::KeyIs(entry.Key(), name)) return &entry;
  }
  const names::GlobalLookup global = names::FindGlobal(interp, name);
  return global.named ? global.entry : nullptr;
}

int FindVariable(Interpreter& interp, ExecContext& ctx) {
  ctx.foundEntry = FindName(interp, ctx.TokenView());
  return ctx.foundEntry != nullptr ? ctx.foundEntry->kind : 0;
}

HandlerResult StoreNodeAssigned(ExecContext& ctx, vellarray* cur) {
  cur->AssignKeepingKey(ctx.Node());
  ctx.nodeMode = 0;
  names::NamesChanged();  // the node's kind may even be that of a free entry
  return ResultDone;
}

// Table entries live as long as the interpreter; a child node reached by an
// index or a member is pinned, as evaluating the next index or the right
// side may release the tree it belongs to.
void StartWalk(Interpreter& interp, ReferenceWalk& walk, vellarray* entry) {
  walk.cur = entry;
  SetNodeRef(interp.thisSource, entry);
  SetNodeRef(interp.lastNode, entry);
}

void NoteComponent(ReferenceWalk& walk) {
  if (IsComponentKind(walk.cur->kind)) walk.componentSlot = walk.cur->item.ToInt();
}

namespace {

void StepTo(Interpreter& interp, ReferenceWalk& walk, vellarray* next) {
  walk.hold = next;
  walk.cur = next;
  interp.lastNode = next;
}

}  // namespace

void StepIndexValue(Interpreter& interp, ExecContext& ctx, ReferenceWalk& walk) {
  if (ctx.value.kind == KindNarrow) ctx.value.ToUpper();
  interp.thisSource = walk.cur;
  interp.lastParent = walk.cur;
  StepTo(interp, walk, walk.cur->GetNode(ctx.value));
}

void StepMember(Interpreter& interp, ReferenceWalk& walk, const vellvar& name) {
  interp.thisSource = walk.cur;
  interp.lastParent = walk.cur;
  StepTo(interp, walk, walk.cur->GetNode(name));
  walk.mode = WalkRead;
}

HandlerResult CloseIndex(Interpreter& interp, ExecContext& ctx) {
  const int close = NextToken(interp, ctx);
  if (close == TokError) return ResultFailed;
  if (close != TokCloseBracket) return Fail(interp, ErrorSyntax);
  return ResultDone;
}

HandlerResult WalkSteps(Interpreter& interp, ExecContext& ctx, ReferenceWalk& walk) {
  for (;;) {
    NoteComponent(walk);
    const int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t == TokPeriod) {
      walk.mode = WalkMember;
      continue;
    }
    if (t == TokAssign) {
      walk.mode = WalkAssign;
      return ResultDone;
    }
    if (t == TokOpenBracket) {
      if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
      StepIndexValue(interp, ctx, walk);
      if (CloseIndex(interp, ctx) == ResultFailed) return ResultFailed;
      continue;
    }
    if (walk.mode == WalkMember) {
      StepMember(interp, walk, vellvar(ctx.TokenView()));
      continue;
    }
    UngetToken(ctx);
    return ResultDone;
  }
}

HandlerResult StoreIntoWalk(Interpreter& interp, ExecContext& ctx, ReferenceWalk& walk) {
  if (IsMemberKind(walk.cur->kind)) {
    const HandlerResult r =
        AccessComponentMember(interp, ctx, MemberWrite, walk.componentSlot, walk.cur->kind);
    ctx.nodeMode = 0;
    return r;
  }
  if (EvalAssignedValue(interp, ctx, walk.cur->item) == ResultFailed) return ResultFailed;
  return StoreAssigned(ctx, walk.cur);
}

HandlerResult ReadWalk(Interpreter& interp, ExecContext& ctx, ReferenceWalk& walk) {
  vellarray* cur = walk.cur;
  if (IsMemberKind(cur->kind)) {
    return AccessComponentMember(interp, ctx, MemberRead, walk.componentSlot, cur->kind);
  }
  if (cur->kind == NodeVariable || cur->kind >= NodeComponentFirst) {
    if (ctx.nodeMode) {
      ctx.Node().Clear();
      ctx.Node().Assign(*cur);
    } else {
      ctx.value = cur->item;
    }
  } else if (cur->kind == NodeSub) {
    if (ctx.nodeMode) {
      ctx.Node().Clear();
      ctx.Node().Assign(*cur);
    } else if (CallSub(interp, ctx, cur) == ResultFailed) {
      return ResultFailed;
    }
  }
  return ResultDone;
}

namespace {

__attribute__((noinline)) HandlerResult WalkReference(Interpreter& interp, ExecContext& ctx,
                                            vellarray* entry) {
  ReferenceWalk walk;
  StartWalk(interp, walk, entry);
  if (WalkSteps(interp, ctx, walk) == ResultFailed) return ResultFailed;
  if (walk.mode == WalkAssign) return StoreIntoWalk(interp, ctx, walk);
  return ReadWalk(interp, ctx, walk);
}

}  // namespace

HandlerResult AccessVariable(Interpreter& interp, ExecContext& ctx, vellarray* entry) {
  // A plain variable read or assigned, without index or member: the walk's
  // steps for that case, taken directly.
  if (entry->kind == NodeVariable) {
    const int t = NextToken(interp, ctx);
    if (t != TokPeriod && t != TokOpenBracket) {
      SetNodeRef(interp.thisSource, entry);
      SetNodeRef(interp.lastNode, entry);
      if (t == TokError) return ResultFailed;
      if (t == TokAssign) {
        if (EvalAssignedValue(interp, ctx, entry->item) == ResultFailed) return ResultFailed;
        return StoreAssigned(ctx, entry);
      }
      UngetToken(ctx);
      if (ctx.nodeMode) {
        ctx.Node().Clear();
        ctx.Node().Assign(*entry);
      } else {
        ctx.value = entry->item;
      }
      return ResultDone;
    }
    UngetToken(ctx);
  }
  return WalkReference(interp, ctx, entry);
}

HandlerResult BeginSubCall(Interpreter& interp, SubCall& call, vellarray* entry) {
  if (NestingUsedUp(interp) || StackExhausted(interp)) return ResultFailed;
  call.sub = entry;
  call.savedCount = interp.localCount;
  call.savedThis = interp.thisSource;
  return ResultDone;
}

HandlerResult FinishSubCall(Interpreter& interp, ExecContext& ctx, SubCall& call) {
  interp.thisSource = call.savedThis;
  // The SUB's own name applies from the moment its body starts: errors in the
  // arguments belong to the caller, and a SUB called inside the arguments must
  // not leave its name behind for this one.
  const vellvar& name = call.sub->Key();
  if (name.kind != KindWide || !names::KeyIs(interp.routineName, name.WideView())) {
    interp.routineName = name;  // mostly the same SUB's name again
  }
  SharedText text = names::SubText(*call.sub);
  const HandlerResult r = ExecuteText(interp, std::move(text), call.savedCount);
  if (r == ResultFailed) return ResultFailed;
  ctx.value = std::move(interp.lastValue);  // read only here
  names::PopLocals(interp, call.savedCount);
  return ResultDone;
}

HandlerResult CallSub(Interpreter& interp, ExecContext& ctx, vellarray* entry) {
  SubCall call;
  if (BeginSubCall(interp, call, entry) == ResultFailed) return ResultFailed;
  if (PushArguments(interp, ctx) == ResultFailed) return ResultFailed;
  return FinishSubCall(interp, ctx, call);
}

HandlerResult PushArgument(Interpreter& interp, ExecContext& ctx) {
  if (interp.localCount >= kTableEntries) return Fail(interp, ErrorAreaOverflow);
  // A nameless local: no lookup finds it, so pushing it changes no name.
  names::NoteLocalBucket(interp, interp.localCount, LocalNameCounts::kNone);
  vellarray& local = interp.locals[interp.localCount];
  if (local.ChildCount() != 0) local.Clear();
  local.kind = NodeVariable;
  names::SetEmptyKey(local);
  local.item = ctx.value;  // a copy: the next argument starts from this value
  ++interp.localCount;
  return ResultDone;
}

HandlerResult ContinueArguments(Interpreter& interp, ExecContext& ctx) {
  for (;;) {
    const int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t == TokCloseParen) return ResultDone;
    if (t != TokComma) return Fail(interp, ErrorUndefined);
    if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
    if (PushArgument(interp, ctx) == ResultFailed) return ResultFailed;
  }
}

HandlerResult PushArguments(Interpreter& interp, ExecContext& ctx) {
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
  if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
  if (PushArgument(interp, ctx) == ResultFailed) return ResultFailed;
  return ContinueArguments(interp, ctx);
}

namespace {

const FrameLayout* StartingLayout(const Interpreter& interp, const ExecContext& ctx, int bound);

// The parameter list the text's memory knows: when there are values for
// all its names, they are bound as the plain way binds them; else the plain
// way reads it and fails where it fails.
bool BindKnownParameters(Interpreter& interp, ExecContext& ctx, int& bound) {
  const forms::ParameterForm* form = forms::ParametersAt(interp, ctx);
  if (form == nullptr) return false;
  const size_t count = form->names.size();
  if (ctx.localBase < 0 || int64_t(ctx.localBase) + int64_t(count) > interp.localCount) return false;
  for (size_t i = 0; i < count; ++i) {
    const int32_t index = ctx.localBase + int32_t(i);
    interp.locals[index].SetKey(form->keys[i]);
    names::NoteLocalBucket(interp, index, form->buckets[i]);
  }
  forms::ReadAgain(ctx, form->end);
  bound = int(count);
  // The same SUB is mostly called with as many values as before.
  const int32_t values = interp.localCount - ctx.localBase;
  if (form->layoutValues != values) {
    form->layout = StartingLayout(interp, ctx, bound);
    form->layoutValues = values;
  }
  ctx.layout = form->layout;
  return true;
}

}  // namespace

namespace {

// The frame a text starts with: the values pushed for it from its local
// base, the first `bound` of them named by its parameters.
const FrameLayout* StartingLayout(const Interpreter& interp, const ExecContext& ctx, int bound) {
  const FrameLayout* layout = EmptyFrame();
  for (int32_t i = ctx.localBase; i < interp.localCount && i < kTableNodes; ++i) {
    const bool named = i < ctx.localBase + bound;
    layout = Extend(layout, named ? names::NameOf(interp.locals[i].Key()) : std::u16string_view());
  }
  return layout;
}

int BindParameterList(Interpreter& interp, ExecContext& ctx) {
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
    interp.locals[index].SetKey(ctx.TokenView());
    names::NoteLocalName(interp, index, ctx.TokenView());
    ++bound;
  }
}

}  // namespace

int BindParameters(Interpreter& interp, ExecContext& ctx) {
  int bound = 0;
  if (!BindKnownParameters(interp, ctx, bound)) {
    bound = BindParameterList(interp, ctx);
    ctx.layout = bound < 0 || ctx.localBase < 0 ? nullptr : StartingLayout(interp, ctx, bound);
  }
  return bound;
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

HandlerResult ParseReferenceParts(Interpreter& interp, ExecContext& ctx, vellvar* nameOut,
                                  std::u16string& text, ReferenceIndexes* indexes) {
  bool nameTaken = false;
  bool baseRecorded = false;
  for (;;) {
    const int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t == TokOpenBracket) {
      text += u'[';
      if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
      if (ctx.value.ToInt() < 0) return Fail(interp, ErrorVariable);
      if (indexes != nullptr) {
        indexes->offsets.push_back(text.size());
        indexes->values.push_back(ctx.value);
      } else {
        ctx.value.WideText();
        text += ctx.value.WideView();
      }
      const int close = NextToken(interp, ctx);
      if (close == TokError) return ResultFailed;
      if (close != TokCloseBracket) return Fail(interp, ErrorSyntax);
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

void CountLocalNames(Interpreter& interp) {
  LocalNameCounts& names = interp.localNames;
  for (uint16_t& c : names.count) c = 0;
  const int32_t top = interp.localCount > kTableNodes ? kTableNodes : interp.localCount;
  for (int32_t i = 0; i < kTableNodes; ++i) {
    const std::u16string_view name = i < top ? NameOf(interp.locals[i].Key()) : std::u16string_view();
    names.bucketOf[i] = name.empty() ? LocalNameCounts::kNone : NameBucket(name);
    if (!name.empty()) ++names.count[names.bucketOf[i]];
  }
  names.epoch = gNamesEpoch;
}

void FreeEntry(vellarray& entry) {
  NamesChanged();
  entry.Clear();
  entry.kind = NodeFree;
  entry.SetKey(u"");
  entry.item = u"";
}

// The texts of the SUBs called last, by entry. A SUB's text is made into a
// shared text once and reused while the entry still holds that same text;
// any change to the entry (redefinition, assignment, NEW) shows as a
// different text and makes a new one. A node holds a SUB's text only by a
// SUB definition or a whole node stored, both changes of names: while the
// names epoch stays, a SUB's node holds the text it held.
namespace {

struct SubTextSlot {
  const vellarray* entry = nullptr;
  SharedText text;
  uint64_t epoch = 0;  // the names epoch at which the entry was last seen to hold it
};
constexpr size_t kSubTextSlots = 64;
thread_local SubTextSlot subTextCache[kSubTextSlots];

// The entry's text is the one the shared text was made from: its units up
// to its length, compared in one go.
bool SameText(const vellvar& item, const std::u16string& text) {
  const size_t n = text.size();
  return size_t(item.Length()) == n &&
         std::memcmp(item.WideView().data(), text.data(), n * sizeof(char16_t)) == 0;
}

}  // namespace

SharedText SubText(vellarray& entry) {
  if (entry.item.kind != KindWide) entry.item.WideText();
  if (ReferenceMode()) return MakeSharedText(entry.item.WideView());
  SubTextSlot& slot =
      subTextCache[(reinterpret_cast<uintptr_t>(&entry) / sizeof(vellarray)) % kSubTextSlots];
  if (slot.entry == &entry && slot.text) {
    if (slot.epoch == gNamesEpoch && size_t(entry.item.Length()) == slot.text->chars.size()) {
      return slot.text;
    }
    if (SameText(entry.item, slot.text->chars)) {
      slot.epoch = gNamesEpoch;
      return slot.text;
    }
  }
  slot.entry = &entry;
  slot.text = MakeSharedText(entry.item.WideView());
  slot.epoch = gNamesEpoch;
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

HandlerResult ParseReference(Interpreter& interp, ExecContext& ctx, vellvar* nameOut,
                             vellvar* textOut) {
  std::u16string text;
  if (textOut != nullptr) *textOut = u"";
  const HandlerResult r = names::ParseReferenceParts(interp, ctx, nameOut, text, nullptr);
  if (textOut != nullptr) *textOut = std::u16string_view(text);
  return r;
}

}  // namespace vell

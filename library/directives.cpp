#include "library/directives.h"

#include <string>

#include "components/keywords/component_node.h"
#include "core/host_request.h"
#include "core/interpreter_state.h"
#include "core/name_table.h"
#include "library/builtin_support.h"

namespace vell {

namespace {

constexpr int kReferenceText = 1;

// A copy is converted; the node itself is not.
void AppendValueText(std::u16string& line, const vellvar& value) {
  vellvar copy(value);
  line += WideArgument(copy);
}

void AppendNumber(std::u16string& line, int32_t n) { AppendValueText(line, vellvar(n)); }

}  // namespace

HandlerResult DirSubClear(Interpreter& interp, ExecContext&) {
  interp.subTop = 0;
  for (vellarray* table : {interp.globals, interp.locals}) {
    for (int i = 0; i < kTableEntries; ++i) {
      if (table[i].kind > 0) names::FreeEntry(table[i]);
    }
  }
  // Nothing may lead to a node released here.
  interp.thisSource.reset();
  interp.lastNode.reset();
  interp.lastParent.reset();
  return ResultDone;
}

HandlerResult DirSubTop(Interpreter& interp, ExecContext&) {
  int top = 0;
  while (top < kTableEntries && interp.globals[top].kind != NodeFree) ++top;
  interp.subTop = top;
  return ResultDone;
}

HandlerResult DirComponent(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<3> args;
  args[0] = kReferenceText;
  args[1] = kReferenceText;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string name(WideArgument(args[0]));
  const std::u16string typeWord(WideArgument(args[1]));
  int index = 0;
  while (index < kTableEntries && interp.globals[index].kind != NodeFree &&
         !names::KeyIs(interp.globals[index].Key(), name)) {
    ++index;
  }
  if (index == kTableEntries) return Fail(interp, ErrorAreaOverflow);
  // A word that names no component type binds nothing.
  if (BuildComponentNode(ctx, typeWord) == TypeNone) return Fail(interp, ErrorUndefined);
  vellarray& entry = interp.globals[index];
  entry.Assign(ctx.Node());
  entry.SetKey(name);
  entry.item = args[2].ToInt();
  names::NamesChanged();
  return ResultDone;
}

// Lists, one line each after its own subtree, the nodes at positions first,
// first + 1 and on among parent's children, or `alone` by itself when
// parent is null.
int DumpArrayTree(Interpreter& interp, ExecContext& ctx, vellarray* parent, int32_t first,
                  vellarray* alone, int depth) {
  if (StackExhausted(interp)) return 0;
  std::u16string indent;
  for (int i = 0; i <= depth; ++i) indent += u"  ";
  int n = 0;
  for (int32_t position = first;; ++position) {
    vellarray* node = parent != nullptr ? parent->Child(position) : alone;
    if (node == nullptr) break;
    const NodeRef hold(node);  // printing may not release it, but a deep walk is long
    if (node->ChildCount() > 0) DumpArrayTree(interp, ctx, node, 0, nullptr, depth + 1);
    if (RunState(interp) != StateRunning) return 0;
    ++n;
    std::u16string line = indent;
    line += u"no=";
    AppendNumber(line, n);
    line += u" type=";
    AppendNumber(line, node->kind);
    line += u" name=";
    AppendValueText(line, node->Key());
    line += u" data=";
    AppendValueText(line, node->item);
    line += u" count=";
    AppendNumber(line, node->ChildCount());
    line += u'\n';
    PrintText(interp, vellvar(std::u16string_view(line)));
    // The list ends where the node left its parent, or for a node alone.
    if (parent == nullptr || parent->Child(position) != node) break;
  }
  return 0;
}

// The position of node among parent's children, or -1.
int32_t PositionAmong(const vellarray& parent, const vellarray* node) {
  for (int32_t i = 0; i < parent.ChildCount(); ++i) {
    if (parent.Child(i) == node) return i;
  }
  return -1;
}

HandlerResult DirDb(Interpreter& interp, ExecContext& ctx) {
  vellvar args[1] = {vellvar(0)};
  if (ReadArguments(interp, ctx, args, 1) != 1) return Fail(interp, ErrorUndefined);
  // An element is listed with the elements after it, a variable alone.
  const NodeRef node = interp.lastNode;
  const NodeRef parent = interp.lastParent;
  if (node) {
    const int32_t position = node->IsChild() && parent ? PositionAmong(*parent, node.get()) : -1;
    if (position >= 0) {
      DumpArrayTree(interp, ctx, parent.get(), position, nullptr, 0);
    } else {
      DumpArrayTree(interp, ctx, nullptr, 0, node.get(), 0);
    }
  }
  return RunState(interp) == StateRunning ? ResultDone : ResultFailed;
}

void RegisterDirectives(Interpreter& interp) {
  RegisterBuiltin(interp, u"#SUBCLEAR", DirSubClear);
  RegisterBuiltin(interp, u"#SUBTOP", DirSubTop);
  RegisterBuiltin(interp, u"#COMPONENT", DirComponent);
  RegisterBuiltin(interp, u"#DB", DirDb);
}

}  // namespace vell

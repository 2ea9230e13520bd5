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
         !names::KeyIs(interp.globals[index].key, name)) {
    ++index;
  }
  if (index == kTableEntries) return Fail(interp, ErrorAreaOverflow);
  // A word that names no component type binds nothing.
  if (BuildComponentNode(ctx, typeWord) == TypeNone) return Fail(interp, ErrorUndefined);
  vellarray& entry = interp.globals[index];
  entry.Assign(ctx.Node());
  entry.key = std::u16string_view(name);
  entry.item = args[2].ToInt();
  names::NamesChanged();
  return ResultDone;
}

int DumpArrayTree(Interpreter& interp, ExecContext& ctx, vellarray* first, int depth) {
  if (StackExhausted(interp)) return 0;
  std::u16string indent;
  for (int i = 0; i <= depth; ++i) indent += u"  ";
  int n = 0;
  for (vellarray* node = first; node != nullptr; node = node->nextSibling) {
    const NodeRef hold(node);  // printing may not release it, but a deep walk is long
    if (node->firstChild != nullptr) DumpArrayTree(interp, ctx, node->firstChild, depth + 1);
    if (RunState(interp) != StateRunning) return 0;
    ++n;
    std::u16string line = indent;
    line += u"no=";
    AppendNumber(line, n);
    line += u" type=";
    AppendNumber(line, node->kind);
    line += u" name=";
    AppendValueText(line, node->key);
    line += u" data=";
    AppendValueText(line, node->item);
    line += u" count=";
    AppendNumber(line, node->childCount);
    line += u'\n';
    PrintText(interp, vellvar(std::u16string_view(line)));
  }
  return 0;
}

HandlerResult DirDb(Interpreter& interp, ExecContext& ctx) {
  vellvar args[1] = {vellvar(0)};
  if (ReadArguments(interp, ctx, args, 1) != 1) return Fail(interp, ErrorUndefined);
  const NodeRef node = interp.lastNode;
  DumpArrayTree(interp, ctx, node.get(), 0);
  return RunState(interp) == StateRunning ? ResultDone : ResultFailed;
}

void RegisterDirectives(Interpreter& interp) {
  RegisterBuiltin(interp, u"#SUBCLEAR", DirSubClear);
  RegisterBuiltin(interp, u"#SUBTOP", DirSubTop);
  RegisterBuiltin(interp, u"#COMPONENT", DirComponent);
  RegisterBuiltin(interp, u"#DB", DirDb);
}

}  // namespace vell

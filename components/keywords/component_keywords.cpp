#include "components/keywords/component_keywords.h"

#include <string>

#include "components/keywords/component_node.h"
#include "core/arguments.h"
#include "core/host_request.h"
#include "core/interpreter_state.h"
#include "core/variables.h"

namespace vell {

namespace {

// An argument slot preset to this takes the argument's reference text.
constexpr int kReferenceText = 1;

HandlerResult SendMemberRequest(Interpreter& interp, ExecContext& ctx, ComponentOperation operation,
                                int slot, int memberCode, const vellvar* args) {
  ctx.value = SendComponentRequest(interp, operation, slot, memberCode, args, 3);
  return ResultDone;
}

// The member bridge the core calls for a reference that ends at a member.
class RequestBridge final : public ComponentBridge {
 public:
  int MemberArgumentCount(int memberCode) override { return vell::MemberArgumentCount(memberCode); }
  HandlerResult GetComponentMember(Interpreter& interp, ExecContext& ctx, int slot, int memberCode,
                                   vellvar* args) override {
    return vell::GetComponentMember(interp, ctx, slot, memberCode, args);
  }
  HandlerResult SetComponentMember(Interpreter& interp, ExecContext& ctx, int slot, int memberCode,
                                   vellvar* args) override {
    return vell::SetComponentMember(interp, ctx, slot, memberCode, args);
  }
};

RequestBridge gRequestBridge;

}  // namespace

HandlerResult SetComponentMember(Interpreter& interp, ExecContext& ctx, int slot, int memberCode,
                                 const vellvar* args) {
  return SendMemberRequest(interp, ctx, ComponentSet, slot, memberCode, args);
}

HandlerResult GetComponentMember(Interpreter& interp, ExecContext& ctx, int slot, int memberCode,
                                 const vellvar* args) {
  return SendMemberRequest(interp, ctx, ComponentGet, slot, memberCode, args);
}

HandlerResult ExecCreate(Interpreter& interp, ExecContext& ctx) {
  vellvar args[1] = {vellvar(kReferenceText)};
  if (ParseArguments(interp, ctx, args, 1) != 1) return ResultFailed;
  const std::u16string typeName(args[0].WideText());
  if (typeName.empty()) return Fail(interp, ErrorUndefined);
  const vellvar type(BuildComponentNode(ctx, typeName));
  const int index = SendComponentRequest(interp, ComponentSet, 0, MemberCreate, &type, 1).ToInt();
  if (index == 0) {
    // The table may have said why already.
    if (RunState(interp) == StateRunning) SetRunState(interp, ErrorAreaOverflow);
    return ResultFailed;
  }
  ctx.Node().item = index;
  ctx.nodeMode = 1;
  return ResultDone;
}

HandlerResult ExecDelete(Interpreter& interp, ExecContext& ctx) {
  // Only a node that this argument reaches is emptied, never one that an
  // earlier statement (or a text that has ended) referenced.
  interp.lastNode.reset();
  vellvar args[1] = {vellvar(0)};
  if (ParseArguments(interp, ctx, args, 1) != 1) return ResultFailed;
  const int slot = args[0].ToInt();
  const NodeRef node = interp.lastNode;
  if (!node) return ResultDone;
  if (IsComponentKind(node->kind)) {
    ctx.value = SendComponentRequest(interp, ComponentSet, slot, MemberDelete, nullptr, 0);
    // A refused delete (a predefined component) keeps the variable that
    // names it; the run stops with the refusal's error.
    if (RunState(interp) != StateRunning) return ResultDone;
  }
  node->Clear();
  node->kind = NodeVariable;
  node->item = u"";
  return ResultDone;
}

HandlerResult ExecSet(Interpreter&, ExecContext& ctx) {
  ctx.nodeMode = 1;
  return ResultDone;
}

HandlerResult ExecThis(Interpreter& interp, ExecContext& ctx) {
  if (!ctx.thisNode) return Fail(interp, ErrorVariable);
  const NodeRef start = ctx.thisNode;
  return AccessVariable(interp, ctx, start.get()) == ResultFailed ? ResultFailed : ResultDone;
}

void RegisterComponentKeywords(Interpreter& interp) {
  RegisterBuiltin(interp, u"CREATE", ExecCreate);
  RegisterBuiltin(interp, u"DELETE", ExecDelete);
  RegisterBuiltin(interp, u"SET", ExecSet);
  RegisterBuiltin(interp, u"THIS", ExecThis);
  interp.components = &gRequestBridge;
}

}  // namespace vell

// The statements that create names and bring in program text: DIM, GLOBAL,
// SUB, CALL, INPUT and NEW.
#include <string>
#include <string_view>

#include "core/execution.h"
#include "core/host_request.h"
#include "core/interpreter_state.h"
#include "core/lexer.h"
#include "core/name_table.h"
#include "core/remembered_forms.h"
#include "core/statements.h"
#include "core/variables.h"

namespace vell {

namespace {

using names::KeyIs;
using names::NameOf;

// Reads one declared name (a reference whose index and member steps declare
// nothing) and puts it into the token buffer for error messages.
HandlerResult ReadDeclaredName(Interpreter& interp, ExecContext& ctx, std::u16string& name) {
  vellvar base(u"");
  if (ParseReference(interp, ctx, &base, nullptr) != ResultDone) return ResultFailed;
  name.assign(NameOf(base));
  if (name.empty()) return Fail(interp, ErrorUndefined);
  ctx.SetToken(name);
  return ResultDone;
}

bool GlobalSubExists(Interpreter& interp, std::u16string_view name) {
  const names::GlobalLookup global = names::FindGlobal(interp, name);
  return global.named && global.entry->kind == NodeSub;
}

bool DeclaredInFrame(Interpreter& interp, ExecContext& ctx, std::u16string_view name) {
  int top = interp.localCount;
  if (top > kTableNodes) top = kTableNodes;
  const int base = ctx.localBase < 0 ? 0 : ctx.localBase;
  for (int i = top - 1; i >= base; --i) {
    if (interp.locals[i].kind != NodeFree && KeyIs(interp.locals[i].Key(), name)) return true;
  }
  return false;
}

// A comma continues the list; any other token is given back.
HandlerResult NextInList(Interpreter& interp, ExecContext& ctx, bool& more) {
  const int t = NextToken(interp, ctx);
  if (t == TokError) return ResultFailed;
  more = t == TokComma;
  if (!more) UngetToken(ctx);
  return ResultDone;
}

// Holds the values that INPUT's generated assignment refers to by name while
// one INPUT item is read and assigned, in place of those of an INPUT that
// runs around it (from an event during its dialog or assignment). They take
// no locals.
class InputValues {
 public:
  // The names cannot be the name the assignment refers to.
  InputValues(Interpreter& interp, std::u16string_view baseName)
      : interp_(interp),
        prefix_(baseName.starts_with(names::kInputValuePrefix) ? names::kInputValueOtherPrefix
                                                                : names::kInputValuePrefix) {
    outer_.swap(interp_.inputValues);
    names::NamesChanged();
  }
  ~InputValues() {
    interp_.inputValues.swap(outer_);
    names::NamesChanged();
  }
  InputValues(const InputValues&) = delete;
  InputValues& operator=(const InputValues&) = delete;

  // Holds value as number `number`; returns its name.
  std::u16string Hold(size_t number, vellvar&& value) {
    std::u16string name(prefix_);
    for (char c : std::to_string(number)) name += static_cast<char16_t>(c);
    decltype(Interpreter::inputValues)::value_type node(new vellarray());
    node->kind = NodeVariable;
    node->SetKey(name);
    node->item = std::move(value);
    interp_.inputValues.push_back(std::move(node));
    names::NamesChanged();
    return name;
  }

 private:
  Interpreter& interp_;
  std::u16string_view prefix_;
  decltype(Interpreter::inputValues) outer_;
};

}  // namespace

namespace {

// The value a declared local starts with.
const vellvar kEmptyText(u"");

// Pushes a new local of that name at the end of ctx's frame, which it makes
// `longer`.
HandlerResult PushLocal(Interpreter& interp, ExecContext& ctx, std::u16string_view name,
                        uint16_t bucket, const FrameLayout* longer) {
  if (interp.localCount >= kTableEntries) return Fail(interp, ErrorAreaOverflow);
  vellarray& local = interp.locals[interp.localCount];
  local.Clear();
  local.kind = NodeVariable;
  if (!KeyIs(local.Key(), name)) local.SetKey(name);  // often its name the last time already
  local.item = kEmptyText;  // mostly a copy of the inline buffer
  names::NoteLocalBucket(interp, interp.localCount, bucket);
  ++interp.localCount;
  ctx.layout = longer;
  return ResultDone;
}

}  // namespace

HandlerResult ExecDim(Interpreter& interp, ExecContext& ctx) {
  for (;;) {
    std::u16string name;
    if (ReadDeclaredName(interp, ctx, name) != ResultDone) return ResultFailed;
    if (GlobalSubExists(interp, name) || DeclaredInFrame(interp, ctx, name)) {
      return Fail(interp, ErrorUndefined);
    }
    if (PushLocal(interp, ctx, name, names::NameBucket(name), names::Pushed(interp, ctx, name)) ==
        ResultFailed) {
      return ResultFailed;
    }
    bool more = false;
    if (NextInList(interp, ctx, more) != ResultDone) return ResultFailed;
    if (!more) return ResultDone;
  }
}

namespace forms {

namespace {

// GlobalSubExists, with the global found remembered while no name changes.
bool SubNamed(Interpreter& interp, const Declarations::Name& declared) {
  if (declared.epoch != names::gNamesEpoch) {
    const names::GlobalLookup global = names::FindGlobal(interp, declared.name);
    declared.global = global.named ? global.entry : nullptr;
    declared.epoch = names::gNamesEpoch;
  }
  return declared.global != nullptr && declared.global->kind == NodeSub;
}

// DeclaredInFrame, passed over when no live local bears a name of its bucket.
bool DeclaredHere(Interpreter& interp, ExecContext& ctx, const Declarations::Name& declared) {
  if (interp.localNames.epoch == names::gNamesEpoch &&
      interp.localNames.count[declared.bucket] == 0) {
    return false;
  }
  return DeclaredInFrame(interp, ctx, declared.name);
}

// names::Pushed, the same frame mostly made longer by the same name.
const FrameLayout* LongerFrame(Interpreter& interp, ExecContext& ctx,
                               const Declarations::Name& declared) {
  if (ctx.layout == declared.from && ctx.layout != nullptr &&
      interp.localCount == ctx.localBase + ctx.layout->size) {
    return declared.to;
  }
  const FrameLayout* longer = names::Pushed(interp, ctx, declared.name);
  declared.from = ctx.layout;
  declared.to = longer;
  return longer;
}

}  // namespace

HandlerResult DeclareLocals(Interpreter& interp, ExecContext& ctx, const StatementForm& statement) {
  const Declarations& form = *statement.declarations;
  for (const Declarations::Name& declared : form.names) {
    const bool taken = SubNamed(interp, declared) || DeclaredHere(interp, ctx, declared);
    if (taken || PushLocal(interp, ctx, declared.name, declared.bucket,
                           LongerFrame(interp, ctx, declared)) == ResultFailed) {
      // Where ReadDeclaredName leaves the reading, with the name to show.
      ReadAgain(ctx, declared.after);
      ctx.SetToken(declared.name);
      return taken ? Fail(interp, ErrorUndefined) : ResultFailed;
    }
  }
  ReadAgain(ctx, form.names.back().after);
  return ResultDone;
}

}  // namespace forms

HandlerResult ExecGlobal(Interpreter& interp, ExecContext& ctx) {
  for (;;) {
    std::u16string name;
    if (ReadDeclaredName(interp, ctx, name) != ResultDone) return ResultFailed;
    const names::GlobalLookup global = names::FindGlobal(interp, name);
    if (global.named && global.entry->kind == NodeSub) return Fail(interp, ErrorUndefined);
    if (global.entry == nullptr) return Fail(interp, ErrorAreaOverflow);
    vellarray* taken = global.entry;
    if (!global.named) names::FreeEntry(*taken);  // a free entry brings the empty string
    // Declaring an existing global again keeps its value and elements.
    taken->kind = NodeVariable;
    taken->SetKey(name);
    names::NamesChanged();
    bool more = false;
    if (NextInList(interp, ctx, more) != ResultDone) return ResultFailed;
    if (!more) return ResultDone;
  }
}

HandlerResult ExecSub(Interpreter& interp, ExecContext& ctx) {
  if (NextToken(interp, ctx) == TokError) return ResultFailed;
  // Whatever token follows SUB names it; a mark gives the empty name, which
  // defines a SUB nobody can call.
  const std::u16string name(ctx.TokenView());
  if (DeclaredInFrame(interp, ctx, name)) return Fail(interp, ErrorUndefined);
  // A SUB of that name is redefined in place.
  const names::GlobalLookup global = names::FindGlobal(interp, name);
  if (global.named && global.entry->kind != NodeSub) return Fail(interp, ErrorUndefined);
  vellarray* entry = global.entry;
  if (entry == nullptr) return Fail(interp, ErrorAreaOverflow);
  const int32_t start = ctx.cursor;
  if (CountParameters(interp, ctx) < 0) return ResultFailed;
  const HandlerResult r = SkipStatement(interp, ctx);
  if (r == ResultFailed) return ResultFailed;
  // The stored text runs from the parameter list up to the body's closing
  // brace; whatever follows the brace is the next statement, not the body.
  const std::u16string_view text(ctx.text + start, static_cast<size_t>(ctx.cursor - start));
  entry->Clear();
  entry->kind = NodeSub;
  entry->SetKey(name);
  entry->item = text;
  names::NamesChanged();
  return r;
}

HandlerResult ExecCall(Interpreter& interp, ExecContext& ctx) {
  if (NextToken(interp, ctx) == TokError) return ResultFailed;
  const std::u16string path(ctx.TokenView());
  const vellvar pathValue(std::u16string_view{path});
  vellvar& result = SendService(interp, ServiceReadFile, &pathValue, 1);
  if (result.kind == KindInteger && result.IntValue() == ServiceReadFile) {
    // The file could not be read and the service has already shown why:
    // run nothing and stop without a second message.
    interp.runState = ErrorFile;
    interp.errorReported = 1;
    return ResultFailed;
  }
  const std::u16string text(result.WideText());
  interp.routineName = std::u16string_view(path);
  return RunText(interp, &ctx, text);
}

HandlerResult ExecInput(Interpreter& interp, ExecContext& ctx) {
  for (;;) {
    int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    vellvar prompt(u"");
    if (t == TokString) {
      prompt = ctx.TokenView();
      t = NextToken(interp, ctx);
      if (t == TokError) return ResultFailed;
      if (t != TokComma) return Fail(interp, ErrorSyntax);
    } else {
      UngetToken(ctx);
    }

    vellvar base(u"");
    std::u16string reference;
    names::ReferenceIndexes indexes;
    if (names::ParseReferenceParts(interp, ctx, &base, reference, &indexes) != ResultDone)
      return ResultFailed;
    if (reference.empty()) return Fail(interp, ErrorUndefined);
    const std::u16string baseName(NameOf(base));
    InputValues held(interp, baseName);
    ctx.SetToken(baseName);
    if (FindVariable(interp, ctx) == 0) return Fail(interp, ErrorUndefined);

    vellvar answer = AskInput(interp, prompt);
    if (interp.runState != StateRunning) return ResultFailed;

    // The answer and the index values reach the assignment as held values,
    // so the variable receives exactly the text typed, however long, and a
    // string index stays a string. LET keeps a name that is also a statement
    // keyword a name.
    std::u16string assignment = u"LET ";
    size_t from = 0;
    for (size_t i = 0; i < indexes.offsets.size(); ++i) {
      assignment.append(reference, from, indexes.offsets[i] - from);
      assignment += held.Hold(i + 1, std::move(indexes.values[i]));
      from = indexes.offsets[i];
    }
    assignment.append(reference, from, std::u16string::npos);
    assignment += u" = ";
    assignment += held.Hold(0, std::move(answer));

    interp.routineName = u"INPUT";
    const int r = RunText(interp, &ctx, assignment);
    if (r == ResultFailed) return ResultFailed;

    bool more = false;
    if (NextInList(interp, ctx, more) != ResultDone) return ResultFailed;
    if (!more) return ResultDone;
  }
}

HandlerResult ExecNew(Interpreter& interp, ExecContext&) {
  const int from = interp.subTop < 0 ? 0 : interp.subTop;
  for (int i = from; i < kTableEntries; ++i) names::FreeEntry(interp.globals[i]);
  for (int i = 0; i < kTableNodes; ++i) names::FreeEntry(interp.locals[i]);
  names::PopLocals(interp, 0);
  interp.thisSource.reset();
  interp.lastNode.reset();
  interp.lastParent.reset();
  if (interp.shell != nullptr) interp.shell->ReleaseProgramComponents();
  // The program's database numbers went with its variables.
  if (interp.database) interp.database->CloseAll();
  return ResultDone;
}

}  // namespace vell

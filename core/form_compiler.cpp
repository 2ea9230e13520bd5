// Making the remembered forms of a text's statements and expressions: the
// text is read from the position as the plain path would read it, token by
// token with the lexer, by a grammar that follows the evaluator's calls one
// for one, and every token the plain path would stand on is noted.
#include <memory>
#include <utility>
#include <vector>

#include "core/interpreter_state.h"
#include "core/lexer.h"
#include "core/name_table.h"
#include "core/operators.h"
#include "core/remembered_forms.h"
#include "core/statements.h"
#include "core/token_cache.h"

namespace vell::forms {

namespace {

// Deeper nesting than this is left to the plain path, whose stack guard
// then decides where it ends.
constexpr int kMaxNesting = 40;

class FormCompiler {
 public:
  FormCompiler(Interpreter& interp, const ExecContext& running, TextForms& forms)
      : interp_(interp), forms_(forms), savedRunState_(interp.runState) {
    reader_.source = running.source;
    reader_.text = running.text;
    reader_.cursor = running.cursor;
    BindKnownTokens(interp, reader_);
  }
  ~FormCompiler() { interp_.runState = savedRunState_; }
  FormCompiler(const FormCompiler&) = delete;
  FormCompiler& operator=(const FormCompiler&) = delete;

  const StatementForm* Statement();
  std::unique_ptr<ParameterForm> Parameters();
  std::unique_ptr<Declarations> ParseDeclarations();
  void ParseKeywordExpression(StatementForm& statement);
  const Chain* Expression() { return Bound() ? ParseChain(LevelLogic) : nullptr; }

 private:
  // The reader must stand on the same token memory as the running context.
  bool Bound() const { return reader_.tokenCache != nullptr && reader_.text == reader_.tokenText; }

  // The next token as NextToken gives it; -1 when it cannot be read or is
  // not remembered (the form could not restore the reading state there).
  int Next() {
    const int t = NextToken(interp_, reader_);
    at_ = reader_.tokenStart;
    if (t == TokError || size_t(at_) >= reader_.tokenSlotCount ||
        reader_.tokenSlots[at_].code != t) {
      return -1;
    }
    return t;
  }
  void GiveBack() { reader_.cursor = at_; }

  template <class T>
  T* Make() {
    auto made = std::make_unique<T>();
    T* raw = made.get();
    forms_.exprs.push_back(std::move(made));
    return raw;
  }

  void MakeAssignment(StatementForm& statement);
  // A literal: one token, which replaces the current value at once.
  template <class T>
  T* Literal(int32_t at) {
    T* literal = Make<T>();
    literal->first = at;
    literal->literalStart = true;
    literal->end = {at, false};
    return literal;
  }

  const Chain* ParseChain(int minLevel);
  const Expr* ParsePrimary();
  const Expr* ParseName(int32_t first);
  void ParseTail(NameExpr& name);
  bool ParseArguments(std::vector<const Chain*>& arguments, int32_t& close,
                      int32_t* openAt = nullptr);

  Interpreter& interp_;
  TextForms& forms_;
  ExecContext reader_;
  int32_t at_ = 0;  // where the token read last begins
  int depth_ = 0;
  int32_t savedRunState_;
};

inline bool NumberOrVariable(const Expr& operand) {
  return operand.shape == Shape::Number || operand.shape == Shape::Variable;
}

inline Chain::RealOperand RealOperandOf(const Expr& operand) {
  if (operand.shape == Shape::Number) {
    return {nullptr, static_cast<const NumberExpr&>(operand).value};
  }
  return {static_cast<const NameExpr*>(&operand), 0.0};
}

// Counts the nesting of the parse while it lives.
class Nesting {
 public:
  explicit Nesting(int& depth) : depth_(depth) { ++depth_; }
  ~Nesting() { --depth_; }
  Nesting(const Nesting&) = delete;
  Nesting& operator=(const Nesting&) = delete;
  bool TooDeep() const { return depth_ > kMaxNesting; }

 private:
  int& depth_;
};

const StatementForm* FormCompiler::Statement() {
  if (!Bound()) return nullptr;
  const int t = Next();
  auto made = std::make_unique<StatementForm>();
  made->at = at_;
  made->start = {at_, false};
  switch (t) {
    case TokBlockOpen: made->kind = StatementForm::Block; break;
    case TokBlockClose: made->kind = StatementForm::Close; break;
    case TokEnd: made->kind = StatementForm::End; break;
    case TokIdentifier:
      made->handler = FindStatementKeyword(reader_);
      if (made->handler == ExecIf || made->handler == ExecElseIf ||
          made->handler == ExecReturn) {
        ParseKeywordExpression(*made);
      } else if (made->handler == ExecDim) {
        made->kind = StatementForm::Declaration;
        made->declarations = ParseDeclarations();
        if (made->declarations == nullptr) made->kind = StatementForm::Keyword;
      } else if (made->handler == ExecElse) {
        made->kind = StatementForm::Else;
      } else if (made->handler != nullptr) {
        made->kind = StatementForm::Keyword;
      } else {
        GiveBack();
        made->kind = StatementForm::Expression;
        made->expression = ParseChain(LevelLogic);
        if (made->expression == nullptr) return nullptr;
        MakeAssignment(*made);
      }
      break;
    default:
      return nullptr;  // the plain path reports it
  }
  made->run = RunnerOf(made->kind);
  const StatementForm* form = made.get();
  forms_.statements.push_back(std::move(made));
  return form;
}

// NAME = expression, alone: the statement assigns without the chain and
// the name around its right side.
void FormCompiler::MakeAssignment(StatementForm& statement) {
  const Chain& chain = *statement.expression;
  if (!chain.steps.empty() || chain.head->shape != Shape::Name) return;
  const NameExpr& name = static_cast<const NameExpr&>(*chain.head);
  if (name.whole || !name.steps.empty() || name.assigned == nullptr) return;
  statement.kind = StatementForm::Assignment;
  statement.target = &name;
  statement.expression = name.assigned;
}

// The expression that IF, ELSEIF and RETURN evaluate after the keyword
// (RETURN only one in parentheses); the keyword's handler when it is none
// the forms know.
void FormCompiler::ParseKeywordExpression(StatementForm& statement) {
  statement.kind = StatementForm::Keyword;
  if (statement.handler == ExecReturn) {
    const int t = Next();
    if (t < 0) return;
    GiveBack();
    if (t != TokOpenParen) {
      statement.kind = StatementForm::Return;
      statement.after = {at_, true};
      return;
    }
  }
  const Chain* expression = ParseChain(LevelLogic);
  if (expression == nullptr || expression->open) return;
  statement.expression = expression;
  statement.kind = statement.handler == ExecIf       ? StatementForm::If
                   : statement.handler == ExecElseIf ? StatementForm::ElseIf
                                                     : StatementForm::Return;
}

// DIM's names as ReadDeclaredName and NextInList read them, when each is a
// name alone (an index or member after one is evaluated: the plain way).
std::unique_ptr<Declarations> FormCompiler::ParseDeclarations() {
  auto made = std::make_unique<Declarations>();
  for (;;) {
    if (Next() != TokIdentifier) return nullptr;
    Declarations::Name declared;
    declared.name = reader_.TokenView();
    declared.bucket = names::NameBucket(declared.name);
    const int t = Next();
    if (t < 0 || t == TokOpenBracket || t == TokPeriod) return nullptr;
    declared.after = {at_, true};
    made->names.push_back(std::move(declared));
    if (t != TokComma) return made;
  }
}

// As BindParameters reads the list: any token but , and ) names one.
std::unique_ptr<ParameterForm> FormCompiler::Parameters() {
  if (!Bound()) return nullptr;
  auto made = std::make_unique<ParameterForm>();
  int t = Next();
  if (t < 0) return nullptr;
  if (t != TokOpenParen) {
    made->end = {at_, true};
    return made;
  }
  made->list = true;
  for (;;) {
    t = Next();
    if (t < 0 || t == TokEnd) return nullptr;
    if (t == TokCloseParen) {
      made->end = {at_, false};
      return made;
    }
    if (t == TokComma) continue;
    made->names.emplace_back(reader_.TokenView());
    made->keys.emplace_back(std::u16string_view(made->names.back()));
    made->buckets.push_back(names::NameBucket(made->names.back()));
  }
}

const Chain* FormCompiler::ParseChain(int minLevel) {
  const Nesting nesting(depth_);
  if (nesting.TooDeep()) return nullptr;
  Chain* chain = Make<Chain>();
  chain->minLevel = minLevel;
  chain->head = ParsePrimary();
  if (chain->head == nullptr) return nullptr;
  chain->first = chain->head->first;
  chain->literalStart = chain->head->literalStart;
  if (chain->head->open) {
    chain->open = true;
    return chain;
  }
  for (;;) {
    const int t = Next();
    if (t < 0) return nullptr;
    const int level = LevelOf(t);
    if (level < minLevel) {
      chain->end = {at_, true};
      GiveBack();
      if (chain->steps.size() == 1 && NumberOrVariable(*chain->head) &&
          NumberOrVariable(*chain->steps.front().right)) {
        chain->pairOfReals = true;
        chain->pair[0] = RealOperandOf(*chain->head);
        chain->pair[1] = RealOperandOf(*chain->steps.front().right);
        chain->pairOp = chain->steps.front().op;
      }
      return chain;
    }
    const Expr* right = level == LevelMultiplicative ? ParsePrimary() : ParseChain(level + 1);
    if (right == nullptr) return nullptr;
    bool bare = false;
    if (right->shape == Shape::Chain) {
      // A chain of one operand: run the operand alone, and go on as the
      // chain would if the plain path takes over in it.
      const Chain& operands = static_cast<const Chain&>(*right);
      if (operands.steps.empty()) {
        right = operands.head;
        bare = true;
      }
    }
    chain->steps.push_back({t, level, right, bare});
    if (right->open) {
      chain->open = true;
      return chain;
    }
  }
}

const Expr* FormCompiler::ParsePrimary() {
  const Nesting nesting(depth_);
  if (nesting.TooDeep()) return nullptr;
  const int t = Next();
  const int32_t first = at_;
  switch (t) {
    case TokNumber:
    case TokHexNumber: {
      NumberExpr* number = Literal<NumberExpr>(first);
      number->value = NumberTokenValue(reader_, t == TokHexNumber);
      return number;
    }
    case TokString: {
      TextExpr* text = Literal<TextExpr>(first);
      text->text = reader_.TokenView();
      return text;
    }
    case TokOpenParen: {
      GroupExpr* group = Make<GroupExpr>();
      group->first = first;
      group->inner = ParseChain(LevelLogic);
      if (group->inner == nullptr) return nullptr;
      if (group->inner->open) {
        group->open = true;
        return group;
      }
      if (Next() != TokCloseParen) return nullptr;
      group->end = {at_, false};
      return group;
    }
    case TokPlus:
    case TokMinus: {
      SignExpr* sign = Make<SignExpr>();
      sign->first = first;
      sign->negate = t == TokMinus;
      sign->operand = ParsePrimary();
      if (sign->operand == nullptr) return nullptr;
      sign->open = sign->operand->open;
      sign->end = sign->operand->end;
      return sign;
    }
    case TokIdentifier: {
      if (!interp_.builtins.empty()) {
        const auto found = interp_.builtins.find(reader_.TokenView());
        if (found != interp_.builtins.end()) {
          BuiltinExpr* builtin = Make<BuiltinExpr>();
          builtin->first = first;
          builtin->handler = found->second;
          // Where its handler is expected to stop reading: the ) of a
          // list the forms can read; else nothing is known about its end.
          int32_t close = 0;
          builtin->open = !ParseArguments(builtin->arguments, close, &builtin->openAt);
          if (builtin->open) {
            builtin->arguments.clear();
          } else {
            builtin->end = {close, false};
          }
          return builtin;
        }
      }
      return ParseName(first);
    }
    default:
      return nullptr;  // the plain path reports it
  }
}

// The reference's steps as the walk reads them: . [ index ] and member
// names, up to the = or the token after the reference.
const Expr* FormCompiler::ParseName(int32_t first) {
  NameExpr* name = Make<NameExpr>();
  name->first = first;
  name->name = reader_.TokenView();
  name->bucket = names::NameBucket(name->name);
  name->held = !name->name.empty() && name->name.front() == names::kInputValueMark;
  bool member = false;
  for (;;) {
    const int t = Next();
    if (t < 0) return nullptr;
    if (t == TokPeriod) {
      member = true;
      continue;
    }
    if (t == TokAssign) {
      name->assignAt = at_;
      name->assigned = ParseChain(LevelLogic);
      if (name->assigned == nullptr) return nullptr;
      name->open = name->assigned->open;
      name->end = name->assigned->end;
      return name;
    }
    if (t == TokOpenBracket) {
      const Chain* index = ParseChain(LevelLogic);
      if (index == nullptr) return nullptr;
      if (index->open || Next() != TokCloseBracket) break;
      name->steps.push_back({index, vellvar(0)});
      continue;
    }
    if (member) {
      if (t != TokIdentifier && t != TokNumber && t != TokHexNumber && t != TokString &&
          t != TokAnd && t != TokOr) {
        break;
      }
      name->steps.push_back({nullptr, vellvar(reader_.TokenView())});
      member = false;
      continue;
    }
    name->after = {at_, true};
    GiveBack();
    ParseTail(*name);
    if (name->steps.empty() && !name->afterOpensList) name->shape = Shape::Variable;
    return name;
  }
  // Anything unusual: the plain path reads the whole reference.
  name->whole = true;
  name->open = true;
  name->steps.clear();
  return name;
}

// A read: the token after the reference opens the argument list of a SUB
// when there is one; the form knows the list when its arguments hold no
// built-in and it is closed by ).
void FormCompiler::ParseTail(NameExpr& name) {
  name.end = name.after;
  name.afterOpensList = reader_.tokenSlots[name.after.at].code == TokOpenParen;
  if (!name.afterOpensList) return;
  if (ParseArguments(name.arguments, name.close)) {
    name.called = true;
    name.end = {name.close, false};
    return;
  }
  name.arguments.clear();
  reader_.cursor = name.after.at;  // the plain path reads on from the (
}

// An argument list in parentheses whose every argument the forms know,
// with the positions of its ) and (.
bool FormCompiler::ParseArguments(std::vector<const Chain*>& arguments, int32_t& close,
                                  int32_t* openAt) {
  if (Next() != TokOpenParen) return false;
  if (openAt != nullptr) *openAt = at_;
  int t = Next();
  if (t < 0) return false;
  if (t == TokCloseParen) {
    close = at_;
    return true;
  }
  GiveBack();
  for (;;) {
    const Chain* argument = ParseChain(LevelLogic);
    if (argument == nullptr || argument->open) return false;
    arguments.push_back(argument);
    t = Next();
    if (t == TokCloseParen) {
      close = at_;
      return true;
    }
    if (t != TokComma) return false;
  }
}

}  // namespace

const StatementForm* MakeStatement(Interpreter& interp, ExecContext& ctx, TextForms& forms) {
  FormCompiler compiler(interp, ctx, forms);
  return compiler.Statement();
}

std::unique_ptr<ParameterForm> MakeParameters(Interpreter& interp, ExecContext& ctx,
                                              TextForms& forms) {
  FormCompiler compiler(interp, ctx, forms);
  return compiler.Parameters();
}

const Chain* MakeExpression(Interpreter& interp, ExecContext& ctx, TextForms& forms) {
  FormCompiler compiler(interp, ctx, forms);
  return compiler.Expression();
}

}  // namespace vell::forms

// Finding a position's remembered forms, and restoring the plain path's
// reading state where a form hands over or fails.
#include "core/remembered_forms.h"


#include "core/interpreter_state.h"
#include "core/lexer.h"
#include "core/reference_mode.h"
#include "core/token_cache.h"

namespace vell::forms {

namespace {

// Forms made against other built-ins name the wrong handlers: forget them
// (they stay alive, as one may be running) and learn the text again.
void FollowBuiltins(Interpreter& interp, TextForms& forms) {
  if (forms.builtinTable == &interp.builtins && forms.builtinStamp == gBuiltinStamp &&
      forms.builtinCount == interp.builtins.size()) {
    return;
  }
  forms.parametersState = Learnt::Unseen;  // made without built-ins, but learnt again alike
  forms.statementAt.assign(forms.statementAt.size(), nullptr);
  forms.expressionAt.assign(forms.expressionAt.size(), nullptr);
  for (Place& place : forms.places) {
    place.statementState = Learnt::Unseen;
    place.expressionState = Learnt::Unseen;
    place.statement = nullptr;
    place.expression = nullptr;
  }
  forms.builtinTable = &interp.builtins;
  forms.builtinStamp = gBuiltinStamp;
  forms.builtinCount = interp.builtins.size();
}

}  // namespace

TextForms& LearnFormsOf(Interpreter& interp, TokenCache& cache) {
  if (cache.forms == nullptr) {
    cache.forms = std::make_unique<TextForms>();
    cache.forms->placeAt.assign(cache.slotCount, nullptr);
    cache.forms->statementAt.assign(cache.slotCount, nullptr);
    cache.forms->expressionAt.assign(cache.slotCount, nullptr);
    cache.forms->skipTo.assign(cache.slotCount, -1);
  }
  FollowBuiltins(interp, *cache.forms);
  return *cache.forms;
}

Place* NewPlace(TextForms& forms, size_t position) {
  forms.places.emplace_back();
  forms.placeAt[position] = &forms.places.back();
  return forms.placeAt[position];
}

namespace {

// Nothing the first time a place is asked for a form; the form (or that
// there is none) the second time; from then on what was found.
template <class Form, class Make>
const Form* Learn(Learnt& state, const Form*& form, Make make) {
  if (state == Learnt::Unseen) {
    state = Learnt::SeenOnce;
  } else if (state == Learnt::SeenOnce) {
    form = make();
    state = form != nullptr ? Learnt::Known : Learnt::Plain;
  }
  return form;
}

}  // namespace

const StatementForm* LearnStatement(Interpreter& interp, ExecContext& ctx, Place& place) {
  const StatementForm* form = Learn(place.statementState, place.statement,
                                    [&] { return MakeStatement(interp, ctx, *ctx.textForms); });
  ctx.textForms->statementAt[size_t(ctx.cursor)] = form;
  return form;
}

const Chain* LearnExpression(Interpreter& interp, ExecContext& ctx, Place& place) {
  const Chain* form = Learn(place.expressionState, place.expression,
                            [&] { return MakeExpression(interp, ctx, *ctx.textForms); });
  ctx.textForms->expressionAt[size_t(ctx.cursor)] = form;
  return form;
}

const ParameterForm* ParametersAt(Interpreter& interp, ExecContext& ctx) {
  if (ctx.text != ctx.tokenText || ctx.cursor != 0) return nullptr;
  TextForms& forms = *ctx.textForms;
  if (forms.parametersState == Learnt::Known) return forms.parameters.get();
  const ParameterForm* known = forms.parameters.get();
  return Learn(forms.parametersState, known, [&] {
    forms.parameters = MakeParameters(interp, ctx, forms);
    return forms.parameters.get();
  });
}

}  // namespace vell::forms

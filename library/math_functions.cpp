// The math functions: RND INT ABS SGN EXP POW LOG SQR SIN COS TAN ATAN MOD ROUND.
//
// Every argument is read as a number (text reads as the number it starts
// with, else 0). Results are reals except SGN's. Domain and range problems
// other than LOG's give the math library's NaN or infinity and the run goes on.
#include "library/math_functions.h"

#include <cmath>

#include "core/interpreter_state.h"
#include "library/builtin_support.h"
#include "library/function_families.h"

namespace vell {

namespace {

constexpr uint64_t kLongMultiplier = 0x0000015A00004E35ULL;

// Reads the one argument of a function of one real.
bool ReadOneReal(Interpreter& interp, ExecContext& ctx, double* x) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return false;
  *x = args[0].ToReal();
  return true;
}

bool ReadTwoReals(Interpreter& interp, ExecContext& ctx, double* a, double* b) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return false;
  *a = args[0].ToReal();
  *b = args[1].ToReal();
  return true;
}

HandlerResult FnRnd(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  ctx.value = static_cast<double>(RandomBelow(interp, args[0].ToInt()));
  return ResultDone;
}

HandlerResult FnInt(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = std::floor(x);
  return ResultDone;
}

HandlerResult FnAbs(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = std::fabs(x);
  return ResultDone;
}

HandlerResult FnSgn(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = x > 0 ? 1 : (x == 0 ? 0 : -1);
  return ResultDone;
}

HandlerResult FnExp(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = std::exp(x);
  return ResultDone;
}

HandlerResult FnPow(Interpreter& interp, ExecContext& ctx) {
  double a, b;
  if (!ReadTwoReals(interp, ctx, &a, &b)) return ResultFailed;
  ctx.value = std::pow(a, b);
  return ResultDone;
}

HandlerResult FnLog(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  // Only a value above 0 reaches the logarithm (NaN does not either).
  if (!(x > 0.0)) return Fail(interp, ErrorArithmetic);
  ctx.value = std::log(x);
  return ResultDone;
}

HandlerResult FnSqr(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = std::sqrt(x);
  return ResultDone;
}

HandlerResult FnSin(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = std::sin(x);
  return ResultDone;
}

HandlerResult FnCos(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = std::cos(x);
  return ResultDone;
}

HandlerResult FnTan(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = std::tan(x);
  return ResultDone;
}

HandlerResult FnAtan(Interpreter& interp, ExecContext& ctx) {
  double x;
  if (!ReadOneReal(interp, ctx, &x)) return ResultFailed;
  ctx.value = std::atan(x);
  return ResultDone;
}

HandlerResult FnMod(Interpreter& interp, ExecContext& ctx) {
  double a, b;
  if (!ReadTwoReals(interp, ctx, &a, &b)) return ResultFailed;
  // The remainder takes the sign of a; MOD(-6, 3) is therefore -0.
  ctx.value = b == 0.0 ? 0.0 : std::fmod(a, b);
  return ResultDone;
}

HandlerResult FnRound(Interpreter& interp, ExecContext& ctx) {
  double x, n;
  if (!ReadTwoReals(interp, ctx, &x, &n)) return ResultFailed;
  const double p = std::pow(10.0, n);
  ctx.value = std::floor(x * p + 0.5) / p;
  return ResultDone;
}

}  // namespace

int32_t DrawLongRandom(Interpreter& interp) {
  interp.randomState = interp.randomState * kLongMultiplier + 1;
  return static_cast<int32_t>((interp.randomState >> 32) & 0x7FFFFFFFU);
}

int32_t RandomBelow(Interpreter& interp, int32_t n) {
  if (n == 0) return 0;
  const int32_t r = DrawLongRandom(interp);
  // r is never negative, so the remainder lies in 0 .. |n| - 1 for either
  // sign of n (and r % INT32_MIN is simply r).
  return r % n;
}

void RegisterMathFunctions(Interpreter& interp) {
  RegisterBuiltin(interp, u"RND", FnRnd);
  RegisterBuiltin(interp, u"INT", FnInt);
  RegisterBuiltin(interp, u"ABS", FnAbs);
  RegisterBuiltin(interp, u"SGN", FnSgn);
  RegisterBuiltin(interp, u"EXP", FnExp);
  RegisterBuiltin(interp, u"POW", FnPow);
  RegisterBuiltin(interp, u"LOG", FnLog);
  RegisterBuiltin(interp, u"SQR", FnSqr);
  RegisterBuiltin(interp, u"SIN", FnSin);
  RegisterBuiltin(interp, u"COS", FnCos);
  RegisterBuiltin(interp, u"TAN", FnTan);
  RegisterBuiltin(interp, u"ATAN", FnAtan);
  RegisterBuiltin(interp, u"MOD", FnMod);
  RegisterBuiltin(interp, u"ROUND", FnRound);
}

}  // namespace vell

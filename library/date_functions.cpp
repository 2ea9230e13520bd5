// The date and time functions: NOW DATE TIME YEAR MONTH DAY WEEK HOUR MINUTE
// SECOND CLOCK, on the Gregorian calendar extended backward.
#include "library/date_functions.h"

#include <time.h>

#include <cmath>

#include "core/interpreter.h"
#include "library/builtin_support.h"
#include "library/function_families.h"

namespace vell {

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Days from 0001-01-01 (day 1) to 1899-12-30.
constexpr int64_t kDayZeroOffset = 693594;
// 9999-12-31 counted from 0001-01-01 as day 1.
constexpr int64_t kLastCalendarDay = 3652059;

bool IsLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int64_t y, int m) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// Rounds to the nearest whole number, a half to the even neighbour, whatever
// rounding mode the floating-point unit is in.
double RoundHalfEven(double x) {
  const double low = std::floor(x);
  const double diff = x - low;
  if (diff < 0.5) return low;
  if (diff > 0.5) return low + 1.0;
  return std::fmod(low, 2.0) == 0.0 ? low : low + 1.0;
}

// The Gregorian date of day number n >= 1 (0001-01-01 is 1).
void CivilFromDayNumber(int64_t n, DateParts* parts) {
  constexpr int64_t kDays400 = 146097;
  constexpr int64_t kDays100 = 36524;
  constexpr int64_t kDays4 = 1461;
  constexpr int64_t kDays1 = 365;
  int64_t t = n - 1;
  int64_t year = 1 + (t / kDays400) * 400;
  t %= kDays400;
  int64_t i = t / kDays100;
  int64_t d = t % kDays100;
  if (i == 4) {  // the last day of a 400-year cycle
    i = 3;
    d += kDays100;
  }
  year += i * 100;
  year += (d / kDays4) * 4;
  d %= kDays4;
  i = d / kDays1;
  d %= kDays1;
  if (i == 4) {  // the last day of a leap year
    i = 3;
    d += kDays1;
  }
  year += i;
  int month = 1;
  while (d >= DaysInMonth(year, month)) {
    d -= DaysInMonth(year, month);
    ++month;
  }
  parts->year = static_cast<int32_t>(year);
  parts->month = month;
  parts->day = static_cast<int32_t>(d + 1);
}

// The local date and time now, as a date-time.
double LocalNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const int32_t ms = static_cast<int32_t>(now.tv_nsec / 1000000);
  tm local{};
  const time_t seconds = now.tv_sec;
  if (localtime_r(&seconds, &local) != nullptr) {
    const int32_t second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second
    const auto date = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    const auto time = EncodeTime(local.tm_hour, local.tm_min, second, ms);
    if (date && time) return *date + *time;
  }
  // No local time to be had: count from the epoch in UTC (1970-01-01 is day 25569).
  const int64_t sinceEpoch = static_cast<int64_t>(now.tv_sec) * 1000 + ms;
  const int64_t days =
      sinceEpoch >= 0 ? sinceEpoch / kMsPerDay : -((-sinceEpoch + kMsPerDay - 1) / kMsPerDay);
  const int64_t rest = sinceEpoch - days * kMsPerDay;
  return static_cast<double>(days + 25569) + static_cast<double>(rest) / kMsPerDay;
}

HandlerResult FnNow(Interpreter& interp, ExecContext& ctx) {
  (void)interp;
  ctx.value = LocalNow();
  return ResultDone;
}

// DATE and TIME take each part as an unsigned 16-bit number.
int32_t Part16(const vellvar& v) {
  return static_cast<int32_t>(static_cast<uint32_t>(v.ToInt()) & 0xFFFFU);
}

HandlerResult FnDate(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<3> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const auto date = EncodeDate(Part16(args[0]), Part16(args[1]), Part16(args[2]));
  if (!date) return Fail(interp, ErrorArithmetic);
  ctx.value = *date;
  return ResultDone;
}

HandlerResult FnTime(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<3> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const auto time = EncodeTime(Part16(args[0]), Part16(args[1]), Part16(args[2]));
  if (!time) return Fail(interp, ErrorArithmetic);
  ctx.value = *time;
  return ResultDone;
}

// The part functions of one date-time argument.
template <int32_t DateParts::*Member>
HandlerResult FnPart(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  ctx.value = DecodeDateTime(args[0].ToReal()).*Member;
  return ResultDone;
}

HandlerResult FnClock(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const DateParts p = DecodeDateTime(args[0].ToReal());
  int32_t result = 0;
  switch (args[1].ToInt()) {
    case 0:
      result = p.weekday;
      break;
    case 1:
      result = p.year;
      break;
    case 2:
      result = p.month;
      break;
    case 3:
      result = p.day;
      break;
    case 4:
      result = p.hour;
      break;
    case 5:
      result = p.minute;
      break;
    case 6:
      result = p.second;
      break;
    case 7:
      result = p.millisecond;
      break;
    default:
      break;
  }
  ctx.value = result;
  return ResultDone;
}

}  // namespace

std::optional<double> EncodeDate(int32_t year, int32_t month, int32_t day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return std::nullopt;
  }
  int64_t n = day;
  for (int m = 1; m < month; ++m) n += DaysInMonth(year, m);
  const int64_t f = year - 1;
  return static_cast<double>(f * 365 + f / 4 - f / 100 + f / 400 + n - kDayZeroOffset);
}

std::optional<double> EncodeTime(int32_t hour, int32_t minute, int32_t second,
                                 int32_t millisecond) {
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 ||
      millisecond < 0 || millisecond >= 1000) {
    return std::nullopt;
  }
  const int64_t ms = hour * 3600000LL + minute * 60000LL + second * 1000LL + millisecond;
  return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

DateParts DecodeDateTime(double t) {
  DateParts parts;
  if (!std::isfinite(t)) return parts;
  const double scaled = RoundHalfEven(t * static_cast<double>(kMsPerDay));
  // Whole milliseconds must fit 64 bits (2^63 is exactly representable).
  if (!(scaled < 9223372036854775808.0 && scaled > -9223372036854775808.0)) return parts;
  const int64_t ms = static_cast<int64_t>(scaled);
  int64_t time;
  int64_t day;  // 0001-01-01 is day 1
  if (ms >= 0) {
    time = ms % kMsPerDay;
    day = ms / kMsPerDay + kDayZeroOffset;
  } else {
    time = (-ms) % kMsPerDay;
    day = kDayZeroOffset - (-ms) / kMsPerDay;
  }
  // Outside the calendar's years 1 to 9999 the date reads 0-0-0; the time of
  // day and the weekday still come from their own formulas.
  if (day > 0 && day <= kLastCalendarDay) CivilFromDayNumber(day, &parts);
  parts.weekday = static_cast<int32_t>(day % 7 + 1);
  parts.hour = static_cast<int32_t>(time / 3600000);
  parts.minute = static_cast<int32_t>(time / 60000 % 60);
  parts.second = static_cast<int32_t>(time / 1000 % 60);
  parts.millisecond = static_cast<int32_t>(time % 1000);
  return parts;
}

void RegisterDateFunctions(Interpreter& interp) {
  RegisterBuiltin(interp, u"NOW", FnNow);
  RegisterBuiltin(interp, u"DATE", FnDate);
  RegisterBuiltin(interp, u"TIME", FnTime);
  RegisterBuiltin(interp, u"YEAR", FnPart<&DateParts::year>);
  RegisterBuiltin(interp, u"MONTH", FnPart<&DateParts::month>);
  RegisterBuiltin(interp, u"DAY", FnPart<&DateParts::day>);
  RegisterBuiltin(interp, u"WEEK", FnPart<&DateParts::weekday>);
  RegisterBuiltin(interp, u"HOUR", FnPart<&DateParts::hour>);
  RegisterBuiltin(interp, u"MINUTE", FnPart<&DateParts::minute>);
  RegisterBuiltin(interp, u"SECOND", FnPart<&DateParts::second>);
  RegisterBuiltin(interp, u"CLOCK", FnClock);
}

}  // namespace vell

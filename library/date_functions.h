// The calendar behind the date and time functions.
//
// A date-time is a real: whole days since 1899-12-30 (day 0) plus the
// fraction of the day. Before 1899-12-30 the integer part, taken toward zero,
// gives the day and the fraction's magnitude the time of day.
#pragma once

#include <cstdint>
#include <optional>

namespace vell {

// The parts of one date-time.
struct DateParts {
  int32_t weekday = 0;  // 1 Sunday .. 7 Saturday
  int32_t year = 0;     // 0 for dates before 0001-01-01 or after 9999-12-31
  int32_t month = 0;
  int32_t day = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t millisecond = 0;
};

// The day number of y-m-d, or nothing when the date is not one of the
// calendar's (years 1 to 9999).
std::optional<double> EncodeDate(int32_t year, int32_t month, int32_t day);

// The fraction of a day of h:m:s.ms, or nothing when a part is out of range.
std::optional<double> EncodeTime(int32_t hour, int32_t minute, int32_t second,
                                 int32_t millisecond = 0);

// Takes a date-time apart. Outside the years 1 to 9999 the year, month and
// day are 0 while the weekday and the time of day follow the day count; NaN,
// infinities and values too large to count in milliseconds give 0 for every
// part.
DateParts DecodeDateTime(double t);

}  // namespace vell

#include "library/date_functions.h"

#include <gtest/gtest.h>

using namespace vell;

namespace vell {
namespace {

void ExpectParts(double t, int weekday, int year, int month, int day, int hour, int minute,
                 int second, int ms) {
  const DateParts p = DecodeDateTime(t);
  EXPECT_EQ(p.weekday, weekday) << t;
  EXPECT_EQ(p.year, year) << t;
  EXPECT_EQ(p.month, month) << t;
  EXPECT_EQ(p.day, day) << t;
  EXPECT_EQ(p.hour, hour) << t;
  EXPECT_EQ(p.minute, minute) << t;
  EXPECT_EQ(p.second, second) << t;
  EXPECT_EQ(p.millisecond, ms) << t;
}

// Every day of the calendar decodes to the date it was made from, one day
// after the other, and the weekdays run on in sevens.
TEST(Calendar, EveryDayRoundTrips) {
  int expectedWeekday = 2;  // 0001-01-01 was a Monday
  double expectedNumber = -693593.0;
  for (int y = 1; y <= 9999; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= 31; ++d) {
        const auto n = EncodeDate(y, m, d);
        if (!n) continue;
        ASSERT_EQ(*n, expectedNumber) << y << "-" << m << "-" << d;
        const DateParts p = DecodeDateTime(*n);
        ASSERT_EQ(p.year, y);
        ASSERT_EQ(p.month, m);
        ASSERT_EQ(p.day, d);
        ASSERT_EQ(p.weekday, expectedWeekday) << y << "-" << m << "-" << d;
        expectedWeekday = expectedWeekday % 7 + 1;
        expectedNumber += 1.0;
      }
    }
  }
  EXPECT_EQ(expectedNumber, 2958466.0);
}

TEST(Calendar, DecodesTimesOfDayOnBothSidesOfDayZero) {
  ExpectParts(*EncodeDate(2024, 2, 29) + *EncodeTime(10, 20, 30, 456), 5, 2024, 2, 29, 10, 20, 30,
              456);
  // A fraction that rounds up to a whole day moves to the next date.
  ExpectParts(36526.0 - 1e-10, 7, 2000, 1, 1, 0, 0, 0, 0);
  ExpectParts(36526.0 + 123.4 / 86400000.0, 7, 2000, 1, 1, 0, 0, 0, 123);
  // The last millisecond of the calendar.
  ExpectParts(2958465.0 + 86399999.0 / 86400000.0, 6, 9999, 12, 31, 23, 59, 59, 999);
}

}  // namespace
}  // namespace vell

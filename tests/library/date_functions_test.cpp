#include "library/date_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

TEST(Calendar, EncodesKnownDates) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
  EXPECT_EQ(EncodeDate(2024, 2, 29), 45351.0);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  EXPECT_EQ(EncodeDate(1600, 2, 29), -109512.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
}

TEST(Calendar, RejectsDatesOutsideTheCalendar) {
  EXPECT_FALSE(EncodeDate(2023, 2, 29));
  EXPECT_FALSE(EncodeDate(1900, 2, 29));
  EXPECT_FALSE(EncodeDate(0, 1, 1));
  EXPECT_FALSE(EncodeDate(10000, 1, 1));
  EXPECT_FALSE(EncodeDate(2000, 13, 1));
  EXPECT_FALSE(EncodeDate(2000, 0, 1));
  EXPECT_FALSE(EncodeDate(2000, 1, 0));
  EXPECT_FALSE(EncodeDate(2000, 4, 31));
  EXPECT_FALSE(EncodeDate(65535, 1, 1));
  EXPECT_TRUE(EncodeDate(2000, 12, 31));
}

TEST(Calendar, EncodesTimes) {
  EXPECT_EQ(EncodeTime(12, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(18, 0, 0), 0.75);
  EXPECT_EQ(EncodeTime(0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(*EncodeTime(23, 59, 59), 86399.0 / 86400.0);
  EXPECT_FALSE(EncodeTime(24, 0, 0));
  EXPECT_FALSE(EncodeTime(0, 60, 0));
  EXPECT_FALSE(EncodeTime(0, 0, 60));
  EXPECT_FALSE(EncodeTime(0, 0, 0, 1000));
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
  ExpectParts(0.0, 7, 1899, 12, 30, 0, 0, 0, 0);
  ExpectParts(0.75, 7, 1899, 12, 30, 18, 0, 0, 0);
  // Before day 0 the fraction's magnitude is the time of day.
  ExpectParts(-0.25, 7, 1899, 12, 30, 6, 0, 0, 0);
  ExpectParts(-1.5, 6, 1899, 12, 29, 12, 0, 0, 0);
  ExpectParts(*EncodeDate(2024, 1, 1) + *EncodeTime(6, 0, 0), 2, 2024, 1, 1, 6, 0, 0, 0);
  ExpectParts(*EncodeDate(2024, 2, 29) + *EncodeTime(10, 20, 30, 456), 5, 2024, 2, 29, 10, 20, 30,
              456);
  // A fraction that rounds up to a whole day moves to the next date.
  ExpectParts(36526.0 - 1e-10, 7, 2000, 1, 1, 0, 0, 0, 0);
  ExpectParts(36526.0 + 123.4 / 86400000.0, 7, 2000, 1, 1, 0, 0, 0, 123);
  // The last millisecond of the calendar.
  ExpectParts(2958465.0 + 86399999.0 / 86400000.0, 6, 9999, 12, 31, 23, 59, 59, 999);
}

TEST(Calendar, DatesBeforeYearOneKeepOnlyTheTime) {
  const DateParts p = DecodeDateTime(-700000.0);
  EXPECT_EQ(p.year, 0);
  EXPECT_EQ(p.month, 0);
  EXPECT_EQ(p.day, 0);
  EXPECT_EQ(DecodeDateTime(-693593.0).year, 1);    // 0001-01-01 itself
  const DateParts q = DecodeDateTime(-693594.25);  // the day before, 06:00
  EXPECT_EQ(q.year, 0);
  EXPECT_EQ(q.hour, 6);
}

TEST(Calendar, ValuesNoCalendarHoldsGiveZeroParts) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(),
                        1e300,
                        -1e300,
                        1.1e11,
                        -1.1e11,
                        2958466.0,  // 10000-01-01
                        2958466.5};
  for (double t : bad) ExpectParts(t, 0, 0, 0, 0, 0, 0, 0, 0);
}

}  // namespace
}  // namespace vell

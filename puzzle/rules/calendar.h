#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vokta {

// A day of the calendar, as today's task knows it: in UTC, written
// YYYY-MM-DD, from 2000-01-01 to 2999-12-31.
struct Date {
    int year = 2000;
    int month = 1;
    int day = 1;

    friend constexpr bool operator==(const Date&, const Date&) = default;
    friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

inline constexpr int kFirstYear = 2000;
inline constexpr int kLastYear = 2999;

// Why a text is no date.
enum class DateProblem {
    Format,      // not YYYY-MM-DD
    NoSuchDay,   // the month or the day does not exist, as 2027-02-30
    OutOfRange,  // before 2000 or after 2999
};

struct DateRead {
    std::optional<Date> date;
    DateProblem problem = DateProblem::Format;  // when there is no date
};

DateRead readDate(std::string_view text);
// "2026-03-01".
std::string dateText(Date date);
// What is wrong with a date that was refused, in a few English words.
std::string_view dateProblemText(DateProblem problem);

// Days since 2000-01-01, which is day 0; and back.
int dayNumber(Date date);
Date dateOfDay(int number);

// Today in UTC, by the system's clock.
Date todayInUtc();

}  // namespace vokta

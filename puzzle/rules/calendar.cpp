#include "puzzle/rules/calendar.h"

#include <chrono>
#include <cstdio>

namespace vokta {

namespace {

namespace chrono = std::chrono;

constexpr chrono::year_month_day kDayZero{chrono::year{kFirstYear}, chrono::January, chrono::day{1}};

chrono::year_month_day civil(Date date)
{
    return {chrono::year{date.year}, chrono::month{static_cast<unsigned>(date.month)},
            chrono::day{static_cast<unsigned>(date.day)}};
}

Date fromCivil(chrono::year_month_day civil)
{
    return {static_cast<int>(civil.year()), static_cast<int>(static_cast<unsigned>(civil.month())),
            static_cast<int>(static_cast<unsigned>(civil.day()))};
}

bool isDigits(std::string_view text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

int number(std::string_view digits)
{
    int value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

}  // namespace

DateRead readDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !isDigits(text.substr(0, 4)) ||
        !isDigits(text.substr(5, 2)) || !isDigits(text.substr(8, 2)))
        return {std::nullopt, DateProblem::Format};
    const Date date{number(text.substr(0, 4)), number(text.substr(5, 2)), number(text.substr(8, 2))};
    if (!civil(date).ok())
        return {std::nullopt, DateProblem::NoSuchDay};
    if (date.year < kFirstYear || date.year > kLastYear)
        return {std::nullopt, DateProblem::OutOfRange};
    return {date, DateProblem::Format};
}

std::string dateText(Date date)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string_view dateProblemText(DateProblem problem)
{
    switch (problem) {
    case DateProblem::Format: return "not a date written YYYY-MM-DD";
    case DateProblem::NoSuchDay: return "no such day";
    case DateProblem::OutOfRange: return "not from 2000 to 2999";
    }
    return {};
}

int dayNumber(Date date)
{
    return static_cast<int>((chrono::sys_days{civil(date)} - chrono::sys_days{kDayZero}).count());
}

Date dateOfDay(int number)
{
    return fromCivil(chrono::year_month_day{chrono::sys_days{kDayZero} + chrono::days{number}});
}

Date todayInUtc()
{
    return fromCivil(chrono::year_month_day{chrono::floor<chrono::days>(chrono::system_clock::now())});
}

}  // namespace vokta

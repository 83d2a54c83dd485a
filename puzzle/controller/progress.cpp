#include "puzzle/controller/progress.h"

#include <algorithm>
#include <charconv>

namespace vokta {

namespace {

constexpr std::string_view kHeader = "# Vokta progress 1";
constexpr std::string_view kDayWord = "day\t";
// No sane game takes more; anything beyond is damage.
constexpr long long kMostMoves = 100'000'000;
constexpr long long kMostMs = 100LL * 365 * 24 * 3600 * 1000;

template <class Number> bool readNumber(std::string_view& rest, Number& value, int base)
{
    const std::size_t end = std::min(rest.find('\t'), rest.size());
    const std::string_view word = rest.substr(0, end);
    const auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (word.empty() || error != std::errc() || stop != word.data() + word.size())
        return false;
    rest = end < rest.size() ? rest.substr(end + 1) : std::string_view();
    return true;
}

}  // namespace

Progress Progress::parse(std::string_view text)
{
    Progress progress;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text = end < text.size() ? text.substr(end + 1) : std::string_view();
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.starts_with(kDayWord)) {
            if (const DateRead day = readDate(line.substr(kDayWord.size())); day.date)
                progress.recordDay(*day.date);
            continue;
        }
        std::uint64_t key = 0;
        long long moves = 0;
        long long ms = 0;
        std::string_view rest = line;
        if (line.starts_with('#') || !readNumber(rest, key, 16) || !readNumber(rest, moves, 10) ||
            !readNumber(rest, ms, 10) || !rest.empty() || key == 0 || moves < 0 || moves > kMostMoves || ms < 0 ||
            ms > kMostMs)
            continue;
        progress.recordCompletion(key, static_cast<int>(moves), ms);
    }
    return progress;
}

std::string Progress::text() const
{
    std::string text(kHeader);
    text += '\n';
    for (const auto& [key, record] : records_) {
        char hex[17];
        const auto end = std::to_chars(hex, hex + sizeof hex, key, 16).ptr;
        text.append(hex, end);
        text += '\t' + std::to_string(record.fewestMoves) + '\t' + std::to_string(record.shortestMs) + '\n';
    }
    for (const int day : days_)
        text += std::string(kDayWord) + dateText(dateOfDay(day)) + '\n';
    return text;
}

std::optional<TaskRecord> Progress::find(std::uint64_t key) const
{
    const auto found = records_.find(key);
    if (found == records_.end())
        return std::nullopt;
    return found->second;
}

bool Progress::recordCompletion(std::uint64_t key, int moves, std::int64_t ms)
{
    const auto [found, added] = records_.try_emplace(key, TaskRecord{moves, ms});
    if (added)
        return true;
    TaskRecord& record = found->second;
    const TaskRecord before = record;
    record.fewestMoves = std::min(record.fewestMoves, moves);
    record.shortestMs = std::min(record.shortestMs, ms);
    return record != before;
}

bool Progress::recordDay(Date day)
{
    return days_.insert(dayNumber(day)).second;
}

bool Progress::solvedOn(Date day) const
{
    return days_.contains(dayNumber(day));
}

int Progress::daysInARow(Date today) const
{
    int day = dayNumber(today);
    if (!days_.contains(day))
        --day;
    int count = 0;
    while (days_.contains(day - count))
        ++count;
    return count;
}

}  // namespace vokta

#include "puzzle/rules/task_library.h"

#include <algorithm>

namespace vokta {

const std::string& IndexLine::field(IndexField which) const
{
    static const std::string kNone;
    const auto index = static_cast<std::size_t>(which);
    return index < fields.size() ? fields[index] : kNone;
}

std::vector<IndexLine> parseLibraryIndex(std::string_view text)
{
    std::vector<IndexLine> lines;
    for (int number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text = end < text.size() ? text.substr(end + 1) : std::string_view();
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        IndexLine entry{number, {}};
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            entry.fields.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
            if (tab == std::string_view::npos)
                break;
            start = tab + 1;
        }
        lines.push_back(std::move(entry));
    }
    return lines;
}

const char* difficultyOf(std::uint64_t solutions)
{
    if (solutions >= kEasySolutions)
        return "easy";
    if (solutions >= kMediumSolutions)
        return "medium";
    return "hard";
}

}  // namespace vokta

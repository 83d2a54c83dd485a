#include "puzzle/rules/task_code.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <tuple>
#include <vector>

namespace vokta {

namespace {

using Problem = TaskCodeError::Problem;

constexpr std::string_view kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";
constexpr int kBitsPerLetter = 6;
constexpr int kPieceCountBits = 3;
constexpr int kCellUnit = 10;
// The farthest cell from the middle on any axis, in cell units, as task files allow.
constexpr std::int64_t kFarthest = static_cast<std::int64_t>(kFarthestCell) / kCellUnit;
// A box spans at most this many cells on an axis.
constexpr std::uint64_t kWidestBox = 2 * kFarthest + 1;
constexpr long kFarthestCoordinate = static_cast<long>(kFarthestCell);
constexpr std::string_view kLinkKey = "#task=";

enum class Layout { Mask = 0, List = 1 };

// How reading a number went.
enum class NumberRead {
    Read,
    Ended,     // the code ends first
    TooLarge,  // it runs beyond any box
};

// Bits that write value in binary.
constexpr int bitWidth(std::uint64_t value)
{
    return static_cast<int>(std::bit_width(value));
}

constexpr int numberBits(std::uint64_t value)
{
    return 2 * bitWidth(value + 1) - 1;
}

constexpr std::uint64_t zigzag(std::int64_t value)
{
    return value >= 0 ? 2 * static_cast<std::uint64_t>(value) : 2 * static_cast<std::uint64_t>(-value) - 1;
}

constexpr std::int64_t unzigzag(std::uint64_t value)
{
    return value % 2 == 0 ? static_cast<std::int64_t>(value / 2) : -static_cast<std::int64_t>(value / 2) - 1;
}

// A number longer than the farthest box needs is no box at all.
constexpr int kLongestNumberZeros = bitWidth(2 * kWidestBox) - 1;

// The longest code: 27 cells listed in the widest box, its corner farthest away.
constexpr std::uint64_t kLongestCodeBits = kPieceCountBits + 1 + 3 * numberBits(zigzag(-kFarthest)) +
    3 * numberBits(kWidestBox - 1) + numberBits(kMaxCells - 1) + kMaxCells * 3 * bitWidth(kWidestBox - 1);
static_assert(kLongestTaskCode == 1 + (kLongestCodeBits + kBitsPerLetter - 1) / kBitsPerLetter);

// Cells the first pieceCount pieces hold together.
int cellsOfPieces(int pieceCount)
{
    int cells = 0;
    for (int piece = 0; piece < pieceCount; ++piece)
        cells += cubeCount(piece);
    return cells;
}

// Each byte's worth as a letter, or -1.
constexpr std::array<int, 256> kLetterValues = [] {
    std::array<int, 256> values{};
    values.fill(-1);
    for (std::size_t k = 0; k < kAlphabet.size(); ++k)
        values[static_cast<unsigned char>(kAlphabet[k])] = static_cast<int>(k);
    return values;
}();

int letterValue(char letter)
{
    return kLetterValues[static_cast<unsigned char>(letter)];
}

TaskCodeError refusal(Problem problem, long number = 0, long limit = 0, long count = 0)
{
    return {problem, number, limit, count};
}

TaskCodeError numberRefusal(NumberRead read)
{
    return read == NumberRead::Ended ? refusal(Problem::Truncated) : refusal(Problem::FarAway, 0, kFarthestCoordinate);
}

using GridCell = std::array<std::int64_t, 3>;

// In the order the mask and the list give cells: z, then y, then x.
bool before(const GridCell& a, const GridCell& b)
{
    return std::tie(a[2], a[1], a[0]) < std::tie(b[2], b[1], b[0]);
}

class BitWriter {
public:
    void write(std::uint64_t value, int width)
    {
        for (int bit = width - 1; bit >= 0; --bit)
            bits_.push_back((value >> bit) & 1);
    }
    void writeNumber(std::uint64_t value)
    {
        const int width = bitWidth(value + 1);
        write(0, width - 1);
        write(value + 1, width);
    }
    std::string letters() const
    {
        std::string text;
        for (std::size_t start = 0; start < bits_.size(); start += kBitsPerLetter) {
            int value = 0;
            for (std::size_t k = start; k < start + kBitsPerLetter; ++k)
                value = value << 1 | (k < bits_.size() && bits_[k] ? 1 : 0);
            text += kAlphabet[static_cast<std::size_t>(value)];
        }
        return text;
    }

private:
    std::vector<bool> bits_;
};

class BitReader {
public:
    // letters: the code after its version, every one of the alphabet.
    explicit BitReader(std::string_view letters) : letters_(letters) {}

    std::uint64_t bitsLeft() const { return letters_.size() * kBitsPerLetter - position_; }
    std::size_t lettersRead() const { return (position_ + kBitsPerLetter - 1) / kBitsPerLetter; }

    // False when the code ends first.
    [[nodiscard]] bool read(int width, std::uint64_t& value)
    {
        if (static_cast<std::uint64_t>(width) > bitsLeft())
            return false;
        value = 0;
        for (int k = 0; k < width; ++k)
            value = value << 1 | (nextBit() ? 1 : 0);
        return true;
    }

    [[nodiscard]] NumberRead readNumber(std::uint64_t& value)
    {
        int zeros = 0;
        for (;;) {
            if (bitsLeft() == 0)
                return NumberRead::Ended;
            if (nextBit())
                break;
            if (++zeros > kLongestNumberZeros)
                return NumberRead::TooLarge;
        }
        std::uint64_t rest = 0;
        if (!read(zeros, rest))
            return NumberRead::Ended;
        value = ((std::uint64_t{1} << zeros) | rest) - 1;
        return NumberRead::Read;
    }

private:
    bool nextBit()
    {
        const int letter = letterValue(letters_[position_ / kBitsPerLetter]);
        const int shift = kBitsPerLetter - 1 - static_cast<int>(position_ % kBitsPerLetter);
        ++position_;
        return (letter >> shift) & 1;
    }

    std::string_view letters_;
    std::size_t position_ = 0;
};

// The character at byte place of text as a message shows it: itself when
// printable, else its byte in hexadecimal.
std::string shownCharacter(std::string_view text, std::size_t place)
{
    const auto lead = static_cast<unsigned char>(text[place]);
    if (lead >= 0x20 && lead < 0x7F)
        return std::string(1, static_cast<char>(lead));
    const int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    bool whole = length > 0 && place + static_cast<std::size_t>(length) <= text.size();
    for (int k = 1; whole && k < length; ++k)
        whole = (static_cast<unsigned char>(text[place + static_cast<std::size_t>(k)]) & 0xC0) == 0x80;
    if (whole)
        return std::string(text.substr(place, static_cast<std::size_t>(length)));
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", lead);
    return hex;
}

// The characters (not bytes) of UTF-8 text before byte place.
long charactersBefore(std::string_view text, std::size_t place)
{
    return static_cast<long>(std::count_if(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(place),
                                           [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::optional<TaskCodeError> findForeignCharacter(std::string_view code)
{
    for (std::size_t place = 0; place < code.size(); ++place) {
        if (letterValue(code[place]) < 0) {
            TaskCodeError error = refusal(Problem::ForeignCharacter, charactersBefore(code, place) + 1);
            error.text = shownCharacter(code, place);
            return error;
        }
    }
    return std::nullopt;
}

Vec3 worldCell(const GridCell& cell)
{
    return {static_cast<float>(cell[0] * kCellUnit), static_cast<float>(cell[1] * kCellUnit),
            static_cast<float>(cell[2] * kCellUnit)};
}

}  // namespace

TaskCodeWrite encodeTaskCode(const Task& task)
{
    if (task.pieceCount < 1 || task.pieceCount > kPieceTotal)
        return {std::nullopt, refusal(Problem::PieceCount, task.pieceCount)};
    if (task.cells.empty())
        return {std::nullopt, refusal(Problem::NoCells)};
    const int fillable = cellsOfPieces(task.pieceCount);
    if (static_cast<int>(task.cells.size()) > fillable)
        return {std::nullopt,
                refusal(Problem::TooManyCells, static_cast<long>(task.cells.size()), fillable, task.pieceCount)};

    std::vector<GridCell> cells;
    for (std::size_t k = 0; k < task.cells.size(); ++k) {
        const Vec3 cell = task.cells[k];
        GridCell grid{};
        const std::array<float, 3> coordinates{cell.x, cell.y, cell.z};
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const float value = coordinates[axis];
            if (!std::isfinite(value) || std::abs(value) > kFarthestCell)
                return {std::nullopt, refusal(Problem::FarAway, static_cast<long>(k + 1), kFarthestCoordinate)};
            const float units = value / kCellUnit;
            if (units != std::trunc(units))
                return {std::nullopt, refusal(Problem::OffGrid, static_cast<long>(k + 1))};
            grid[axis] = static_cast<std::int64_t>(units);
        }
        cells.push_back(grid);
    }
    for (std::size_t k = 1; k < cells.size(); ++k) {
        if (std::find(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(k), cells[k]) !=
            cells.begin() + static_cast<std::ptrdiff_t>(k))
            return {std::nullopt, refusal(Problem::RepeatedCell, static_cast<long>(k + 1))};
    }
    std::sort(cells.begin(), cells.end(), before);

    GridCell corner = cells.front();
    GridCell far = cells.front();
    for (const GridCell& cell : cells) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            corner[axis] = std::min(corner[axis], cell[axis]);
            far[axis] = std::max(far[axis], cell[axis]);
        }
    }
    std::array<std::uint64_t, 3> size{};
    std::array<int, 3> offsetBits{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        size[axis] = static_cast<std::uint64_t>(far[axis] - corner[axis]) + 1;
        offsetBits[axis] = bitWidth(size[axis] - 1);
    }
    const std::uint64_t maskBits = size[0] * size[1] * size[2];
    const std::uint64_t listBits = numberBits(cells.size() - 1) +
        cells.size() * static_cast<std::uint64_t>(offsetBits[0] + offsetBits[1] + offsetBits[2]);
    const Layout layout = maskBits <= listBits ? Layout::Mask : Layout::List;

    BitWriter writer;
    writer.write(static_cast<std::uint64_t>(task.pieceCount), kPieceCountBits);
    writer.write(static_cast<std::uint64_t>(layout), 1);
    for (const std::int64_t low : corner)
        writer.writeNumber(zigzag(low));
    for (const std::uint64_t span : size)
        writer.writeNumber(span - 1);
    if (layout == Layout::Mask) {
        auto next = cells.begin();
        for (std::int64_t z = corner[2]; z <= far[2]; ++z) {
            for (std::int64_t y = corner[1]; y <= far[1]; ++y) {
                for (std::int64_t x = corner[0]; x <= far[0]; ++x) {
                    const bool filled = next != cells.end() && *next == GridCell{x, y, z};
                    writer.write(filled ? 1 : 0, 1);
                    if (filled)
                        ++next;
                }
            }
        }
    } else {
        writer.writeNumber(cells.size() - 1);
        for (const GridCell& cell : cells) {
            for (std::size_t axis = 0; axis < 3; ++axis)
                writer.write(static_cast<std::uint64_t>(cell[axis] - corner[axis]), offsetBits[axis]);
        }
    }
    return {std::string(1, kAlphabet[kTaskCodeVersion]) + writer.letters(), {}};
}

TaskCodeRead decodeTaskCode(std::string_view code)
{
    const auto refuse = [](TaskCodeError error) { return TaskCodeRead{std::nullopt, std::move(error)}; };
    if (code.empty())
        return refuse(refusal(Problem::Empty));
    if (code.size() > kLongestTaskCode)
        return refuse(refusal(Problem::TooLong, static_cast<long>(code.size()), kLongestTaskCode));
    if (std::optional<TaskCodeError> foreign = findForeignCharacter(code))
        return refuse(*foreign);
    const int version = letterValue(code.front());
    if (version == 0)
        return refuse(refusal(Problem::UnknownVersion, version));
    if (version > kTaskCodeVersion)
        return refuse(refusal(Problem::LaterVersion, version, kTaskCodeVersion));

    BitReader reader(code.substr(1));
    std::uint64_t pieceCount = 0;
    std::uint64_t layout = 0;
    if (!reader.read(kPieceCountBits, pieceCount) || !reader.read(1, layout))
        return refuse(refusal(Problem::Truncated));
    if (pieceCount < 1 || pieceCount > kPieceTotal)
        return refuse(refusal(Problem::PieceCount, static_cast<long>(pieceCount)));
    const int fillable = cellsOfPieces(static_cast<int>(pieceCount));

    GridCell corner{};
    std::array<std::uint64_t, 3> size{};
    for (std::int64_t& low : corner) {
        std::uint64_t value = 0;
        if (const NumberRead read = reader.readNumber(value); read != NumberRead::Read)
            return refuse(numberRefusal(read));
        low = unzigzag(value);
    }
    for (std::size_t axis = 0; axis < 3; ++axis) {
        std::uint64_t value = 0;
        if (const NumberRead read = reader.readNumber(value); read != NumberRead::Read)
            return refuse(numberRefusal(read));
        size[axis] = value + 1;
        if (corner[axis] < -kFarthest || corner[axis] + static_cast<std::int64_t>(value) > kFarthest)
            return refuse(refusal(Problem::FarAway, 0, kFarthestCoordinate));
    }

    Task task;
    task.pieceCount = static_cast<int>(pieceCount);
    if (layout == static_cast<std::uint64_t>(Layout::Mask)) {
        // Each factor is at most kWidestBox, so the product fits.
        if (size[0] * size[1] * size[2] > reader.bitsLeft())
            return refuse(refusal(Problem::Truncated));
        long filled = 0;
        for (std::uint64_t z = 0; z < size[2]; ++z) {
            for (std::uint64_t y = 0; y < size[1]; ++y) {
                for (std::uint64_t x = 0; x < size[0]; ++x) {
                    std::uint64_t bit = 0;
                    if (!reader.read(1, bit))
                        return refuse(refusal(Problem::Truncated));
                    if (bit == 0)
                        continue;
                    if (++filled <= fillable)
                        task.cells.push_back(worldCell({corner[0] + static_cast<std::int64_t>(x),
                                                        corner[1] + static_cast<std::int64_t>(y),
                                                        corner[2] + static_cast<std::int64_t>(z)}));
                }
            }
        }
        if (filled > fillable)
            return refuse(refusal(Problem::TooManyCells, filled, fillable, task.pieceCount));
    } else {
        std::uint64_t count = 0;
        if (const NumberRead read = reader.readNumber(count); read != NumberRead::Read)
            return refuse(refusal(read == NumberRead::Ended ? Problem::Truncated : Problem::ListDamaged));
        ++count;
        if (count > static_cast<std::uint64_t>(fillable))
            return refuse(refusal(Problem::TooManyCells, static_cast<long>(count), fillable, task.pieceCount));
        std::optional<GridCell> previous;
        for (std::uint64_t k = 0; k < count; ++k) {
            GridCell offset{};
            for (std::size_t axis = 0; axis < 3; ++axis) {
                std::uint64_t value = 0;
                if (!reader.read(bitWidth(size[axis] - 1), value))
                    return refuse(refusal(Problem::Truncated));
                if (value >= size[axis])
                    return refuse(refusal(Problem::ListDamaged));
                offset[axis] = static_cast<std::int64_t>(value);
            }
            if (previous && !before(*previous, offset))
                return refuse(refusal(Problem::ListDamaged));
            previous = offset;
            task.cells.push_back(worldCell({corner[0] + offset[0], corner[1] + offset[1], corner[2] + offset[2]}));
        }
    }
    if (task.cells.empty())
        return refuse(refusal(Problem::NoCells));
    const std::size_t letters = 1 + reader.lettersRead();
    if (code.size() > letters)
        return refuse(refusal(Problem::LongerThanItsTask, static_cast<long>(code.size()), static_cast<long>(letters)));
    task.cellCount = static_cast<int>(task.cells.size());
    return {std::move(task), {}};
}

std::string_view taskCodeInLink(std::string_view text)
{
    constexpr std::string_view kSpaces = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
    if (const std::size_t key = text.find(kLinkKey); key != std::string_view::npos) {
        text = text.substr(key + kLinkKey.size());
        return text.substr(0, text.find('&'));
    }
    if (text.starts_with(kTaskLinkScheme)) {
        // Some browsers hand a scheme's link on as "vokta://CODE/".
        text.remove_prefix(kTaskLinkScheme.size());
        while (text.starts_with('/'))
            text.remove_prefix(1);
        while (text.ends_with('/'))
            text.remove_suffix(1);
    }
    return text;
}

std::optional<Task> currentTask(const GameState& state)
{
    if (!state.figure.shown)
        return std::nullopt;
    Task task;
    task.pieceCount = state.pieceCount;
    task.cellCount = state.cellCount;
    const std::size_t cells = static_cast<std::size_t>(std::clamp(state.cellCount, 0, kMaxCells));
    for (std::size_t k = 0; k < cells; ++k)
        task.cells.push_back(state.figure.cells[k] + state.figure.position);
    return task;
}

}  // namespace vokta

#include "puzzle/controller/kept_game.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

#include "puzzle/rules/task_file.h"

namespace vokta {

namespace {

constexpr std::string_view kMagic = "vokta kept game\n";
constexpr std::size_t kChecksumBytes = 4;
// The farthest a piece can be carried from the middle, on any axis: far
// beyond the floor, and the same bound the task files keep cells within.
constexpr long long kFarthestPiece = 1'000'000;

// What a snapshot says about itself before its fields, in bits: each field
// is written only where it differs from the snapshot before it.
enum SnapshotField : unsigned {
    kFigure = 1u << 0,
    kCounts = 1u << 1,
    kSelection = 1u << 2,
    kCompleted = 1u << 3,  // the value itself: the task is reported or built freely
    kRun = 1u << 4,
};
constexpr unsigned kKnownFields = kFigure | kCounts | kSelection | kCompleted | kRun;

std::uint32_t crc32(std::span<const unsigned char> bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : bytes)
        crc = table[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

class Writer {
public:
    void byte(unsigned value) { out.push_back(static_cast<unsigned char>(value)); }
    void unsignedNumber(std::uint64_t value)
    {
        while (value >= 0x80) {
            byte(static_cast<unsigned>(value & 0x7F) | 0x80);
            value >>= 7;
        }
        byte(static_cast<unsigned>(value));
    }
    void number(long long value)
    {
        unsignedNumber((static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
    }
    void word(std::uint32_t value)
    {
        for (int k = 0; k < 4; ++k)
            byte((value >> (8 * k)) & 0xFF);
    }
    void real(float value)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        word(bits);
    }
    void vector(Vec3 v)
    {
        real(v.x);
        real(v.y);
        real(v.z);
    }
    void cell(Cell c)
    {
        number(c.x);
        number(c.y);
        number(c.z);
    }

    std::vector<unsigned char> out;
};

// Thrown by Reader and the checks below; caught at decodeKeptGame.
struct Refusal {
    KeptGameError::Kind kind;
    std::string problem;
};

[[noreturn]] void damaged(std::string problem)
{
    throw Refusal{KeptGameError::Kind::Damaged, std::move(problem)};
}

class Reader {
public:
    explicit Reader(std::span<const unsigned char> bytes) : bytes_(bytes) {}

    unsigned byte()
    {
        if (at_ == bytes_.size())
            damaged("it ends too soon");
        return bytes_[at_++];
    }
    std::uint64_t unsignedNumber()
    {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const unsigned next = byte();
            value |= static_cast<std::uint64_t>(next & 0x7F) << shift;
            if ((next & 0x80) == 0)
                return value;
        }
        damaged("a number runs on too long");
    }
    long long number()
    {
        const std::uint64_t raw = unsignedNumber();
        return static_cast<long long>((raw >> 1) ^ (~(raw & 1) + 1));
    }
    // A number that must lie within [low, high].
    long long number(long long low, long long high, const char* what)
    {
        const long long value = number();
        if (value < low || value > high)
            damaged(std::string(what) + " " + std::to_string(value) + " is out of range");
        return value;
    }
    std::uint32_t word()
    {
        std::uint32_t value = 0;
        for (int k = 0; k < 4; ++k)
            value |= static_cast<std::uint32_t>(byte()) << (8 * k);
        return value;
    }
    float real(float farthest, const char* what)
    {
        const std::uint32_t bits = word();
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value) || std::fabs(value) > farthest)
            damaged(std::string(what) + " is no number or too far away");
        return value;
    }
    Vec3 vector(float farthest, const char* what)
    {
        const float x = real(farthest, what);
        const float y = real(farthest, what);
        const float z = real(farthest, what);
        return {x, y, z};
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    std::span<const unsigned char> bytes_;
    std::size_t at_ = 0;
};

void writeSnapshot(Writer& out, const GameSnapshot& now, const GameSnapshot& before)
{
    const GameState& a = now.state;
    const GameState& b = before.state;
    unsigned fields = a.taskCompleted ? unsigned{kCompleted} : 0u;
    if (a.figure != b.figure)
        fields |= kFigure;
    if (a.pieceCount != b.pieceCount || a.cellCount != b.cellCount)
        fields |= kCounts;
    if (a.selected != b.selected || a.selectionMode != b.selectionMode)
        fields |= kSelection;
    if (now.run != before.run)
        fields |= kRun;
    unsigned pieces = 0;
    for (int i = 0; i < kPieceTotal; ++i) {
        const PieceState& p = a.piece(i);
        const PieceState& q = b.piece(i);
        if (p.position != q.position || p.offsets != q.offsets || p.turn != q.turn || p.falling != q.falling)
            pieces |= 1u << i;
    }
    out.unsignedNumber(fields);
    out.unsignedNumber(pieces);
    if (fields & kFigure) {
        out.byte(a.figure.shown ? 1 : 0);
        out.vector(a.figure.position);
        for (const Vec3& cell : a.figure.cells)
            out.vector(cell);
    }
    if (fields & kCounts) {
        out.number(a.pieceCount);
        out.number(a.cellCount);
    }
    if (fields & kSelection) {
        out.number(a.selected);
        out.byte(static_cast<unsigned>(a.selectionMode));
    }
    if (fields & kRun) {
        for (int k = 0; k < 2; ++k)
            out.word(static_cast<std::uint32_t>(now.run.key >> (32 * k)));
        out.number(now.run.number);
        out.number(now.run.startTick);
        out.number(now.run.moves);
    }
    for (int i = 0; i < kPieceTotal; ++i) {
        if ((pieces & (1u << i)) == 0)
            continue;
        const PieceState& p = a.piece(i);
        out.cell(p.position);
        for (const Cell& offset : p.offsets)
            out.cell(offset);
        for (const Cell& row : p.turn.rows)
            out.cell(row);
        out.byte(p.falling ? 1 : 0);
    }
}

Cell readCell(Reader& in, long long farthest, const char* what)
{
    const int x = static_cast<int>(in.number(-farthest, farthest, what));
    const int y = static_cast<int>(in.number(-farthest, farthest, what));
    const int z = static_cast<int>(in.number(-farthest, farthest, what));
    return {x, y, z};
}

// A quarter-turn rotation: each row a unit axis, the three axes all
// different, turning without mirroring.
bool isRotation(const Rotation& turn)
{
    const auto isAxis = [](Cell c) { return std::abs(c.x) + std::abs(c.y) + std::abs(c.z) == 1; };
    const Cell& a = turn.rows[0];
    const Cell& b = turn.rows[1];
    const Cell& c = turn.rows[2];
    if (!isAxis(a) || !isAxis(b) || !isAxis(c))
        return false;
    const int determinant =
        a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x);
    return determinant == 1;
}

GameSnapshot readSnapshot(Reader& in, const GameSnapshot& before)
{
    GameSnapshot now = before;
    GameState& a = now.state;
    const std::uint64_t fields = in.unsignedNumber();
    const std::uint64_t pieces = in.unsignedNumber();
    if ((fields & ~std::uint64_t{kKnownFields}) != 0)
        damaged("a step holds what no game keeps");
    if (pieces >> kPieceTotal != 0)
        throw Refusal{KeptGameError::Kind::OtherPieces, "it moves pieces the game does not have"};
    a.taskCompleted = (fields & kCompleted) != 0;
    if (fields & kFigure) {
        a.figure.shown = in.byte() != 0;
        a.figure.position = in.vector(kFarthestCell, "the figure's position");
        for (Vec3& cell : a.figure.cells)
            cell = in.vector(kFarthestCell, "a cell of the figure");
    }
    if (fields & kCounts) {
        const long long count = in.number();
        if (count > kPieceTotal)
            throw Refusal{KeptGameError::Kind::OtherPieces,
                          "it is for " + std::to_string(count) + " pieces, and the game has " +
                              std::to_string(kPieceTotal)};
        if (count < 0)
            damaged("it is for " + std::to_string(count) + " pieces");
        a.pieceCount = static_cast<int>(count);
        a.cellCount = static_cast<int>(in.number(-128, kMaxCells, "the number of cells"));
    }
    if (fields & kSelection) {
        a.selected = static_cast<int>(in.number(-1, kPieceTotal - 1, "the selected piece"));
        const unsigned mode = in.byte();
        if (mode > static_cast<unsigned>(SelectionMode::Turn) || (a.selected < 0) != (mode == 0))
            damaged("the selection and its mode disagree");
        a.selectionMode = static_cast<SelectionMode>(mode);
    }
    if (fields & kRun) {
        const std::uint64_t low = in.word();
        const std::uint64_t high = in.word();
        now.run.key = low | (high << 32);
        now.run.number = static_cast<int>(in.number(0, 1LL << 31, "the attempt's number"));
        now.run.startTick = in.number(0, 1LL << 62, "the attempt's start");
        now.run.moves = static_cast<int>(in.number(0, 1LL << 31, "the moves"));
    }
    for (int i = 0; i < kPieceTotal; ++i) {
        if ((pieces & (1u << i)) == 0)
            continue;
        PieceState& p = a.piece(i);
        p.position = readCell(in, kFarthestPiece, "a piece's position");
        for (Cell& offset : p.offsets) {
            offset = readCell(in, 10, "a cube's offset");
            if (offset.x % 10 != 0 || offset.y % 10 != 0 || offset.z % 10 != 0)
                damaged("a cube stands between cells");
        }
        for (Cell& row : p.turn.rows)
            row = readCell(in, 1, "a turn");
        if (!isRotation(p.turn))
            damaged("a piece is turned in a way no quarter turns make");
        const unsigned falling = in.byte();
        if (falling > 1)
            damaged("a piece is neither falling nor at rest");
        p.falling = falling == 1;
    }
    return now;
}

}  // namespace

std::vector<unsigned char> encodeKeptGame(const KeptGame& game)
{
    Writer out;
    out.out.assign(kMagic.begin(), kMagic.end());
    out.byte(kKeptGameVersion);
    out.number(game.tickCount);
    out.vector(game.cameraPosition);
    out.vector(game.cameraDirection);
    out.vector(game.cameraUp);
    const GameRandom::Words random = game.now.state.random.words();
    for (const std::uint32_t word : random.words)
        out.word(word);
    out.byte(static_cast<unsigned>(random.front));
    // Each snapshot as what changed since the one before it, from an empty game.
    GameSnapshot previous;
    writeSnapshot(out, game.now, previous);
    previous = game.now;
    out.unsignedNumber(game.steps.size());
    out.unsignedNumber(game.undoable);
    for (const auto& [before, after] : game.steps) {
        writeSnapshot(out, before, previous);
        writeSnapshot(out, after, before);
        previous = after;
    }
    out.word(crc32(out.out));
    return std::move(out.out);
}

KeptGameRead decodeKeptGame(std::span<const unsigned char> bytes)
{
    try {
        if (bytes.size() < kMagic.size() + 1 || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0)
            damaged("it is no kept game");
        const int version = bytes[kMagic.size()];
        if (version > kKeptGameVersion)
            throw Refusal{KeptGameError::Kind::NewerVersion,
                          "it was kept by a newer game (version " + std::to_string(version) + ")"};
        if (version < 1 || bytes.size() < kMagic.size() + 1 + kChecksumBytes)
            damaged("it is no kept game");
        const std::span<const unsigned char> kept = bytes.first(bytes.size() - kChecksumBytes);
        Reader checksum(bytes.last(kChecksumBytes));
        if (checksum.word() != crc32(kept))
            damaged("it was cut short or changed since it was kept");

        Reader in(kept.subspan(kMagic.size() + 1));
        KeptGame game;
        game.tickCount = in.number(0, 1LL << 62, "the ticks");
        constexpr float kFarthestView = 1.0e6f;
        game.cameraPosition = in.vector(kFarthestView, "the view");
        game.cameraDirection = in.vector(kFarthestView, "the view");
        game.cameraUp = in.vector(kFarthestView, "the view");
        if (modulus(game.cameraDirection) == 0.0f || modulus(game.cameraUp) == 0.0f)
            damaged("the view looks nowhere");
        GameRandom::Words random;
        for (std::uint32_t& word : random.words)
            word = in.word();
        random.front = in.byte();
        GameSnapshot previous;
        if (!previous.state.random.resume(random))
            damaged("the scatter's generator cannot go on");
        game.now = readSnapshot(in, previous);
        previous = game.now;
        const std::uint64_t count = in.unsignedNumber();
        const std::uint64_t undoable = in.unsignedNumber();
        if (count > History::kLimit || undoable > count)
            damaged("its steps do not add up");
        game.undoable = static_cast<std::size_t>(undoable);
        for (std::uint64_t k = 0; k < count; ++k) {
            GameSnapshot before = readSnapshot(in, previous);
            GameSnapshot after = readSnapshot(in, before);
            previous = after;
            game.steps.emplace_back(std::move(before), std::move(after));
        }
        if (!in.atEnd())
            damaged("it goes on after the game");
        if (game.now.run.startTick > game.tickCount)
            damaged("the attempt starts after the ticks counted");
        return {std::move(game), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, {refusal.kind, refusal.problem}};
    }
}

}  // namespace vokta

#include "puzzle/controller/history.h"

#include <algorithm>

namespace vokta {

bool changedPieces(const GameSnapshot& before, const GameSnapshot& after)
{
    const GameState& a = before.state;
    const GameState& b = after.state;
    if (before.run.number != after.run.number || a.figure != b.figure || a.pieceCount != b.pieceCount ||
        a.cellCount != b.cellCount)
        return true;
    for (std::size_t i = 0; i < a.pieces.size(); ++i) {
        const PieceState& p = a.pieces[i];
        const PieceState& q = b.pieces[i];
        if (p.position != q.position || p.offsets != q.offsets || (!p.falling && q.falling))
            return true;
    }
    return false;
}

void History::record(GameSnapshot before, GameSnapshot after)
{
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(next_), steps_.end());
    steps_.push_back({std::move(before), std::move(after)});
    if (steps_.size() > kLimit)
        steps_.pop_front();
    next_ = steps_.size();
}

const GameSnapshot* History::undo()
{
    if (!canUndo())
        return nullptr;
    return &steps_[--next_].before;
}

const GameSnapshot* History::redo()
{
    if (!canRedo())
        return nullptr;
    return &steps_[next_++].after;
}

void History::clear()
{
    steps_.clear();
    next_ = 0;
}

std::vector<std::pair<GameSnapshot, GameSnapshot>> History::steps() const
{
    std::vector<std::pair<GameSnapshot, GameSnapshot>> all;
    for (const Step& step : steps_)
        all.emplace_back(step.before, step.after);
    return all;
}

void History::resume(const std::vector<std::pair<GameSnapshot, GameSnapshot>>& steps, std::size_t undoable)
{
    clear();
    const std::size_t first = steps.size() > kLimit ? steps.size() - kLimit : 0;
    for (std::size_t k = first; k < steps.size(); ++k)
        steps_.push_back({steps[k].first, steps[k].second});
    next_ = std::min(undoable, steps.size()) - std::min(first, std::min(undoable, steps.size()));
}

}  // namespace vokta

#include "app/cursors/pointer_history.h"

#include <utility>

PointerHistory::PointerHistory(Reader read, Writer write) : read_(std::move(read)), write_(std::move(write)) {}

void PointerHistory::Remember()
{
    scheme::PointerSnapshot now = read_();
    DropUnchanged(now);
    if (steps_.size() == kMaxSteps)
        steps_.erase(steps_.begin());
    steps_.push_back(std::move(now));
}

bool PointerHistory::CanUndo() const
{
    if (steps_.empty())
        return false;
    const scheme::PointerSnapshot now = read_();
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step)
        if (*step != now)
            return true;
    return false;
}

PointerHistory::Undone PointerHistory::Undo()
{
    DropUnchanged(read_());
    if (steps_.empty())
        return Undone::Nothing;
    const bool reloaded = write_(steps_.back());
    steps_.pop_back();
    return reloaded ? Undone::Applied : Undone::StoredForNextSignIn;
}

void PointerHistory::DropUnchanged(const scheme::PointerSnapshot& now)
{
    while (!steps_.empty() && steps_.back() == now)
        steps_.pop_back();
}

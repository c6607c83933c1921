#include "shell/item_copies.h"

namespace shell {

bool ItemCopies::Split(PCUIDLIST_RELATIVE packed, int count)
{
    items_.clear();
    pointers_.clear();
    if (!packed || count < 1 || count > kMaxItems)
        return false;
    items_.reserve(static_cast<std::size_t>(count));
    PCUIDLIST_RELATIVE at = packed;
    for (int i = 0; i < count; ++i) {
        idlist::ChildIDList copy = at && at->mkid.cb != 0 ? idlist::IDListFirst(at) : idlist::ChildIDList{};
        if (!copy) {
            items_.clear();
            return false;
        }
        items_.push_back(std::move(copy));
        at = idlist::IDListRest(at);
    }
    for (const auto& item : items_)
        pointers_.push_back(item.get());
    return true;
}

} // namespace shell

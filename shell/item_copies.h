// The single items of a packed item list, each in a list of its own, as the
// shell's GetUIObjectOf wants them.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "idlist/idlist.h"

namespace shell {

// The most items a menu or a drag handles at once.
constexpr int kMaxItems = 1024;

class ItemCopies {
public:
    // Splits `count` items off the front of `packed`; false (and no copies)
    // when the list ends early, `count` is outside 1 to kMaxItems, or a copy
    // cannot be allocated.
    bool Split(PCUIDLIST_RELATIVE packed, int count);
    UINT Count() const noexcept { return static_cast<UINT>(items_.size()); }
    // The array GetUIObjectOf takes; valid while the object lives.
    PCUITEMID_CHILD* Array() noexcept { return pointers_.data(); }

private:
    std::vector<idlist::ChildIDList> items_;
    std::vector<PCUITEMID_CHILD> pointers_;
};

} // namespace shell

#include "shview/fileview/list_keep.h"

#include <optional>
#include <unordered_map>

namespace shview {
namespace {

// The item at one index: its name asked for once, and only when needed.
class ItemAt {
public:
    ItemAt(int index, const ItemName& nameOf) : index_(index), nameOf_(nameOf) {}
    bool Is(const ListMark& mark, const std::wstring& caption)
    {
        if (mark.caption != caption)
            return false;
        if (mark.name.empty())
            return true;
        if (!name_)
            name_ = nameOf_ ? nameOf_(index_) : std::wstring();
        return *name_ == mark.name;
    }

private:
    int index_;
    const ItemName& nameOf_;
    std::optional<std::wstring> name_;
};

} // namespace

ListPlan PlanListMarks(const ListMarks& marks, const std::vector<std::wstring>& captions, const ItemName& nameOf)
{
    ListPlan plan;
    if (captions.empty())
        return plan;
    // Caption -> the selected marks of that caption still to find.
    std::unordered_map<std::wstring, std::vector<const ListMark*>> wanted;
    wanted.reserve(marks.selected.size());
    for (const ListMark& mark : marks.selected)
        wanted[mark.caption].push_back(&mark);
    bool focusOpen = marks.hasFocused;
    bool topOpen = marks.hasTop;
    for (int i = 0; i < int(captions.size()); ++i) {
        const std::wstring& caption = captions[std::size_t(i)];
        ItemAt item(i, nameOf);
        if (auto it = wanted.find(caption); it != wanted.end()) {
            std::vector<const ListMark*>& open = it->second;
            for (auto mark = open.begin(); mark != open.end(); ++mark)
                if (item.Is(**mark, caption)) {
                    plan.select.push_back(i);
                    open.erase(mark);
                    break;
                }
            if (open.empty())
                wanted.erase(it);
        }
        if (focusOpen && item.Is(marks.focused, caption)) {
            plan.focus = i;
            focusOpen = false;
        }
        if (topOpen && item.Is(marks.top, caption)) {
            plan.top = i;
            topOpen = false;
        }
        if (wanted.empty() && !focusOpen && !topOpen)
            break;
    }
    return plan;
}

} // namespace shview

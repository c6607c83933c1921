#include "shview/list_keep.h"

#include <unordered_map>

namespace shview {
ListPlan PlanListMarks(const ListMarks& marks, const std::vector<std::wstring>& captions)
{
    ListPlan plan;
    if (captions.empty())
        return plan;
    std::unordered_map<std::wstring, int> wanted; // caption -> selected items still to find
    wanted.reserve(marks.selected.size());
    for (const std::wstring& name : marks.selected)
        ++wanted[name];
    bool focusOpen = marks.hasFocused;
    bool topOpen = marks.hasTop;
    for (int i = 0; i < int(captions.size()); ++i) {
        const std::wstring& caption = captions[std::size_t(i)];
        if (!wanted.empty()) {
            if (auto it = wanted.find(caption); it != wanted.end()) {
                plan.select.push_back(i);
                if (--it->second == 0)
                    wanted.erase(it);
            }
        }
        if (focusOpen && caption == marks.focused) {
            plan.focus = i;
            focusOpen = false;
        }
        if (topOpen && caption == marks.top) {
            plan.top = i;
            topOpen = false;
        }
        if (wanted.empty() && !focusOpen && !topOpen)
            break;
    }
    return plan;
}

} // namespace shview

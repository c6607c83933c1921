// A stand-in for the folder tree behind a view: it records what the view
// asks of it, each call with the relative identifiers it was given (copied).
#pragma once
#include "shview/idlist/idlist.h"
#include "shview/view_links.h"

#include <string>
#include <vector>

namespace testsupport {

class RecordingTree : public ui::Component, public shview::TreeLink {
public:
    struct Call {
        std::wstring what; // "GoBack", "OpenChild", "RenameChild" or "SelectIDList"
        shview::IDList first;
        shview::IDList second;
    };
    std::vector<Call> calls;

    // What was asked, in order ("OpenChild", ...).
    std::vector<std::wstring> Asked() const
    {
        std::vector<std::wstring> result;
        for (const Call& c : calls)
            result.push_back(c.what);
        return result;
    }

    void GoBack() override { calls.push_back({L"GoBack", nullptr, nullptr}); }
    void OpenChild(const ITEMIDLIST* relative) override { calls.push_back({L"OpenChild", Copy(relative), nullptr}); }
    void RenameChild(const ITEMIDLIST* oldRelative, const ITEMIDLIST* newRelative) override
    {
        calls.push_back({L"RenameChild", Copy(oldRelative), Copy(newRelative)});
    }
    void SelectIDList(const ITEMIDLIST* absolute) override
    {
        calls.push_back({L"SelectIDList", Copy(absolute), nullptr});
    }
    ui::Component& LinkedComponent() noexcept override { return *this; }

private:
    static shview::IDList Copy(const ITEMIDLIST* id) { return id ? shview::IDListCombine(id, nullptr) : nullptr; }
};

} // namespace testsupport

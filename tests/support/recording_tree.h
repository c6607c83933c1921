// A stand-in for the folder tree behind a view: it records what the view
// asks of it, each call with the identifiers it was given (copied).
#pragma once
#include "idlist/idlist.h"
#include "shview/view_links.h"

#include <string>
#include <vector>

namespace testsupport {

class RecordingTree : public ui::Component, public shview::TreeLink {
public:
    struct Call {
        std::wstring what; // "GoBack", "OpenChild", "RenameChild" or "SelectIDList"
        idlist::ChildIDList first;       // OpenChild's child, RenameChild's old one
        idlist::ChildIDList second;      // RenameChild's new child
        idlist::AbsoluteIDList absolute; // SelectIDList's folder
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
    void OpenChild(PCUITEMID_CHILD relative) override
    {
        calls.push_back({L"OpenChild", idlist::IDListCopy(relative), nullptr});
    }
    void RenameChild(PCUITEMID_CHILD oldRelative, PCUITEMID_CHILD newRelative) override
    {
        calls.push_back({L"RenameChild", idlist::IDListCopy(oldRelative), idlist::IDListCopy(newRelative)});
    }
    void SelectIDList(PCIDLIST_ABSOLUTE absolute) override
    {
        calls.push_back({L"SelectIDList", nullptr, nullptr, idlist::IDListCopy(absolute)});
    }
    ui::Component& LinkedComponent() noexcept override { return *this; }
};

} // namespace testsupport

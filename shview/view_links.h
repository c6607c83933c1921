// How the folder tree and the views it drives (the file list, the folder
// combo box) reach each other without knowing each other's classes. The tree
// does the wiring: its SetFileView and SetComboView link a view both ways,
// and each side's link empties itself when the other side is destroyed.
#pragma once
#include "ui/component.h"

#include <shtypes.h>

namespace shview {

// The folder tree as a view it drives sees it.
class TreeLink {
public:
    // Selects the folder selected before the current one (the list could not
    // read the current one); nothing if there was none.
    virtual void GoBack() = 0;
    // Selects a child of the selected folder (the list's double click).
    virtual void OpenChild(PCUITEMID_CHILD relative) = 0;
    // Follows a child of the selected folder that the list renamed.
    virtual void RenameChild(PCUITEMID_CHILD oldRelative, PCUITEMID_CHILD newRelative) = 0;
    // Selects the folder of an absolute identifier (the combo box's choice).
    virtual void SelectIDList(PCIDLIST_ABSOLUTE absolute) = 0;
    // The tree itself, so that a link to it empties when it goes.
    virtual ui::Component& LinkedComponent() noexcept = 0;

protected:
    ~TreeLink() = default;
};

// A view the tree points at the folder it selects.
class FolderLink {
public:
    // Shows the folder of an absolute identifier (copied).
    virtual void SetFolder(PCIDLIST_ABSOLUTE absolute) = 0;
    // The tree now driving this view, or none; called by the tree only.
    virtual void LinkTree(TreeLink* tree) = 0;
    virtual ui::Component& LinkedComponent() noexcept = 0;

protected:
    ~FolderLink() = default;
};

// A link to a peer seen through one of the interfaces above: empty when it
// was never set and once the peer is destroyed.
template <class Peer>
class PeerLink {
public:
    PeerLink() = default;
    PeerLink(const PeerLink&) = delete;
    PeerLink& operator=(const PeerLink&) = delete;
    PeerLink& operator=(Peer* peer)
    {
        peer_ = peer;
        link_ = peer ? &peer->LinkedComponent() : nullptr;
        return *this;
    }
    Peer* get() const noexcept { return link_ ? peer_ : nullptr; }
    Peer* operator->() const noexcept { return get(); }
    explicit operator bool() const noexcept { return get() != nullptr; }

private:
    ui::Link<ui::Component> link_;
    Peer* peer_ = nullptr;
};

} // namespace shview

// The record each file list item owns (its LPARAM): the item's identifier,
// relative to the folder the list was filled from, and the facts its columns
// sort by. Freed when the list control deletes the item.
#pragma once
#include "shview/fileview/FileView.h"

struct TFileView::Item {
    idlist::ChildIDList id;
    shview::FileFacts facts;
    std::wstring typeText;
};

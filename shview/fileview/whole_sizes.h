// Whole file sizes of one directory, read once per fill. Some shells keep
// only the low 32 bits of a size in their identifiers (Wine's does), so a
// 5 GiB file would read as 1 GiB; the directory itself knows the whole size.
#pragma once
#include <windows.h>

#include "ui/handles.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

namespace shview {

class WholeSizes {
public:
    // Reads the sizes of the files in `directory` (a file-system path).
    // Nothing is read for an empty path.
    void Load(const std::wstring& directory);
    // The same in steps: Start opens the directory, Continue reads on until
    // `enough` answers true (asked every few entries) and answers whether
    // every entry has been read.
    void Start(const std::wstring& directory);
    bool Continue(const std::function<bool()>& enough);

    // The size of file `name` as the directory knows it, when its low 32
    // bits agree with `reported` (the same file); else `reported`.
    std::uint64_t Whole(const wchar_t* name, std::uint64_t reported) const;

private:
    void Note(const WIN32_FIND_DATAW& data);

    std::unordered_map<std::wstring, std::uint64_t> sizes_;
    ui::UniqueFind find_; // open while entries are left to read
};

} // namespace shview

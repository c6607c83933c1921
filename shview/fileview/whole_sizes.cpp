#include "shview/fileview/whole_sizes.h"


namespace shview {

void WholeSizes::Load(const std::wstring& directory)
{
    Start(directory);
    Continue([] { return false; });
}

void WholeSizes::Start(const std::wstring& directory)
{
    sizes_.clear();
    find_.reset();
    if (directory.empty())
        return;
    std::wstring pattern = directory;
    if (pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    find_.reset(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH));
    if (find_)
        Note(data);
}

bool WholeSizes::Continue(const std::function<bool()>& enough)
{
    WIN32_FIND_DATAW data{};
    for (int n = 1; find_; ++n) {
        if (!FindNextFileW(find_.get(), &data)) {
            find_.reset();
            break;
        }
        Note(data);
        if (n % 64 == 0 && enough())
            return false;
    }
    return true;
}

void WholeSizes::Note(const WIN32_FIND_DATAW& data)
{
    // Only files that pass 4 GiB need the correction.
    if (data.nFileSizeHigh != 0 && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        sizes_.emplace(data.cFileName, (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::uint64_t WholeSizes::Whole(const wchar_t* name, std::uint64_t reported) const
{
    if (sizes_.empty() || !name)
        return reported;
    auto it = sizes_.find(name);
    if (it == sizes_.end() || (it->second & 0xFFFFFFFFu) != (reported & 0xFFFFFFFFu))
        return reported;
    return it->second > reported ? it->second : reported;
}

} // namespace shview

// The path of a file of the test corpus the benchmarks read, from its path
// inside the corpus ("capitaine/master/busy.ani" or with backslashes).
#pragma once
#include <algorithm>
#include <string>

inline std::wstring CorpusPath(const std::wstring& relative)
{
    std::wstring path = std::wstring(L"" TARIMOKU_CORPUS) + L"\\" + relative;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

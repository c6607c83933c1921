// Cursor packs' setup files on arbitrary bytes: besides the sanitizers'
// checks, a plan that is not refused may only name files that stay inside
// the pack's folder and the installed one, and only entries it copies.
#include "scheme/cursor_pack.h"
#include "scheme/inf_reader.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace scheme;

namespace {

std::wstring Latin1(std::string_view bytes)
{
    std::wstring text;
    for (char c : bytes)
        text += wchar_t(static_cast<unsigned char>(c));
    return text;
}

bool Climbs(std::wstring_view path)
{
    if (path.empty() || path.front() == L'\\' || path.front() == L'/' || path.find(L':') != std::wstring_view::npos)
        return true;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t cut = std::min(path.find_first_of(L"\\/", start), path.size());
        const std::wstring_view part = path.substr(start, cut - start);
        if (part.empty() || part == L"." || part == L"..")
            return true;
        start = cut + 1;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Japanese: the language whose strings sections the seeds hold.
    const InfFile inf = ReadInf(DecodeInfBytes(data, size, Latin1), 0x0411);
    for (const InfSection& section : inf.sections)
        for (const InfLine& line : section.lines)
            if (line.number < 1 || (line.hasKey && line.key.empty()))
                std::abort();
    const PackPlan plan = MakePackPlan(inf);
    if (plan.problem != PackProblem::None) {
        if (!plan.files.empty() || !plan.entries.empty())
            std::abort();
        return 0;
    }
    if (!WritesCursorScheme(inf) || inf.malformedLine != 0 || plan.entries.size() > kMouseRoleCount ||
        plan.folderName.empty() || plan.folderName != PackFolderName(plan.schemeName) ||
        plan.folderName.find_first_of(L"\\/:*?\"<>|,%") != std::wstring::npos)
        std::abort();
    for (const PackFile& file : plan.files)
        if (Climbs(file.source) || Climbs(file.name) || file.name.find_first_of(L"\\/") != std::wstring::npos)
            std::abort();
    for (const std::wstring& entry : plan.entries) {
        bool copied = entry.empty();
        for (const PackFile& file : plan.files)
            copied = copied || file.name == entry;
        if (!copied)
            std::abort();
    }
    return 0;
}

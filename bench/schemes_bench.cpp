// Applying a whole cursor scheme against assigning its roles one by one, in
// the same run: a named scheme of seventeen roles applied at once (every file
// checked and loaded first, the roles written through one open key, one
// reload) against seventeen single assignments of the same files (each
// checked, loaded, written and set on its own). The system's own cursor
// calls are used, as the program uses them.
// Prints the median of each in ms and the ratio scheme / single; the goal is
// at most 1.2: all or nothing must not cost much more than one by one.
#include "anicur/cursor_file.h"
#include "bench/bench_clock.h"
#include "bench/bench_corpus.h"
#include "scheme/cursor_scheme.h"
#include "scheme/named_schemes.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 15;
constexpr wchar_t kName[] = L"tarimoku bench";

const wchar_t* const kFiles[] = {
    L"reconstruct\\xy.cur",
    L"reconstruct\\wait.ani",
    L"capitaine\\master\\busy.ani",
    L"capitaine\\master\\working-in-background.ani",
};

} // namespace

int main()
{
    scheme::SchemePaths paths;
    for (std::size_t role = 0; role < paths.size(); ++role) {
        paths[role] = CorpusPath(kFiles[role % std::size(kFiles)]);
    }
    const std::optional<std::wstring> text = scheme::WriteSchemeText(paths);
    if (!text || RegSetKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, kName, REG_EXPAND_SZ, text->c_str(),
                                 DWORD((text->size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
        std::printf("cannot seed the scheme\n");
        return 1;
    }

    std::vector<double> whole, single;
    for (int round = 0; round < kRounds; ++round) {
        double t0 = Now();
        const scheme::SchemeApplyResult result =
            scheme::ApplyScheme(kName, scheme::SchemeSource::User, anicur::IsWholeCursorFile);
        whole.push_back((Now() - t0) * 1000);
        if (result.outcome == scheme::SchemeApply::Unloadable || result.outcome == scheme::SchemeApply::NotFound) {
            std::printf("the scheme was not applied\n");
            return 1;
        }
        t0 = Now();
        for (std::size_t role = 0; role < paths.size(); ++role)
            scheme::SetMouseCursor(int(role), paths[role], anicur::IsWholeCursorFile);
        single.push_back((Now() - t0) * 1000);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, kName);

    const double a = Median(whole), b = Median(single);
    std::printf("seventeen roles: scheme %8.2f ms   single assignments %8.2f ms\n", a, b);
    std::printf("ratio scheme / seventeen single assignments: %.2f (goal <= 1.2)\n", a / b);
    return 0;
}

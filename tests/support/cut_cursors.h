// Cursor files cut short, made from files of the cursor corpus: the files
// the system's own cursor loader must never be handed (it can take the
// process down with it), and which the program's reader refuses.
#pragma once
#include "tests/support/wine_ui.h"

#include <algorithm>
#include <string>
#include <vector>

namespace testsupport {

struct CutCursor {
    std::wstring name; // a name of its own in the folder, extension included
    std::wstring path; // where it was written
};

// Writes into `dir`: two animated cursors of the corpus cut to their first
// 80 and 100 bytes, and a static cursor cut inside its first image, each
// under a cursor extension; and one cut animated cursor named ".txt" (a
// scheme value may name a file of any extension). In that order.
inline std::vector<CutCursor> WriteCutCursors(const TempDir& dir)
{
    struct Source {
        const wchar_t* corpus;
        std::size_t bytes;
        const wchar_t* name;
    };
    const Source sources[] = {
        {L"webamp/fixtures/piano.ani", 80, L"cut80.ani"},
        {L"webamp/fixtures/piano.ani", 100, L"cut100.ani"},
        {L"capitaine/master/busy.ani", 80, L"busy80.ani"},
        {L"capitaine/master/busy.ani", 100, L"busy100.ani"},
        {L"reconstruct/xy.cur", 60, L"cut60.cur"},
        {L"capitaine/master/busy.ani", 100, L"busy100.txt"},
    };
    std::vector<CutCursor> cut;
    for (const Source& source : sources) {
        std::string bytes = ReadBytes(CorpusFile(source.corpus));
        bytes.resize(std::min(bytes.size(), source.bytes));
        cut.push_back({source.name, dir.File(source.name, bytes)});
    }
    return cut;
}

} // namespace testsupport

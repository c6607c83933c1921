// Setup information files (.inf) as cursor packs write them: sections,
// lines of comma-separated fields with an optional key, quoted text, `;`
// comments, `\` continuation and %strings% from the [Strings] section.
// Window-free; the bytes are decoded by the caller's code page for files
// without a byte-order mark.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scheme {

// One line of a section, strings substituted and quotes taken away.
struct InfLine {
    std::wstring key;                 // the text before an unquoted '=', trimmed; empty without one
    bool hasKey = false;              // the line has an unquoted '='
    std::vector<std::wstring> fields; // the fields after the key (all of the line without one)
    int number = 0;                   // the line's first line in the file, from 1
};

struct InfSection {
    std::wstring name;
    std::vector<InfLine> lines;
};

struct InfFile {
    // Sections in file order; a name written twice adds to the first.
    std::vector<InfSection> sections;
    // The first line that could not be read (an unclosed quote or section
    // name, a line before any section, an empty key); 0 when none. The
    // lines after it are read all the same.
    int malformedLine = 0;

    // The section of that name, compared without regard to case; null when
    // there is none.
    const InfSection* Find(std::wstring_view name) const noexcept;
};

// Reads the text of a file. `%name%` becomes the value of that name
// (compared without regard to case) in the strings of `language` (a
// language id, 0 for none): [Strings.xxxx] of that id in four hex digits,
// else of its primary language (sub-language 0, then any other), else
// [Strings]. String sections keep their text as written; `%%` becomes a
// single '%'; any other `%...%` (a directory id such as `%10%`, an unknown
// name) stays as written.
InfFile ReadInf(std::wstring_view text, unsigned short language = 0);

// The text of a file's bytes: UTF-16 (either order) or UTF-8 with a
// byte-order mark; anything else through `ansi` (the system's code page).
using AnsiDecoder = std::wstring (*)(std::string_view bytes);
std::wstring DecodeInfBytes(const unsigned char* bytes, std::size_t size, AnsiDecoder ansi);

// Names of the format (sections, keys, registry roots) compared without
// regard to the case of ASCII letters.
bool SameInfName(std::wstring_view a, std::wstring_view b) noexcept;

} // namespace scheme

// Scheme texts of any content (the bytes as UTF-16): every role read is a
// path that can be stored again, and storing what was read and reading it
// back gives the same roles.
#include "scheme/scheme_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
    const scheme::SchemePaths read = scheme::ReadSchemeText(text);
    for (const std::wstring& path : read)
        if (!scheme::FitsSchemeText(path))
            std::abort();
    const std::optional<std::wstring> again = scheme::WriteSchemeText(read);
    if (!again || scheme::ReadSchemeText(*again) != read)
        std::abort();
    return 0;
}

#include "anicur/cursor_check.h"

#include "anicur/ani_walk.h"
#include "anicur/byte_reader.h"
#include "anicur/icon_dir.h"
#include "ui/text.h"

#include <cstring>

namespace anicur {
namespace {

constexpr size_t DirHeader = 6;
constexpr size_t DirEntry = 16;

bool SameIgnoringAsciiCase(std::wstring_view text, std::wstring_view lower) noexcept
{
    if (text.size() != lower.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i] >= L'A' && text[i] <= L'Z' ? wchar_t(text[i] - L'A' + L'a') : text[i];
        if (c != lower[i])
            return false;
    }
    return true;
}

} // namespace

bool IsWholeIconDirectory(const uint8_t* data, size_t size)
{
    if (!data || !IsIconDirectory(data, size))
        return false;
    const size_t count = ReadU16(data + 4);
    if (count > (size - DirHeader) / DirEntry)
        return false; // the directory itself runs past the end
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + DirHeader + i * DirEntry;
        const uint32_t bytes = ReadU32(entry + 8);
        const uint32_t offset = ReadU32(entry + 12);
        if (bytes == 0 || offset >= size || bytes > size - offset)
            return false;
    }
    // Every entry must also hold an image this reader can read: the list
    // leaves out the ones it cannot.
    return ListIconImages(data, size).size() == count;
}

bool IsWholeCursorImage(const uint8_t* data, size_t size)
{
    if (!data)
        return false;
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "ACON", 4) != 0)
        return IsWholeIconDirectory(data, size);
    // The RIFF length is not looked at, as the walk does not: real files
    // count the header in it, or leave it zero.
    // Nothing forgiven: the system's loader believes the header's frame and
    // step counts and the sequence's frame numbers.
    const AniWalkResult walk = AniWalk(data, size);
    if (walk.code != AniOk || walk.frames.empty() || walk.cut || walk.clamped || walk.repeated ||
        walk.headerFrames != walk.frames.size())
        return false;
    for (const ByteRange& frame : walk.frames)
        if (!IsWholeIconDirectory(data + frame.offset, frame.length))
            return false;
    return true;
}

CursorKind CursorFileKind(std::wstring_view path) noexcept
{
    const std::wstring_view ext = ui::FileExtension(path);
    if (SameIgnoringAsciiCase(ext, L".ani"))
        return CursorKind::Animated;
    return SameIgnoringAsciiCase(ext, L".cur") ? CursorKind::Static : CursorKind::None;
}

} // namespace anicur

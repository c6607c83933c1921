// Reading a cursor file whole into memory, with the result codes of
// anicur::AniCode for what can go wrong on the way.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace anicur {

// Reads the animated cursor file at `path` into `bytes`: AniOk, or
// AniCannotOpen, AniNotAnimated (no "RIFF" .... "ACON" header, also for a
// file shorter than that), AniShortRead or AniFailed.
int ReadCursorFile(const std::wstring& path, std::vector<uint8_t>& bytes);

// Reads the static cursor (or icon) file at `path` into `bytes`: AniOk, or
// AniCannotOpen, AniNotCursor (no cursor or icon directory at its start),
// AniShortRead or AniFailed.
int ReadStaticCursorFile(const std::wstring& path, std::vector<uint8_t>& bytes);

// The same for an open file of `size` bytes (its size taken when it was
// opened), read from its start. A file that gives fewer bytes than that,
// because it shrank or could not be read, gives AniShortRead.
int ReadCursorBytes(HANDLE file, uint64_t size, std::vector<uint8_t>& bytes);

// Whether the file at `path` may be handed to the system's own cursor loader:
// it can be read whole and IsWholeCursorImage (anicur/cursor_check.h) admits
// its bytes. False for a file that cannot be opened or read, or is larger
// than any cursor.
bool IsWholeCursorFile(const std::wstring& path) noexcept;

} // namespace anicur

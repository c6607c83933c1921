// Whether a cursor file's bytes may be handed to the system's own cursor
// loader: only what this reader reads whole. The system's loader trusts the
// file's own counts and offsets; a file cut short or lying about its sizes
// can bring it down with the process. Window-free, tested and fuzzed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace anicur {

// True for an animated cursor (RIFF form ACON) that the chunk walk reads
// without complaint and without forgiving anything (no chunk cut off or repeated, the
// header's frame count the frames there are, every step a frame there is),
// holding at least one frame and every frame a whole cursor image (below); and for a static cursor or icon file image whose
// directory lies inside the data and whose every entry points at a
// well-formed image that lies inside the data too. False for anything else.
bool IsWholeCursorImage(const uint8_t* data, size_t size);

// The second half alone: a static cursor or icon file image, checked as above.
bool IsWholeIconDirectory(const uint8_t* data, size_t size);

// What a path's extension makes of a file, in any letter case: ".ani" an
// animated cursor, ".cur" a static one, anything else none. The name only:
// whether the bytes are whole is the question above.
enum class CursorKind { None,
                        Animated,
                        Static };
CursorKind CursorFileKind(std::wstring_view path) noexcept;

} // namespace anicur

#include "scheme/role_guess.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace scheme {

namespace {

// Indices into MouseRegistry.
enum Role : std::uint8_t {
    kArrow,
    kHelp,
    kAppStarting,
    kWait,
    kCrosshair,
    kIBeam,
    kNWPen,
    kNo,
    kSizeNS,
    kSizeWE,
    kSizeNWSE,
    kSizeNESW,
    kSizeAll,
    kUpArrow,
    kHand,
    kPin,
    kPerson,
};

enum class Match : std::uint8_t {
    Part, // anywhere in the name's letters, separators left out
    Word, // one whole word of the name
};

struct NameKey {
    const wchar_t* key; // lower case, no separators
    Match match;
    Role role;
};

// The names real packs give their files, most particular first: the first
// key a name holds decides ("handwriting" is a pen before it is a hand,
// "up_arrow" the alternate select before it is an arrow, "working" is
// work in the background before "busy" is). Windows' own files (aero_*),
// the Linux cursor themes' names (left_ptr, fleur, xterm, size_fdiag), the
// English captions of the pointer settings, numbered diagonals, and the
// Japanese captions, in full and half width.
constexpr NameKey kNameKeys[] = {
    {L"handwriting", Match::Part, kNWPen},
    {L"handwrite", Match::Part, kNWPen},
    {L"pencil", Match::Part, kNWPen},
    {L"pen", Match::Word, kNWPen},
    {L"手書き", Match::Part, kNWPen},
    {L"ﾃｶﾞｷ", Match::Part, kNWPen},

    {L"appstarting", Match::Part, kAppStarting},
    {L"background", Match::Part, kAppStarting},
    {L"progress", Match::Part, kAppStarting},
    {L"working", Match::Part, kAppStarting},
    {L"leftptrwatch", Match::Part, kAppStarting},
    {L"バックグラウンド", Match::Part, kAppStarting},
    {L"ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞ", Match::Part, kAppStarting},
    {L"作業中", Match::Part, kAppStarting},

    {L"busy", Match::Part, kWait},
    {L"wait", Match::Part, kWait},
    {L"hourglass", Match::Part, kWait},
    {L"watch", Match::Part, kWait},
    {L"待ち", Match::Part, kWait},
    {L"砂時計", Match::Part, kWait},

    {L"help", Match::Part, kHelp},
    {L"question", Match::Part, kHelp},
    {L"ヘルプ", Match::Part, kHelp},
    {L"ﾍﾙﾌﾟ", Match::Part, kHelp},

    {L"uparrow", Match::Part, kUpArrow},
    {L"alternate", Match::Part, kUpArrow},
    {L"altselect", Match::Part, kUpArrow},
    {L"alt", Match::Word, kUpArrow},
    {L"up", Match::Word, kUpArrow},
    {L"代替", Match::Part, kUpArrow},

    {L"nwse", Match::Part, kSizeNWSE},
    {L"diagonal1", Match::Part, kSizeNWSE},
    {L"diagonalresize1", Match::Part, kSizeNWSE},
    {L"diagresize1", Match::Part, kSizeNWSE},
    {L"diag1", Match::Part, kSizeNWSE},
    {L"dgn1", Match::Part, kSizeNWSE},
    {L"fdiag", Match::Part, kSizeNWSE},
    {L"斜め1", Match::Part, kSizeNWSE},
    {L"斜めに拡大縮小1", Match::Part, kSizeNWSE},
    {L"nesw", Match::Part, kSizeNESW},
    {L"diagonal2", Match::Part, kSizeNESW},
    {L"diagonalresize2", Match::Part, kSizeNESW},
    {L"diagresize2", Match::Part, kSizeNESW},
    {L"diag2", Match::Part, kSizeNESW},
    {L"dgn2", Match::Part, kSizeNESW},
    {L"bdiag", Match::Part, kSizeNESW},
    {L"斜め2", Match::Part, kSizeNESW},
    {L"斜めに拡大縮小2", Match::Part, kSizeNESW},

    {L"vertical", Match::Part, kSizeNS},
    {L"sizens", Match::Part, kSizeNS},
    {L"nsresize", Match::Part, kSizeNS},
    {L"rowresize", Match::Part, kSizeNS},
    {L"vdoublearrow", Match::Part, kSizeNS},
    {L"ns", Match::Word, kSizeNS},
    {L"vert", Match::Word, kSizeNS},
    {L"上下", Match::Part, kSizeNS},
    {L"horizontal", Match::Part, kSizeWE},
    {L"horiz", Match::Part, kSizeWE},
    {L"sizewe", Match::Part, kSizeWE},
    {L"sizeew", Match::Part, kSizeWE},
    {L"ewresize", Match::Part, kSizeWE},
    {L"colresize", Match::Part, kSizeWE},
    {L"hdoublearrow", Match::Part, kSizeWE},
    {L"ew", Match::Word, kSizeWE},
    {L"we", Match::Word, kSizeWE},
    {L"horz", Match::Word, kSizeWE},
    {L"左右", Match::Part, kSizeWE},

    {L"move", Match::Part, kSizeAll},
    {L"sizeall", Match::Part, kSizeAll},
    {L"fleur", Match::Part, kSizeAll},
    {L"allscroll", Match::Part, kSizeAll},
    {L"移動", Match::Part, kSizeAll},

    {L"precision", Match::Part, kCrosshair},
    {L"crosshair", Match::Part, kCrosshair},
    {L"cross", Match::Part, kCrosshair},
    {L"領域選択", Match::Part, kCrosshair},
    {L"精密", Match::Part, kCrosshair},

    {L"ibeam", Match::Part, kIBeam},
    {L"beam", Match::Part, kIBeam},
    {L"text", Match::Part, kIBeam},
    {L"xterm", Match::Part, kIBeam},
    {L"テキスト", Match::Part, kIBeam},
    {L"ﾃｷｽﾄ", Match::Part, kIBeam},

    {L"unavailable", Match::Part, kNo},
    {L"unavail", Match::Part, kNo},
    {L"notallowed", Match::Part, kNo},
    {L"forbidden", Match::Part, kNo},
    {L"no", Match::Word, kNo},
    {L"作業領域外", Match::Part, kNo},
    {L"利用不可", Match::Part, kNo},
    {L"禁止", Match::Part, kNo},

    {L"link", Match::Part, kHand},
    {L"hand", Match::Part, kHand},
    {L"リンク", Match::Part, kHand},
    {L"ﾘﾝｸ", Match::Part, kHand},

    {L"location", Match::Part, kPin},
    {L"pin", Match::Word, kPin},
    {L"位置", Match::Part, kPin},

    {L"person", Match::Part, kPerson},
    {L"people", Match::Part, kPerson},
    {L"人", Match::Part, kPerson},

    {L"normal", Match::Part, kArrow},
    {L"arrow", Match::Part, kArrow},
    {L"pointer", Match::Part, kArrow},
    {L"leftptr", Match::Part, kArrow},
    {L"default", Match::Part, kArrow},
    {L"標準", Match::Part, kArrow},
    {L"通常", Match::Part, kArrow},
};

// The last part of a path.
std::wstring_view LastPart(std::wstring_view path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

// The last part of a path, its extension left out.
std::wstring_view Stem(std::wstring_view path)
{
    path = LastPart(path);
    const std::size_t dot = path.rfind(L'.');
    return dot == std::wstring_view::npos || dot == 0 ? path : path.substr(0, dot);
}

// Full-width letters, digits and signs as their ASCII selves.
wchar_t Narrow(wchar_t c)
{
    return c >= 0xFF01 && c <= 0xFF5E ? static_cast<wchar_t>(c - 0xFF01 + 0x21) : c;
}

enum class Kind : std::uint8_t { Separator,
                                 Lower,
                                 Upper,
                                 Digit,
                                 Other };

Kind KindOf(wchar_t c)
{
    if (c >= L'a' && c <= L'z')
        return Kind::Lower;
    if (c >= L'A' && c <= L'Z')
        return Kind::Upper;
    if (c >= L'0' && c <= L'9')
        return Kind::Digit;
    // ASCII signs and spaces, the ideographic space and the katakana middle dot.
    if (c < 0x80 || c == 0x3000 || c == 0x30FB || c == 0xFF65)
        return Kind::Separator;
    return Kind::Other;
}

// A name's words in lower case: split at separators, where a lower-case
// letter meets an upper-case one ("UpArrow") and where letters meet digits
// ("arrow1").
std::vector<std::wstring> Words(std::wstring_view stem)
{
    std::vector<std::wstring> words;
    std::wstring word;
    Kind last = Kind::Separator;
    for (wchar_t raw : stem) {
        const wchar_t c = Narrow(raw);
        const Kind kind = KindOf(c);
        const bool letter = kind == Kind::Lower || kind == Kind::Upper;
        const bool lastLetter = last == Kind::Lower || last == Kind::Upper;
        const bool split = kind == Kind::Separator || (last == Kind::Lower && kind == Kind::Upper) ||
                           (letter && last == Kind::Digit) || (kind == Kind::Digit && lastLetter);
        if (split && !word.empty())
            words.push_back(std::move(word)), word.clear();
        if (kind != Kind::Separator)
            word += kind == Kind::Upper ? static_cast<wchar_t>(c - L'A' + L'a') : c;
        last = kind;
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

struct Guess {
    std::size_t role = 0;
    std::size_t extra = 0; // letters of the name beyond the key
};

std::optional<Guess> GuessWithExtra(std::wstring_view path)
{
    const std::vector<std::wstring> words = Words(Stem(path));
    std::wstring joined;
    for (const auto& w : words)
        joined += w;
    for (const NameKey& k : kNameKeys) {
        const std::wstring_view key(k.key);
        const bool found = k.match == Match::Part ? joined.find(key) != std::wstring::npos
                                                  : std::find(words.begin(), words.end(), key) != words.end();
        if (found)
            return Guess{k.role, joined.size() - key.size()};
    }
    return std::nullopt;
}

bool IsCursorName(std::wstring_view path)
{
    const std::wstring_view stem = Stem(path);
    const std::wstring_view last = LastPart(path);
    if (stem.size() == last.size())
        return false;
    std::wstring ext(last.substr(stem.size() + 1));
    for (auto& c : ext)
        c = KindOf(c) == Kind::Upper ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    return ext == L"cur" || ext == L"ani";
}

std::wstring LowerAscii(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out)
        c = KindOf(c) == Kind::Upper ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    return out;
}

} // namespace

std::optional<std::size_t> GuessRole(std::wstring_view path)
{
    if (const auto guess = GuessWithExtra(path))
        return guess->role;
    return std::nullopt;
}

GuessedSet GuessSet(const std::vector<std::wstring>& paths)
{
    GuessedSet set;
    std::array<std::size_t, kMouseRoleCount> bestExtra;
    bestExtra.fill(std::numeric_limits<std::size_t>::max());
    for (const std::wstring& path : paths) {
        if (!IsCursorName(path))
            continue;
        const auto guess = GuessWithExtra(path);
        if (!guess)
            continue;
        RoleGuess& row = set[guess->role];
        std::size_t& extra = bestExtra[guess->role];
        const bool better = guess->extra < extra ||
                            (guess->extra == extra && LowerAscii(LastPart(path)) < LowerAscii(LastPart(row.file)));
        if (better) {
            row = {path, true};
            extra = guess->extra;
        }
    }
    return set;
}

} // namespace scheme

#include "scheme/role_guess.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace scheme {

namespace {

// Indices into MouseRegistry.
enum Role : std::uint8_t {
    Arrow,
    Help,
    AppStarting,
    Wait,
    Crosshair,
    IBeam,
    NWPen,
    No,
    SizeNS,
    SizeWE,
    SizeNWSE,
    SizeNESW,
    SizeAll,
    UpArrow,
    Hand,
    Pin,
    Person,
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
    {L"handwriting", Match::Part, NWPen},
    {L"handwrite", Match::Part, NWPen},
    {L"pencil", Match::Part, NWPen},
    {L"pen", Match::Word, NWPen},
    {L"手書き", Match::Part, NWPen},
    {L"ﾃｶﾞｷ", Match::Part, NWPen},

    {L"appstarting", Match::Part, AppStarting},
    {L"background", Match::Part, AppStarting},
    {L"progress", Match::Part, AppStarting},
    {L"working", Match::Part, AppStarting},
    {L"leftptrwatch", Match::Part, AppStarting},
    {L"バックグラウンド", Match::Part, AppStarting},
    {L"ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞ", Match::Part, AppStarting},
    {L"作業中", Match::Part, AppStarting},

    {L"busy", Match::Part, Wait},
    {L"wait", Match::Part, Wait},
    {L"hourglass", Match::Part, Wait},
    {L"watch", Match::Part, Wait},
    {L"待ち", Match::Part, Wait},
    {L"砂時計", Match::Part, Wait},

    {L"help", Match::Part, Help},
    {L"question", Match::Part, Help},
    {L"ヘルプ", Match::Part, Help},
    {L"ﾍﾙﾌﾟ", Match::Part, Help},

    {L"uparrow", Match::Part, UpArrow},
    {L"alternate", Match::Part, UpArrow},
    {L"altselect", Match::Part, UpArrow},
    {L"alt", Match::Word, UpArrow},
    {L"up", Match::Word, UpArrow},
    {L"代替", Match::Part, UpArrow},

    {L"nwse", Match::Part, SizeNWSE},
    {L"diagonal1", Match::Part, SizeNWSE},
    {L"diagonalresize1", Match::Part, SizeNWSE},
    {L"diagresize1", Match::Part, SizeNWSE},
    {L"diag1", Match::Part, SizeNWSE},
    {L"dgn1", Match::Part, SizeNWSE},
    {L"fdiag", Match::Part, SizeNWSE},
    {L"斜め1", Match::Part, SizeNWSE},
    {L"斜めに拡大縮小1", Match::Part, SizeNWSE},
    {L"nesw", Match::Part, SizeNESW},
    {L"diagonal2", Match::Part, SizeNESW},
    {L"diagonalresize2", Match::Part, SizeNESW},
    {L"diagresize2", Match::Part, SizeNESW},
    {L"diag2", Match::Part, SizeNESW},
    {L"dgn2", Match::Part, SizeNESW},
    {L"bdiag", Match::Part, SizeNESW},
    {L"斜め2", Match::Part, SizeNESW},
    {L"斜めに拡大縮小2", Match::Part, SizeNESW},

    {L"vertical", Match::Part, SizeNS},
    {L"sizens", Match::Part, SizeNS},
    {L"nsresize", Match::Part, SizeNS},
    {L"rowresize", Match::Part, SizeNS},
    {L"vdoublearrow", Match::Part, SizeNS},
    {L"ns", Match::Word, SizeNS},
    {L"vert", Match::Word, SizeNS},
    {L"上下", Match::Part, SizeNS},
    {L"horizontal", Match::Part, SizeWE},
    {L"horiz", Match::Part, SizeWE},
    {L"sizewe", Match::Part, SizeWE},
    {L"sizeew", Match::Part, SizeWE},
    {L"ewresize", Match::Part, SizeWE},
    {L"colresize", Match::Part, SizeWE},
    {L"hdoublearrow", Match::Part, SizeWE},
    {L"ew", Match::Word, SizeWE},
    {L"we", Match::Word, SizeWE},
    {L"horz", Match::Word, SizeWE},
    {L"左右", Match::Part, SizeWE},

    {L"move", Match::Part, SizeAll},
    {L"sizeall", Match::Part, SizeAll},
    {L"fleur", Match::Part, SizeAll},
    {L"allscroll", Match::Part, SizeAll},
    {L"移動", Match::Part, SizeAll},

    {L"precision", Match::Part, Crosshair},
    {L"crosshair", Match::Part, Crosshair},
    {L"cross", Match::Part, Crosshair},
    {L"領域選択", Match::Part, Crosshair},
    {L"精密", Match::Part, Crosshair},

    {L"ibeam", Match::Part, IBeam},
    {L"beam", Match::Part, IBeam},
    {L"text", Match::Part, IBeam},
    {L"xterm", Match::Part, IBeam},
    {L"テキスト", Match::Part, IBeam},
    {L"ﾃｷｽﾄ", Match::Part, IBeam},

    {L"unavailable", Match::Part, No},
    {L"unavail", Match::Part, No},
    {L"notallowed", Match::Part, No},
    {L"forbidden", Match::Part, No},
    {L"no", Match::Word, No},
    {L"作業領域外", Match::Part, No},
    {L"利用不可", Match::Part, No},
    {L"禁止", Match::Part, No},

    {L"link", Match::Part, Hand},
    {L"hand", Match::Part, Hand},
    {L"リンク", Match::Part, Hand},
    {L"ﾘﾝｸ", Match::Part, Hand},

    {L"location", Match::Part, Pin},
    {L"pin", Match::Word, Pin},
    {L"位置", Match::Part, Pin},

    {L"person", Match::Part, Person},
    {L"people", Match::Part, Person},
    {L"人", Match::Part, Person},

    {L"normal", Match::Part, Arrow},
    {L"arrow", Match::Part, Arrow},
    {L"pointer", Match::Part, Arrow},
    {L"leftptr", Match::Part, Arrow},
    {L"default", Match::Part, Arrow},
    {L"標準", Match::Part, Arrow},
    {L"通常", Match::Part, Arrow},
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

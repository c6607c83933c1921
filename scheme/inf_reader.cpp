#include "scheme/inf_reader.h"

#include <unordered_map>
#include <vector>

namespace scheme {

namespace {

wchar_t FoldAscii(wchar_t c) noexcept
{
    return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c;
}

std::wstring Folded(std::wstring_view text)
{
    std::wstring out(text);
    for (wchar_t& c : out)
        c = FoldAscii(c);
    return out;
}

bool IsBlank(wchar_t c) noexcept
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\f' || c == L'\v' || c == L'\0';
}

// One field being read: blanks outside quotes are dropped at its ends and
// kept inside it.
class FieldText {
public:
    void Append(wchar_t c, bool quoted)
    {
        if (!quoted && IsBlank(c)) {
            if (started_)
                blanks_ += c;
            return;
        }
        text_ += blanks_;
        blanks_.clear();
        text_ += c;
        started_ = true;
    }
    // An opening or closing quote: what follows belongs to the field, blanks too.
    void Quote()
    {
        text_ += blanks_;
        blanks_.clear();
        started_ = true;
    }
    std::wstring Take()
    {
        std::wstring out = std::move(text_);
        text_.clear();
        blanks_.clear();
        started_ = false;
        return out;
    }

private:
    std::wstring text_;
    std::wstring blanks_;
    bool started_ = false;
};

// The language id of a [Strings.xxxx] section's name (four hex digits); -1
// for any other name.
int StringsLanguage(std::wstring_view name)
{
    constexpr std::wstring_view kPrefix = L"Strings.";
    if (name.size() != kPrefix.size() + 4 || !SameInfName(name.substr(0, kPrefix.size()), kPrefix))
        return -1;
    int id = 0;
    for (wchar_t c : name.substr(kPrefix.size())) {
        c = FoldAscii(c);
        const int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                                                                                     : -1;
        if (digit < 0)
            return -1;
        id = id * 16 + digit;
    }
    return id;
}

class Reader {
public:
    Reader(std::wstring_view text, unsigned short language) : text_(text), language_(language) {}

    InfFile Read()
    {
        if (!text_.empty() && text_.front() == L'\xFEFF')
            pos_ = 1;
        while (pos_ < text_.size())
            ReadLine();
        Substitute();
        return std::move(inf_);
    }

private:
    bool AtLineEnd() const noexcept { return pos_ >= text_.size() || text_[pos_] == L'\n'; }

    void SkipToNextLine()
    {
        while (!AtLineEnd())
            ++pos_;
        if (pos_ < text_.size()) {
            ++pos_;
            ++lineNumber_;
        }
    }

    void SkipBlanks()
    {
        while (!AtLineEnd() && IsBlank(text_[pos_]))
            ++pos_;
    }

    // After a '\' outside quotes: only blanks or a comment up to the line's
    // end make it a continuation.
    bool ContinuesAt(std::size_t at) const noexcept
    {
        for (std::size_t i = at; i < text_.size() && text_[i] != L'\n'; ++i) {
            if (text_[i] == L';')
                return true;
            if (!IsBlank(text_[i]))
                return false;
        }
        return true;
    }

    void Malformed(int line)
    {
        if (inf_.malformedLine == 0)
            inf_.malformedLine = line;
    }

    void ReadLine()
    {
        const int first = lineNumber_;
        SkipBlanks();
        if (AtLineEnd() || text_[pos_] == L';') {
            SkipToNextLine();
            return;
        }
        if (text_[pos_] == L'[') {
            ReadSectionName(first);
            return;
        }
        InfLine line;
        line.number = first;
        if (!ReadFields(line))
            Malformed(first);
        else if (current_ < 0)
            Malformed(first);
        else if (line.hasKey && line.key.empty())
            Malformed(first);
        else
            inf_.sections[std::size_t(current_)].lines.push_back(std::move(line));
    }

    void ReadSectionName(int first)
    {
        ++pos_;
        std::size_t start = pos_;
        while (!AtLineEnd() && text_[pos_] != L']')
            ++pos_;
        if (AtLineEnd()) {
            // The lines up to the next good name belong to no section.
            current_ = -1;
            Malformed(first);
            SkipToNextLine();
            return;
        }
        std::wstring_view name = text_.substr(start, pos_ - start);
        while (!name.empty() && IsBlank(name.front()))
            name.remove_prefix(1);
        while (!name.empty() && IsBlank(name.back()))
            name.remove_suffix(1);
        SkipToNextLine();
        const std::wstring key = Folded(name);
        auto found = sectionIndex_.find(key);
        if (found != sectionIndex_.end()) {
            current_ = found->second;
            return;
        }
        current_ = int(inf_.sections.size());
        sectionIndex_.emplace(key, current_);
        inf_.sections.push_back({std::wstring(name), {}});
    }

    // The fields of one line, across continuations. False for a quote left
    // open at the line's end; the rest of that line is passed over.
    bool ReadFields(InfLine& line)
    {
        FieldText field;
        bool quoted = false;
        while (true) {
            if (AtLineEnd()) {
                line.fields.push_back(field.Take());
                SkipToNextLine();
                return !quoted;
            }
            const wchar_t c = text_[pos_];
            if (quoted) {
                if (c == L'"' && pos_ + 1 < text_.size() && text_[pos_ + 1] == L'"') {
                    field.Append(L'"', true);
                    pos_ += 2;
                } else if (c == L'"') {
                    quoted = false;
                    field.Quote();
                    ++pos_;
                } else {
                    field.Append(c, true);
                    ++pos_;
                }
                continue;
            }
            if (c == L'"') {
                quoted = true;
                field.Quote();
                ++pos_;
            } else if (c == L';') {
                while (!AtLineEnd())
                    ++pos_;
            } else if (c == L'\\' && ContinuesAt(pos_ + 1)) {
                SkipToNextLine();
                if (pos_ >= text_.size()) {
                    line.fields.push_back(field.Take());
                    return true;
                }
            } else if (c == L',') {
                line.fields.push_back(field.Take());
                ++pos_;
            } else if (c == L'=' && !line.hasKey && line.fields.empty()) {
                line.hasKey = true;
                line.key = field.Take();
                ++pos_;
            } else {
                field.Append(c, false);
                ++pos_;
            }
        }
    }

    std::wstring Substituted(const std::wstring& text) const
    {
        if (text.find(L'%') == std::wstring::npos)
            return text;
        std::wstring out;
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t open = text.find(L'%', i);
            if (open == std::wstring::npos) {
                out.append(text, i, std::wstring::npos);
                break;
            }
            out.append(text, i, open - i);
            const std::size_t close = text.find(L'%', open + 1);
            if (close == std::wstring::npos) {
                out.append(text, open, std::wstring::npos);
                break;
            }
            if (close == open + 1) {
                out += L'%';
            } else {
                auto found = strings_.find(Folded(std::wstring_view(text).substr(open + 1, close - open - 1)));
                if (found != strings_.end())
                    out += found->second;
                else
                    out.append(text, open, close - open + 1);
            }
            i = close + 1;
        }
        return out;
    }

    // The strings sections to read, the most general first: a name in a
    // later one stands for the name in an earlier one.
    std::vector<const InfSection*> StringLayers() const
    {
        std::vector<const InfSection*> layers;
        if (const InfSection* plain = inf_.Find(L"Strings"))
            layers.push_back(plain);
        if (language_ == 0)
            return layers;
        const unsigned primary = language_ & 0x3FFu;
        const InfSection *sameLanguage = nullptr, *neutral = nullptr, *exact = nullptr;
        for (const InfSection& section : inf_.sections) {
            const int id = StringsLanguage(section.name);
            if (id < 0)
                continue;
            if (unsigned(id) == language_)
                exact = &section;
            else if (unsigned(id) == primary)
                neutral = &section;
            else if ((unsigned(id) & 0x3FFu) == primary && !sameLanguage)
                sameLanguage = &section;
        }
        for (const InfSection* layer : {sameLanguage, neutral, exact})
            if (layer)
                layers.push_back(layer);
        return layers;
    }

    void Substitute()
    {
        for (const InfSection* layer : StringLayers()) {
            std::unordered_map<std::wstring, std::wstring> own;
            for (const InfLine& line : layer->lines)
                if (line.hasKey)
                    own.emplace(Folded(line.key), line.fields.empty() ? std::wstring() : line.fields[0]);
            for (auto& [name, value] : own)
                strings_.insert_or_assign(name, std::move(value));
        }
        for (InfSection& section : inf_.sections) {
            if (SameInfName(section.name, L"Strings") || StringsLanguage(section.name) >= 0)
                continue;
            for (InfLine& line : section.lines) {
                line.key = Substituted(line.key);
                for (std::wstring& field : line.fields)
                    field = Substituted(field);
            }
        }
    }

    std::wstring_view text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 1;
    int current_ = -1;
    unsigned short language_ = 0;
    InfFile inf_;
    std::unordered_map<std::wstring, int> sectionIndex_;
    std::unordered_map<std::wstring, std::wstring> strings_;
};

void AppendCodePoint(std::wstring& out, char32_t c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out += wchar_t(0xD800 + (c >> 10));
        out += wchar_t(0xDC00 + (c & 0x3FF));
    } else {
        out += wchar_t(c);
    }
}

std::wstring FromUtf8(const unsigned char* p, std::size_t size)
{
    std::wstring out;
    out.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        const unsigned char b = p[i];
        int extra = b < 0x80 ? 0 : b >= 0xC2 && b < 0xE0 ? 1
                               : b >= 0xE0 && b < 0xF0   ? 2
                               : b >= 0xF0 && b < 0xF5   ? 3
                                                         : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? b & 0x1F
                                  : extra == 2   ? b & 0x0F
                                                 : b & 0x07;
        bool good = extra >= 0 && i + std::size_t(extra) < size;
        for (int k = 1; good && k <= extra; ++k) {
            if ((p[i + std::size_t(k)] & 0xC0) != 0x80)
                good = false;
            else
                c = (c << 6) | (p[i + std::size_t(k)] & 0x3F);
        }
        // Over-long forms, surrogates and values past the last code point
        // are no characters.
        if (extra == 2 && (c < 0x800 || (c >= 0xD800 && c < 0xE000)))
            good = false;
        if (extra == 3 && (c < 0x10000 || c > 0x10FFFF))
            good = false;
        if (!good) {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        AppendCodePoint(out, c);
        i += std::size_t(extra) + 1;
    }
    return out;
}

std::wstring FromUtf16(const unsigned char* p, std::size_t size, bool bigEndian)
{
    std::wstring out;
    out.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        out += bigEndian ? wchar_t((p[i] << 8) | p[i + 1]) : wchar_t(p[i] | (p[i + 1] << 8));
    return out;
}

} // namespace

const InfSection* InfFile::Find(std::wstring_view name) const noexcept
{
    for (const InfSection& section : sections)
        if (SameInfName(section.name, name))
            return &section;
    return nullptr;
}

InfFile ReadInf(std::wstring_view text, unsigned short language)
{
    return Reader(text, language).Read();
}

std::wstring DecodeInfBytes(const unsigned char* bytes, std::size_t size, AnsiDecoder ansi)
{
    if (!bytes || size == 0)
        return {};
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return FromUtf16(bytes + 2, size - 2, false);
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return FromUtf16(bytes + 2, size - 2, true);
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return FromUtf8(bytes + 3, size - 3);
    return ansi ? ansi(std::string_view(reinterpret_cast<const char*>(bytes), size)) : std::wstring();
}

bool SameInfName(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

} // namespace scheme

// Setup files as cursor packs write them, read line by line.
#include "scheme/inf_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using scheme::InfFile;
using scheme::ReadInf;

namespace {

// The one line of [s] (key, then fields) after reading `body` below it.
std::vector<std::wstring> OneLine(const std::wstring& body, const std::wstring& strings = L"")
{
    const InfFile inf = ReadInf(L"[s]\n" + body + L"\n[Strings]\n" + strings);
    const scheme::InfSection* s = inf.Find(L"S");
    if (!s || s->lines.size() != 1)
        return {L"<" + std::to_wstring(s ? s->lines.size() : 0) + L" lines>"};
    std::vector<std::wstring> out;
    if (s->lines[0].hasKey)
        out.push_back(s->lines[0].key + L"=");
    out.insert(out.end(), s->lines[0].fields.begin(), s->lines[0].fields.end());
    return out;
}

TEST(InfReader, FieldsKeysQuotesCommentsAndContinuations)
{
    const struct {
        const wchar_t* body;
        std::vector<std::wstring> read;
    } rows[] = {
        {L"a, b ,c", {L"a", L"b", L"c"}},
        {L"  Key  =  one two , three ", {L"Key=", L"one two", L"three"}},
        {L"a,,b,", {L"a", L"", L"b", L""}},
        // Quotes keep commas, semicolons, '=' and blanks; "" is one quote.
        {LR"("a, b;c=d", "  x  ", "say ""hi""")", {L"a, b;c=d", L"  x  ", LR"(say "hi")"}},
        {LR"(pre "mid" post)", {L"pre mid post"}},
        {L"k = v ; a comment, with commas", {L"k=", L"v"}},
        {L"k = \"a\" = b", {L"k=", L"a = b"}},
        // A '\' ending a line (blanks or a comment after it) joins the next.
        {L"a, \\\n  b, c", {L"a", L"b", L"c"}},
        {L"a, \\ ; note\n b", {L"a", L"b"}},
        // Anywhere else it is a character of the text.
        {LR"(HKCU,Control Panel\Cursors\Schemes,x)", {L"HKCU", LR"(Control Panel\Cursors\Schemes)", L"x"}},
        {L"a\\b,c", {L"a\\b", L"c"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.body);
        EXPECT_EQ(row.read, OneLine(row.body));
    }
}

TEST(InfReader, StringsAreSubstitutedOutsideTheirOwnSection)
{
    const std::wstring strings = L"Dir = \"Cursors\\Neon\"\nNAME=Neon Glow\npct = \"100%%\"\n";
    const struct {
        const wchar_t* body;
        std::vector<std::wstring> read;
    } rows[] = {
        {L"%dir%\\a.cur", {L"Cursors\\Neon\\a.cur"}},
        {L"\"%10%\\%DIR%\\a.cur\"", {L"%10%\\Cursors\\Neon\\a.cur"}}, // a directory id stays
        {L"%name%,%Unknown%", {L"Neon Glow", L"%Unknown%"}},
        {L"100%%, 50%", {L"100%", L"50%"}},
        {L"%pct%", {L"100%%"}}, // a value is not read again
        {L"%NAME% = x", {L"Neon Glow=", L"x"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.body);
        EXPECT_EQ(row.read, OneLine(row.body, strings));
    }
    // [Strings] itself keeps its text.
    const InfFile inf = ReadInf(L"[Strings]\na = \"%b%\"\nb = x\n");
    EXPECT_EQ(L"%b%", inf.Find(L"strings")->lines[0].fields[0]);
}

// The user's language picks its strings section, name by name: its own id,
// then its primary language (sub-language 0 before any other), then [Strings].
TEST(InfReader, StringsOfTheUsersLanguageBeforeThePlainOnes)
{
    const std::wstring text = L"[s]\n%name%,%dir%,%only%\n"
                              L"[Strings]\nname=Plain\ndir=Cursors\nonly=Plain only\n"
                              L"[Strings.0411]\nname=\"日本語\"\ndir=\"%kept%\"\n"
                              L"[strings.0C07]\nname=Austrian\n[Strings.0007]\nname=German\n"
                              L"[Strings.0807]\nname=Swiss\ndir=Schweiz\n[Strings.xy12]\nname=Bad\n";
    const struct {
        unsigned short language;
        std::vector<std::wstring> read;
    } rows[] = {
        {0x0411, {L"日本語", L"%kept%", L"Plain only"}},
        {0x0407, {L"German", L"Cursors", L"Plain only"}}, // neutral before the first other German
        {0x0C07, {L"Austrian", L"Schweiz", L"Plain only"}},
        {0x0409, {L"Plain", L"Cursors", L"Plain only"}},
        {0, {L"Plain", L"Cursors", L"Plain only"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.language);
        const InfFile inf = ReadInf(text, row.language);
        EXPECT_EQ(row.read, inf.Find(L"s")->lines[0].fields);
        EXPECT_EQ(L"%kept%", inf.Find(L"Strings.0411")->lines[1].fields[0]);
    }
}

TEST(InfReader, SectionsAndTheLinesItCannotRead)
{
    const struct {
        const wchar_t* text;
        int malformed;
        std::vector<std::wstring> sections; // name: line count
    } rows[] = {
        {L"; top\n\n[A]\nx\n [ b ] trailing\ny\n[a]\nz\n", 0, {L"A:2", L"b:1"}},
        {L"x\n[A]\ny\n", 1, {L"A:1"}},                     // before any section
        {L"[A]\nx\n[B\ny\n[C]\nz\n", 3, {L"A:1", L"C:1"}}, // a name left open
        {L"[A]\nx\n\"open, y\nz\n", 3, {L"A:2"}},          // a quote left open
        {L"[A]\n = v\n", 2, {L"A:0"}},                     // a key of nothing
        {L"\xFEFF[A]\r\nx\r\n", 0, {L"A:1"}},              // an order mark left in the text
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const InfFile inf = ReadInf(row.text);
        EXPECT_EQ(row.malformed, inf.malformedLine);
        std::vector<std::wstring> sections;
        for (const auto& s : inf.sections)
            sections.push_back(s.name + L":" + std::to_wstring(s.lines.size()));
        EXPECT_EQ(row.sections, sections);
    }
    // Line numbers count from the first line of a continued line.
    const InfFile inf = ReadInf(L"[A]\n\na,\\\nb\nc\n");
    ASSERT_EQ(2u, inf.Find(L"a")->lines.size());
    EXPECT_EQ(3, inf.Find(L"a")->lines[0].number);
    EXPECT_EQ(5, inf.Find(L"a")->lines[1].number);
}

std::wstring Latin1(std::string_view bytes)
{
    std::wstring text;
    for (char c : bytes)
        text += wchar_t(static_cast<unsigned char>(c));
    return text;
}

TEST(InfReader, BytesByTheirOrderMarkOrTheCodePage)
{
    const struct {
        std::vector<unsigned char> bytes;
        std::wstring text;
    } rows[] = {
        {{0xFF, 0xFE, 'A', 0, 0x42, 0x30, 'z'}, L"A\x3042"}, // an odd last byte is dropped
        {{0xFE, 0xFF, 0, 'A', 0x30, 0x42}, L"A\x3042"},
        {{0xEF, 0xBB, 0xBF, 'a', 0xE3, 0x81, 0x82, 0xF0, 0x9F, 0x98, 0x80}, L"a\x3042\xD83D\xDE00"},
        {{0xEF, 0xBB, 0xBF, 0xC0, 0x80, 0xED, 0xA0, 0x80, 0xE3, 0x81}, L"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"},
        {{'a', 0xE9}, L"a\xE9"},
        {{}, L""},
    };
    for (const auto& row : rows) {
        const std::unique_ptr<unsigned char[]> exact(new unsigned char[row.bytes.size() + 1]);
        std::copy(row.bytes.begin(), row.bytes.end(), exact.get());
        EXPECT_EQ(row.text, scheme::DecodeInfBytes(exact.get(), row.bytes.size(), Latin1));
    }
}

} // namespace

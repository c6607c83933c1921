// Setup files as cursor packs write them, read line by line.
#include "scheme/inf_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using scheme::InfFile;
using scheme::ReadInf;

namespace {

// The lines of [s] after reading `body` below it: key, then fields, and
// "#n" before each line but the first (n: its first line in the file); then
// "!n" for the first line that could not be read.
std::vector<std::wstring> Lines(const std::wstring& body, const std::wstring& strings = L"")
{
    const InfFile inf = ReadInf(L"[s]\n" + body + L"\n[Strings]\n" + strings);
    std::vector<std::wstring> out;
    for (const scheme::InfLine& line : inf.Find(L"S")->lines) {
        if (!out.empty())
            out.push_back(L"#" + std::to_wstring(line.number));
        if (line.hasKey)
            out.push_back(line.key + L"=");
        out.insert(out.end(), line.fields.begin(), line.fields.end());
    }
    if (inf.malformedLine)
        out.push_back(L"!" + std::to_wstring(inf.malformedLine));
    return out;
}

TEST(InfReader, SectionsFieldsKeysQuotesCommentsAndContinuations)
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
        // Lines as setup files end them; lines numbered from a continued line's first.
        {L"k = a, \"b\" , c\r\nd\r", {L"k=", L"a", L"b", L"c", L"#3", L"d"}},
        {L"a\n\nb, \\\n c", {L"a", L"#4", L"b", L"c"}},
        // Comments and blank lines; a name written again, in another case,
        // blanks around it and text after it, adds to the section.
        {L"; note\n\na\n[t]\nb\n [ S ] trailing\nc", {L"a", L"#8", L"c"}},
        // Lines that cannot be read: the lines after them are.
        {L"\"open, x\ny", {L"y", L"!2"}},
        {L"k = \\\n\"open\ny", {L"y", L"!2"}},
        {L" = v\ny", {L"y", L"!2"}},
        {L"[t\nx\n[s]\ny", {L"y", L"!2"}}, // the lines after a name left open belong to no section
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.body);
        EXPECT_EQ(row.read, Lines(row.body));
    }
    EXPECT_EQ(1, ReadInf(L"x\n[A]\n").malformedLine);           // a line before any section
    EXPECT_EQ(0, ReadInf(L"\xFEFF[A]\r\nx\r\n").malformedLine); // an order mark left in the text
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
        EXPECT_EQ(row.read, Lines(row.body, strings));
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
        {{0xFF, 0xFE, 'A', 0, 0x42, 0x30}, L"A\x3042"},
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

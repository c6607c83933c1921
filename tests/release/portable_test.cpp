// The portable zip, unpacked as a user unpacks it.
#include "res/version.h"
#include "tests/support/program_process.h"
#include "tests/support/system_state.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace testsupport;

TEST(PortableZip, HoldsTheProgramAndAReadMe)
{
    const std::wstring dir = WindowsPath(TARIMOKU_PORTABLE_DIR);
    std::set<std::wstring> names = ListFolder(dir);
    names.erase(L".unpacked"); // the build's own mark
    EXPECT_EQ(names, (std::set<std::wstring>{L"readme.txt", L"tarimoku.exe"}));
    EXPECT_TRUE(ReadBytes(dir + L"\\tarimoku.exe") == ReadBytes(WindowsPath(TARIMOKU_EXE)))
        << "the zip's program is not the built one";

    // Windows text: UTF-8 with a byte order mark, CRLF lines, both languages.
    const std::string readme = ReadBytes(dir + L"\\readme.txt");
    ASSERT_GT(readme.size(), 3u);
    EXPECT_EQ(readme.substr(0, 3), "\xEF\xBB\xBF");
    for (size_t at = readme.find('\n'); at != std::string::npos; at = readme.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && readme[at - 1] == '\r') << "bare LF at byte " << at;
    const struct {
        const char* what;
        std::string text;
    } expected[] = {
        {"version", std::string(TARIMOKU_VERSION_TEXT)},
        {"Japanese name", "タリモク"},
        {"English name", "Tarimoku"},
        {"settings key", "HKCU\\SOFTWARE\\RUVANE\\Tarimoku"},
    };
    for (const auto& e : expected)
        EXPECT_NE(readme.find(e.text), std::string::npos) << e.what;
}

TEST(PortableZip, ProgramStartsFromTheUnpackedFolder)
{
    ProgramProcess program(WindowsPath(TARIMOKU_PORTABLE_DIR) + L"\\tarimoku.exe");
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForWindow(L"TarimokuMainWindow"), nullptr);
    EXPECT_EQ(program.CloseAndWait(), 0u);
}

} // namespace

// The stored placement's text and where a restored window or the about box goes.
#include "dialogs/bounds_text.h"
#include "dialogs/screen_place.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using dialogs::Bounds;

TEST(ReadIntField, ReadsFieldByFieldAndAdvancesPastTheSeparator)
{
    struct Row {
        const wchar_t* text;
        std::size_t position;
        int fallback;
        int value;
        std::size_t next;
    };
    const Row rows[] = {
        {L"242,91,491,409", 1, -1, 242, 5},
        {L"242,91,491,409", 5, -1, 91, 8},
        {L"242,91,491,409", 12, -1, 409, 15}, // last field: position ends past the text
        {L"", 1, 7, 7, 1},                    // empty text: position unchanged
        {L"10,,300", 4, 7, 7, 5},             // empty field between separators
        {L"abc,20", 1, 7, 7, 5},              // not a number
        {L"-5000,1", 1, 0, -5000, 7},
        {L"+12,1", 1, 0, 12, 5},
        {L" 12,1", 1, 0, 0, 5}, // blanks are not part of a number
        {L"-,1", 1, 3, 3, 3},
        {L"2147483647,", 1, 0, INT_MAX, 12},
        {L"-2147483648", 1, 0, INT_MIN, 12},
        {L"2147483648", 1, 5, 5, 11},            // out of range
        {L"-99999999999999999999", 1, 5, 5, 22}, // far out of range
        {L"10,20", 7, 9, 9, 7},                  // past the end: missing field
        {L"1.5,2", 1, 9, 9, 5},
    };
    for (const Row& r : rows) {
        std::size_t position = r.position;
        EXPECT_EQ(dialogs::ReadIntField(r.text, position, L',', r.fallback), r.value) << r.text << " @" << r.position;
        EXPECT_EQ(position, r.next) << r.text << " @" << r.position;
    }
}

TEST(ReadBounds, TakesEachMissingOrBadFieldFromTheCurrentBounds)
{
    const Bounds current{100, 110, 491, 409};
    struct Row {
        const wchar_t* text;
        Bounds expected;
    };
    const Row rows[] = {
        {L"10,20,300,200", {10, 20, 300, 200}},
        {L"10,20", {10, 20, 491, 409}},
        {L"abc,20,300,200", {100, 20, 300, 200}},
        {L"10,,300,200", {10, 110, 300, 200}},
        {L"10,20,300,200,5", {10, 20, 300, 200}},
        {L"", {100, 110, 491, 409}},
        {L",,,", {100, 110, 491, 409}},
        {L"-5000,-5000,300,200", {-5000, -5000, 300, 200}},
        {L"10,20,0,0", {10, 20, 0, 0}}, // read as stored; the fit keeps the size
    };
    for (const Row& r : rows)
        EXPECT_EQ(dialogs::ReadBounds(r.text, current), r.expected) << r.text;
}

TEST(FormatBounds, WritesPlainDecimalsThatReadBackTheSame)
{
    const std::vector<std::pair<Bounds, const wchar_t*>> rows = {
        {{242, 91, 491, 409}, L"242,91,491,409"},
        {{-8, -8, 1296, 1000}, L"-8,-8,1296,1000"},
        {{INT_MIN, INT_MAX, 1, 2}, L"-2147483648,2147483647,1,2"},
    };
    for (const auto& [bounds, text] : rows) {
        EXPECT_EQ(dialogs::FormatBounds(bounds), text);
        EXPECT_EQ(dialogs::ReadBounds(text, {}), bounds) << text;
    }
}

TEST(FitOnWorkArea, BringsTheTitleBarOntoTheDisplayAndKeepsAUsableSize)
{
    const scheme::Rect work{0, 0, 1280, 770};
    const Bounds current{100, 110, 491, 409};
    const int title = 30;
    struct Row {
        const char* what;
        Bounds stored;
        Bounds expected;
    };
    const Row rows[] = {
        {"inside stays", {10, 20, 300, 200}, {10, 20, 300, 200}},
        {"far up and left", {-5000, -5000, 300, 200}, {0, 0, 300, 200}},
        {"far down and right", {5000, 5000, 300, 200}, {980, 570, 300, 200}},
        {"title bar just inside at the bottom", {10, 740, 300, 200}, {10, 740, 300, 200}},
        {"title bar a pixel below", {10, 741, 300, 200}, {10, 570, 300, 200}},
        {"half off the right edge", {1100, 20, 300, 200}, {980, 20, 300, 200}},
        {"zero size keeps the default", {10, 20, 0, 0}, {10, 20, 491, 409}},
        {"negative width keeps the default width", {10, 20, -300, 200}, {10, 20, 491, 200}},
        {"too large shrinks to the work area", {-8, -8, 1296, 1000}, {0, 0, 1280, 770}},
        {"extreme values", {INT_MIN, INT_MAX, INT_MAX, INT_MAX}, {0, 0, 1280, 770}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(dialogs::FitOnWorkArea(r.stored, current, work, title), r.expected) << r.what;

    // A work area that does not start at the origin (a second display on the left, a bar on top).
    const scheme::Rect left{-1024, 40, 0, 768};
    EXPECT_EQ(dialogs::FitOnWorkArea({-5000, 0, 300, 200}, current, left, title), (Bounds{-1024, 40, 300, 200}));
    EXPECT_EQ(dialogs::FitOnWorkArea({10, 900, 300, 200}, current, left, title), (Bounds{-300, 568, 300, 200}));
}

TEST(CenterOnScreen, CentresOnTheScreenOrOnTheActiveWindowsDisplay)
{
    const dialogs::Display primary{{0, 0, 1024, 768}, {0, 0, 1024, 738}, true};
    const dialogs::Display second{{1024, 0, 2304, 1024}, {1024, 0, 2304, 984}, false};
    struct Row {
        const char* what;
        int width, height;
        std::optional<dialogs::Display> active;
        scheme::Point expected;
    };
    const Row rows[] = {
        {"no active window", 305, 195, std::nullopt, {359, 286}},
        {"active on the primary: full screen, not the work area", 305, 195, primary, {359, 286}},
        {"larger than the screen: raised to 0", 1100, 800, primary, {0, 0}},
        {"active on another display: its work area", 305, 195, second, {1511, 394}},
        {"larger than that display", 1400, 1000, second, {1024, 0}},
    };
    for (const Row& r : rows) {
        scheme::Point at = dialogs::CenterOnScreen(r.width, r.height, 1024, 768, r.active);
        EXPECT_EQ(at.x, r.expected.x) << r.what;
        EXPECT_EQ(at.y, r.expected.y) << r.what;
    }
}

} // namespace

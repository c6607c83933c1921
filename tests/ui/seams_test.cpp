// Replacing a seam (or any variable) for a scope.
#include "ui/scoped_value.h"
#include "ui/seams.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(ScopedValue, PutsTheOldValueBackInOrderAlsoOnAnException)
{
    bool flag = false;
    {
        ui::ScopedValue outer(flag, true);
        {
            // Nested: the inner scope puts back what the outer one set.
            ui::ScopedValue inner(flag, true);
            EXPECT_TRUE(flag);
        }
        EXPECT_TRUE(flag);
    }
    EXPECT_FALSE(flag);
    std::wstring text = L"old";
    EXPECT_THROW(
        {
            ui::ScopedValue scoped(text, L"new");
            EXPECT_EQ(text, L"new");
            throw std::runtime_error("thrown");
        },
        std::runtime_error);
    EXPECT_EQ(text, L"old");
    // A seam is one such variable: the table's entry comes back.
    auto answer = [](int id) { return [id](HWND, const wchar_t*, const wchar_t*, UINT) { return id; }; };
    ui::ScopedSeam outerBox(ui::CurrentSeams().messageBox, answer(1));
    {
        ui::ScopedSeam innerBox(ui::CurrentSeams().messageBox, answer(42));
        EXPECT_EQ(ui::CurrentSeams().messageBox(nullptr, L"", L"", MB_OK), 42);
    }
    EXPECT_EQ(ui::CurrentSeams().messageBox(nullptr, L"", L"", MB_OK), 1);
}

} // namespace

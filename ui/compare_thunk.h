// The comparison callback handed to the controls' own sort messages: it calls
// a std::function and keeps exceptions from crossing into the control.
#pragma once
#include <windows.h>

#include <functional>

namespace ui::detail {

using Comparer = std::function<int(LPARAM, LPARAM)>;

inline int CALLBACK CompareThunk(LPARAM a, LPARAM b, LPARAM ctx) noexcept
{
    try {
        return (*reinterpret_cast<Comparer*>(ctx))(a, b);
    } catch (...) {
        return 0; // a sort is no place for an exception
    }
}

} // namespace ui::detail

// Owners for the handles and interfaces the program holds: each frees what it
// owns exactly once, moves but never copies.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <unknwn.h>
#include <utility>

namespace ui {

template <class T, class Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o)
            reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    T get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return Traits::Valid(h_); }
    [[nodiscard]] T release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    void reset(T h = Traits::Invalid()) noexcept
    {
        T old = std::exchange(h_, h);
        if (Traits::Valid(old) && old != h)
            Traits::Close(old);
    }
    T* put() noexcept
    {
        reset();
        return &h_;
    }

private:
    T h_ = Traits::Invalid();
};

#define UI_HANDLE_TRAITS(Name, Type, InvalidValue, CloseCall)                 \
    struct Name##Traits {                                                        \
        static Type Invalid() noexcept { return InvalidValue; }                  \
        static bool Valid(Type h) noexcept { return h != InvalidValue; }         \
        static void Close(Type h) noexcept { CloseCall; }                        \
    };                                                                           \
    using Name = UniqueHandle<Type, Name##Traits>;

UI_HANDLE_TRAITS(UniqueFile, HANDLE, INVALID_HANDLE_VALUE, CloseHandle(h))
UI_HANDLE_TRAITS(UniqueKernelHandle, HANDLE, nullptr, CloseHandle(h))
UI_HANDLE_TRAITS(UniqueChangeNotify, HANDLE, INVALID_HANDLE_VALUE, FindCloseChangeNotification(h))
UI_HANDLE_TRAITS(UniqueKey, HKEY, nullptr, RegCloseKey(h))
UI_HANDLE_TRAITS(UniqueMenu, HMENU, nullptr, DestroyMenu(h))
UI_HANDLE_TRAITS(UniqueIcon, HICON, nullptr, DestroyIcon(h))
UI_HANDLE_TRAITS(UniqueCursor, HCURSOR, nullptr, DestroyCursor(h))
UI_HANDLE_TRAITS(UniqueFont, HFONT, nullptr, DeleteObject(h))
UI_HANDLE_TRAITS(UniqueBitmap, HBITMAP, nullptr, DeleteObject(h))
UI_HANDLE_TRAITS(UniqueImageList, HIMAGELIST, nullptr, ImageList_Destroy(h))
UI_HANDLE_TRAITS(UniqueGlobal, HGLOBAL, nullptr, GlobalFree(h))
UI_HANDLE_TRAITS(UniqueModule, HMODULE, nullptr, FreeLibrary(h))
// A search from FindFirstFile(Ex), ended with FindClose.
UI_HANDLE_TRAITS(UniqueFind, HANDLE, INVALID_HANDLE_VALUE, FindClose(h))
// A memory device context from CreateCompatibleDC, deleted with DeleteDC.
UI_HANDLE_TRAITS(UniqueMemoryDC, HDC, nullptr, DeleteDC(h))
#undef UI_HANDLE_TRAITS

// A window's device context from GetDC, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) noexcept : wnd_(wnd), dc_(GetDC(wnd)) {}
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(wnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND wnd_;
    HDC dc_;
};

// A GDI object (bitmap, font, brush, pen) selected into a device context for
// the guard's life: the context's previous object goes back when the guard
// ends, so that neither the context nor the object is deleted while the other
// still holds it. Declare it after the owners of both. Nothing is selected
// for a null context or object, nor when the selection fails.
class SelectedObject {
public:
    SelectedObject() noexcept = default;
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
    {
        if (!dc || !object)
            return;
        HGDIOBJ old = SelectObject(dc, object);
        if (old && old != HGDI_ERROR) {
            dc_ = dc;
            old_ = old;
        }
    }
    SelectedObject(SelectedObject&& o) noexcept
        : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr))
    {
    }
    SelectedObject& operator=(SelectedObject&& o) noexcept
    {
        if (this != &o) {
            reset();
            dc_ = std::exchange(o.dc_, nullptr);
            old_ = std::exchange(o.old_, nullptr);
        }
        return *this;
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { reset(); }

    explicit operator bool() const noexcept { return dc_ != nullptr; }
    // Puts the previous object back now.
    void reset() noexcept
    {
        if (HDC dc = std::exchange(dc_, nullptr))
            SelectObject(dc, std::exchange(old_, nullptr));
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Holds one reference to a COM interface.
template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* p) noexcept
    {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    // Adds a reference of its own.
    static ComPtr Share(T* p) noexcept
    {
        if (p)
            p->AddRef();
        return Attach(p);
    }
    ComPtr(const ComPtr& o) noexcept : p_(o.p_)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept
    {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept
    {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    T* detach() noexcept { return std::exchange(p_, nullptr); }
    // Out-parameter of a call that hands over a reference.
    T** put() noexcept
    {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    template <class U>
    ComPtr<U> As(REFIID iid) const noexcept
    {
        ComPtr<U> out;
        if (p_)
            p_->QueryInterface(iid, out.put_void());
        return out;
    }

private:
    T* p_ = nullptr;
};

} // namespace ui

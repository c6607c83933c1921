#include "tests/support/wine_ui.h"

#include "ui/application.h"

#include <shellapi.h>

#include <cstdio>

namespace testsupport {

void PumpUntilIdle(DWORD quietMs, DWORD maxMs)
{
    DWORD start = GetTickCount();
    DWORD lastMessage = start;
    for (;;) {
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            ui::Application::DispatchNoted(msg);
        }
        DWORD now = GetTickCount();
        if (any)
            lastMessage = now;
        if (now - lastMessage >= quietMs || now - start >= maxMs)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ui::Application::DispatchNoted(msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

TempDir::TempDir()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    wchar_t name[MAX_PATH];
    for (;;) {
        swprintf(name, MAX_PATH, L"%lstarimoku-%lu-%ld-%lu", base, GetCurrentProcessId(),
                 InterlockedIncrement(&counter), GetTickCount());
        if (CreateDirectoryW(name, nullptr))
            break;
    }
    path_ = name;
}

TempDir::~TempDir() { RemoveTree(path_); }

std::wstring TempDir::operator/(std::wstring_view name) const
{
    std::wstring p = path_ + L"\\";
    p.append(name);
    for (auto& c : p)
        if (c == L'/')
            c = L'\\';
    return p;
}

std::wstring TempDir::File(std::wstring_view name, std::string_view bytes) const
{
    std::wstring p = *this / name;
    auto slash = p.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > path_.size())
        Folder(std::wstring_view(p).substr(path_.size() + 1, slash - path_.size() - 1));
    HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        if (!bytes.empty())
            WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    return p;
}

std::wstring TempDir::Folder(std::wstring_view name) const
{
    std::wstring p = *this / name;
    for (std::size_t i = path_.size() + 1; i <= p.size(); ++i)
        if (i == p.size() || p[i] == L'\\')
            CreateDirectoryW(p.substr(0, i).c_str(), nullptr);
    return p;
}

bool RemoveTree(const std::wstring& path)
{
    if (path.empty())
        return false;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}

std::string ReadBytes(const std::wstring& path)
{
    std::string out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    out.resize(std::size_t(size.QuadPart));
    DWORD read = 0;
    if (!out.empty())
        ReadFile(h, out.data(), DWORD(out.size()), &read, nullptr);
    out.resize(read);
    CloseHandle(h);
    return out;
}

bool FileExists(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring WindowsPath(std::string_view path)
{
    std::wstring p(path.begin(), path.end());
    for (auto& c : p)
        if (c == L'/')
            c = L'\\';
    return p;
}

std::wstring CorpusDir() { return WindowsPath(TARIMOKU_CORPUS); }

std::wstring CorpusFile(std::wstring_view relative)
{
    std::wstring p = CorpusDir() + L"\\";
    p.append(relative);
    for (auto& c : p)
        if (c == L'/')
            c = L'\\';
    return p;
}

DialogWatchdog::DialogWatchdog(int button) : button_(button), thread_([this] { Run(); }) {}

DialogWatchdog::~DialogWatchdog()
{
    stop_ = true;
    thread_.join();
}

std::vector<std::wstring> DialogWatchdog::Texts() const
{
    while (lock_.test_and_set()) {
    }
    auto copy = texts_;
    lock_.clear();
    return copy;
}

void DialogWatchdog::Run()
{
    DWORD pid = GetCurrentProcessId();
    while (!stop_) {
        HWND found = FindVisibleWindow(pid, L"#32770");
        if (found) {
            std::wstring text;
            EnumChildWindows(
                found,
                [](HWND c, LPARAM lp) -> BOOL {
                    wchar_t cls[16] = {};
                    GetClassNameW(c, cls, 16);
                    if (_wcsicmp(cls, L"Static") == 0) {
                        wchar_t buf[1024] = {};
                        GetWindowTextW(c, buf, 1024);
                        auto* t = reinterpret_cast<std::wstring*>(lp);
                        t->append(buf);
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&text));
            while (lock_.test_and_set()) {
            }
            texts_.push_back(text);
            lock_.clear();
            HWND btn = GetDlgItem(found, button_);
            if (btn)
                PostMessageW(found, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), LPARAM(btn));
            else
                PostMessageW(found, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
            ++pressed_;
            Sleep(200);
        }
        Sleep(20);
    }
}

namespace {
MenuCloser* g_closer = nullptr;
}

MenuCloser::MenuCloser(UINT delayMs, std::function<void()> action) : action_(std::move(action))
{
    g_closer = this;
    timer_ = SetTimer(nullptr, 0, delayMs, &MenuCloser::OnTimer);
}

MenuCloser::~MenuCloser()
{
    if (timer_)
        KillTimer(nullptr, timer_);
    g_closer = nullptr;
}

void CALLBACK MenuCloser::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    MenuCloser* self = g_closer;
    if (!self || id != self->timer_)
        return;
    KillTimer(nullptr, id);
    self->timer_ = 0;
    ++self->fired_;
    if (self->action_)
        self->action_();
    else
        EndMenu();
}

HWND FindVisibleWindow(DWORD pid, const wchar_t* cls)
{
    struct Probe {
        DWORD pid;
        const wchar_t* cls;
        HWND found;
    } probe{pid, cls, nullptr};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* p = reinterpret_cast<Probe*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            wchar_t name[64] = {};
            GetClassNameW(w, name, 64);
            if (owner == p->pid && wcscmp(name, p->cls) == 0 && IsWindowVisible(w)) {
                p->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&probe));
    return probe.found;
}

std::wstring ReadSchemeValue(const wchar_t* name)
{
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", name, RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return {};
    return buf;
}

namespace {
constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr wchar_t kHideFileExt[] = L"HideFileExt";

void SetHideFileExt(bool present, DWORD value)
{
    if (present)
        RegSetKeyValueW(HKEY_CURRENT_USER, kAdvanced, kHideFileExt, REG_DWORD, &value, sizeof(value));
    else
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kAdvanced, kHideFileExt);
}
} // namespace

ScopedFileExtensions::ScopedFileExtensions(bool hidden)
{
    DWORD size = sizeof(old_);
    had_ = RegGetValueW(HKEY_CURRENT_USER, kAdvanced, kHideFileExt, RRF_RT_REG_DWORD, nullptr, &old_, &size) ==
           ERROR_SUCCESS;
    SetHideFileExt(hidden, 1);
}

ScopedFileExtensions::~ScopedFileExtensions() { SetHideFileExt(had_, old_); }

HWND FindMenuWindow() { return FindVisibleWindow(GetCurrentProcessId(), L"#32768"); }

HWND CreateHostWindow(const wchar_t* title)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
        wc.lpszClassName = L"TarimokuTestHost";
        RegisterClassW(&wc);
        registered = true;
    }
    HWND w = CreateWindowExW(0, L"TarimokuTestHost", title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             0, 0, 800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    return w;
}

} // namespace testsupport

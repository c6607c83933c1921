// Recorders put in place of the system seams (ui/seams.h) for a scope: the
// message boxes shown, the calls that put a cursor assignment into effect,
// the clocks and the drives as a test sets them.
#pragma once
#include "ui/seams.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

struct BoxShown {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// Records every message box instead of showing it; `onBox` (when set) runs
// for each, after it was recorded, and may throw or close a dialog.
class BoxRecorder {
public:
    std::vector<BoxShown> boxes;
    std::function<void(const BoxShown&)> onBox;

private:
    ui::ScopedSeam<ui::MessageBoxFn> seam_{ui::CurrentSeams().messageBox,
                                           [this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
                                               boxes.push_back({owner, text ? text : L"", caption ? caption : L"", type});
                                               if (onBox)
                                                   onBox(boxes.back());
                                               return IDOK;
                                           }};
};

// The cursor seams for one platform family: loading is the system's own (a
// file Wine cannot read really fails), the calls that would change the
// system's cursors are only recorded.
class CursorSeamRecorder {
public:
    struct SetCall {
        HCURSOR cursor;
        DWORD id;
    };
    struct SpiCall {
        UINT action, param;
        void* data;
        UINT winIni;
    };

    explicit CursorSeamRecorder(DWORD platformId) : platformId_(platformId) {}

    std::vector<std::wstring> loads;
    std::vector<HCURSOR> loaded;
    std::vector<SetCall> sets;
    std::vector<SpiCall> spis;
    // What the system answers (Wine's own reload always fails).
    bool setAnswer = true;
    BOOL spiAnswer = TRUE;

private:
    DWORD platformId_;
    ui::ScopedSeam<ui::PlatformIdFn> platform_{ui::CurrentSeams().platformId, [this] { return platformId_; }};
    ui::ScopedSeam<ui::LoadCursorFn> load_{ui::CurrentSeams().loadCursor, [this](const std::wstring& path) {
                                               loads.push_back(path);
                                               ui::UniqueCursor cursor = ui::SystemSeams().loadCursor(path);
                                               loaded.push_back(cursor.get());
                                               return cursor;
                                           }};
    ui::ScopedSeam<ui::SetSystemCursorFn> set_{
        ui::CurrentSeams().setSystemCursor, [this](ui::UniqueCursor cursor, DWORD id) {
            sets.push_back({cursor.get(), id});
            return setAnswer;
        }};
    ui::ScopedSeam<ui::SystemParametersInfoFn> spi_{ui::CurrentSeams().systemParametersInfo,
                                                    [this](UINT action, UINT param, void* data, UINT winIni) {
                                                        spis.push_back({action, param, data, winIni});
                                                        return spiAnswer;
                                                    }};
};

// The system's clocks at what the test sets: `ms` for the tick count, `count`
// for the performance counter, which ticks `perSecond` times a second.
class ClockSeams {
public:
    explicit ClockSeams(long long perSecond = 1000) : perSecond_(perSecond) {}

    ULONGLONG ms = 100000;
    long long count = 0;

private:
    long long perSecond_;
    ui::ScopedSeam<ui::TickCountFn> tick_{ui::CurrentSeams().tickCount, [this] { return ms; }};
    ui::ScopedSeam<ui::PerformanceCounterFn> counter_{ui::CurrentSeams().performanceCounter,
                                                      [this] { return ui::CounterReading{count, perSecond_}; }};
};

// The drives the system reports, in order, and their kinds (a drive missing
// from `types` is a fixed one).
class DriveSeams {
public:
    std::vector<std::wstring> roots;
    std::map<std::wstring, UINT> types;

private:
    ui::ScopedSeam<ui::LogicalDrivesFn> drives_{ui::CurrentSeams().logicalDrives, [this] { return roots; }};
    ui::ScopedSeam<ui::DriveTypeFn> type_{ui::CurrentSeams().driveType, [this](const std::wstring& root) {
                                              auto it = types.find(root);
                                              return it == types.end() ? UINT(DRIVE_FIXED) : it->second;
                                          }};
};

} // namespace testsupport

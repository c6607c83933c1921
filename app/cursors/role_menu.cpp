#include "app/cursors/role_menu.h"

#include "res/texts.h"
#include "scheme/cursor_scheme.h"
#include "ui/seams.h"
#include "ui/text.h"

#include <algorithm>
#include <memory>

namespace {

// Two pictures per role: a file's and the system's, enough for every role
// to change its file between two openings.
constexpr std::size_t kCacheLimit = 2 * scheme::kMouseRoleCount;

bool SamePath(const std::wstring& a, const std::wstring& b) noexcept
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// Only a file on one of the computer's own fixed disks is looked at for its
// picture: a share or a removable medium can take the network's time-out to
// answer, and would hold up the pictures queued behind it. The menu shows
// the system's cursor for the others.
bool OnFixedDisk(const std::wstring& path)
{
    const std::wstring root = ui::DriveRoot(path);
    return !root.empty() && ui::CurrentSeams().driveType(root) == DRIVE_FIXED;
}

} // namespace

bool CursorRoleMenu::Source::operator==(const Source& other) const noexcept
{
    return SamePath(path, other.path) && CompareFileTime(&written, &other.written) == 0 && size == other.size;
}

void CursorRoleMenu::Build(ui::PopupMenu& menu, UINT restoreFirstId, Handler assign, Handler restore)
{
    menu_ = &menu;
    for (std::size_t i = 0; i < scheme::MouseRegistry.size(); ++i)
        menu.Add(scheme::MouseRegistry[i].Caption, int(i))->OnClick = assign;
    menu.AddSeparator();
    restore_ = menu.AddSubMenu(texts::RoleRestoreDefault, std::make_unique<ui::PopupMenu>(restoreFirstId));
    menu.EnableSubMenu(restore_, false);
    restoreHandler_ = std::move(restore);
}

const rolemenu::Picture* CursorRoleMenu::PictureOf(const Source& source, int cursorId)
{
    const int id = source.path.empty() ? cursorId : 0;
    for (const Cached& cached : cache_)
        if (cached.cursorId == id && cached.source == source)
            return &cached.picture;
    if (!source.path.empty()) {
        if (std::find(coming_.begin(), coming_.end(), source) == coming_.end()) {
            coming_.push_back(source);
            maker_.Queue({source.path, side_});
        }
        return nullptr;
    }
    ++picturesMade_;
    Cache({id, source, rolemenu::SystemPicture(cursorId, side_)});
    return &cache_.back().picture;
}

void CursorRoleMenu::Cache(Cached cached)
{
    if (cache_.size() >= kCacheLimit)
        cache_.erase(cache_.begin());
    cache_.push_back(std::move(cached));
}

void CursorRoleMenu::Show(std::size_t role, const Source& source)
{
    const int cursorId = scheme::MouseRegistry[role].CursorId;
    const rolemenu::Picture* picture = source.path.empty() ? nullptr : PictureOf(source, cursorId);
    if (!picture || !*picture)
        picture = PictureOf(Source{}, cursorId);
    menu_->Item(role)->SetBitmap(rolemenu::MenuBitmap(*picture));
}

void CursorRoleMenu::TakePictures(DWORD waitMs)
{
    for (rolemenu::PictureMaker::Done& done : maker_.Take(waitMs)) {
        // Made in the order queued: the first source of that path waiting
        // is the one this picture was made for. One made for an earlier
        // size is dropped.
        auto it = std::find_if(coming_.begin(), coming_.end(),
                               [&](const Source& source) { return SamePath(source.path, done.job.path); });
        if (done.job.side != side_ || it == coming_.end())
            continue;
        const Source source = *it;
        coming_.erase(it);
        ++picturesMade_;
        Cache({0, source, std::move(done.picture)});
        for (std::size_t role = 0; role < scheme::kMouseRoleCount; ++role)
            if (hasShown_[role] && shown_[role] == source)
                Show(role, source);
    }
    if (coming_.empty())
        pictureTimer_.Stop();
    else if (!pictureTimer_.Running())
        pictureTimer_.Start(nullptr, 0, 30, [this] { TakePictures(0); });
}

void CursorRoleMenu::Prepare(const std::wstring& file, int dpi)
{
    if (!menu_ || menu_->Count() < scheme::kMouseRoleCount)
        return;
    if (const int side = rolemenu::MenuPictureSide(dpi); side != side_) {
        side_ = side;
        hasShown_.fill(false);
        cache_.clear();
        coming_.clear();
    }
    const std::array<std::wstring, scheme::kMouseRoleCount> values = scheme::ReadMouseCursors();
    if (restore_)
        restore_->Clear();
    bool anyToRestore = false;
    for (std::size_t role = 0; role < scheme::kMouseRoleCount; ++role) {
        ui::MenuItem* item = menu_->Item(role);
        const std::wstring path = values[role].empty() ? std::wstring() : scheme::ExpandCursorPath(values[role]);
        item->SetChecked(!path.empty() && SamePath(path, file));

        // The file as it is now; a value naming no file shows the system's
        // cursor, as the system itself does then.
        Source source;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!path.empty() && OnFixedDisk(path) && GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            source.path = path;
            source.written = data.ftLastWriteTime;
            source.size = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        }
        if (!hasShown_[role] || !(shown_[role] == source)) {
            shown_[role] = source;
            hasShown_[role] = true;
            Show(role, source);
        }

        if (restore_ && !values[role].empty()) {
            restore_->Add(scheme::MouseRegistry[role].Caption, int(role))->OnClick = restoreHandler_;
            anyToRestore = true;
        }
    }
    if (restore_)
        menu_->EnableSubMenu(restore_, anyToRestore);
    if (!coming_.empty())
        TakePictures(pictureWaitMs);
}

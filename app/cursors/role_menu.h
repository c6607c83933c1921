// The role menu kept in step with the per-user cursor scheme: each role
// shows the picture of the cursor it has now, the roles the clicked file
// already holds carry a check mark, and a sub-menu gives roles back to the
// system's own cursors.
#pragma once
#include "app/cursors/picture_maker.h"
#include "app/cursors/role_picture.h"
#include "scheme/mouse_registry.h"
#include "ui/menu.h"
#include "ui/timer.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class CursorRoleMenu {
public:
    using Handler = std::function<void(ui::MenuItem*)>;

    // `make` makes a file's picture, on a thread of the menu's own.
    explicit CursorRoleMenu(rolemenu::PictureMaker::Make make = rolemenu::FilePicture) : maker_(std::move(make)) {}

    // Fills `menu`: the seventeen roles (tag = role) handled by `assign`, a
    // separator and the sub-menu "既定に戻す" (restoreFirstId on), whose
    // items (tag = role) are handled by `restore`.
    void Build(ui::PopupMenu& menu, UINT restoreFirstId, Handler assign, Handler restore);

    // Brings the menu in step with the scheme as it is now, for a menu
    // opened on the cursor file `file`, its pictures at the small-icon size
    // of `dpi` (0: the system's DPI). A file's picture not made before
    // shows the system's cursor until it is: Prepare waits for it a
    // moment (pictureWaitMs), then the item changes when it comes.
    void Prepare(const std::wstring& file, int dpi = 0);
    DWORD pictureWaitMs = 40;

    // The cursor file the menu is open on, for as long as an Opening lives:
    // a role chosen goes to this file, whatever the list selects by then (a
    // refill during the menu may select another item). Empty otherwise.
    const std::wstring& File() const noexcept { return file_; }
    class Opening {
    public:
        Opening(CursorRoleMenu& menu, std::wstring file) : menu_(menu) { menu_.file_ = std::move(file); }
        ~Opening() { menu_.file_.clear(); }
        Opening(const Opening&) = delete;
        Opening& operator=(const Opening&) = delete;

    private:
        CursorRoleMenu& menu_;
    };

    // The restore sub-menu (none before Build).
    ui::PopupMenu* RestoreMenu() const noexcept { return restore_; }
    // Pictures made from files and from the system so far: a file whose path
    // and last-write time did not change since it was last shown is not read
    // again.
    int PicturesMade() const noexcept { return picturesMade_; }

private:
    // What a role's picture was made from.
    struct Source {
        std::wstring path; // the expanded value; empty: the system's own cursor
        FILETIME written{};
        ULONGLONG size = 0;
        bool operator==(const Source& other) const noexcept;
    };
    struct Cached {
        int cursorId = 0; // the system's cursor; 0 for a file's picture
        Source source;
        rolemenu::Picture picture;
    };
    // The cached picture of a file (an empty one when it cannot be read) or,
    // with an empty source, of the system's cursor `cursorId`, made now when
    // none is cached. Null for a file whose picture is still to come.
    const rolemenu::Picture* PictureOf(const Source& source, int cursorId);
    void Cache(Cached cached);
    // Shows role `role`'s picture of `source`: the file's, or the system's
    // while it is made or when the file cannot be read.
    void Show(std::size_t role, const Source& source);
    // Takes the pictures the maker made and shows them where they belong.
    void TakePictures(DWORD waitMs);

    std::wstring file_;
    ui::PopupMenu* menu_ = nullptr;
    ui::PopupMenu* restore_ = nullptr;
    Handler restoreHandler_;
    int side_ = 0;
    // Per role, what its item shows now.
    std::array<Source, scheme::kMouseRoleCount> shown_;
    std::array<bool, scheme::kMouseRoleCount> hasShown_{};
    // Pictures made, the latest last; a few openings' worth.
    std::vector<Cached> cache_;
    // Files whose picture is being made, with their source when queued.
    std::vector<Source> coming_;
    int picturesMade_ = 0;
    rolemenu::PictureMaker maker_;
    // Brings in the pictures that take longer than the menu waits.
    ui::Timer pictureTimer_;
};

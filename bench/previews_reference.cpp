#include "bench/previews_reference.h"

#include "app/previews/preview_steps.h"

int ReferenceAnimation::Tick()
{
    int drawn = 0;
    if (form_.FBusy.Raised())
        return 0;
    passes_.resize(static_cast<size_t>(form_.ListPreviews.FPreviewCount));
    advanced_.resize(static_cast<size_t>(form_.ListPreviews.FPreviewCount));
    HWND list = form_.FileView.Handle();
    for (int pass = 0; pass < 3; ++pass) {
        const DWORD start = GetTickCount();
        {
            if (form_.ListPreviews.FPreviews) {
                ui::WindowDC dc(list);
                const POINT o = form_.FileView.Origin();
                RECT bounds;
                GetWindowRect(list, &bounds);
                for (int i = 0; i < form_.ListPreviews.FPreviewCount; ++i) {
                    TPreviewEntry& e = form_.ListPreviews.FPreviews[size_t(i)];
                    if (!e.AniCur || e.AniCur->Static)
                        continue;
                    int& passes = passes_[size_t(i)];
                    ++passes;
                    if (e.AniCur->Rates[size_t(e.Step)] > passes)
                        continue;
                    passes = 0;
                    if (++e.Step >= e.AniCur->StepCount)
                        e.Step = 0;
                    ++advanced_[size_t(i)];
                    const POINT p = form_.FileView.ItemPosition(e.ItemIndex);
                    const auto v = preview::ToViewCoordinates({o.x, o.y}, {p.x, p.y});
                    if (!preview::ItemInView(v.origin.x, v.origin.y, bounds.right - bounds.left,
                                             bounds.bottom - bounds.top, v.item.x, v.item.y))
                        continue;
                    // Frames composed once and copied, as the program draws.
                    preview::FrameAtlas& atlas = form_.ListPreviews.composedFrames[0];
                    if (!atlas.Holds(e.Slots[0]))
                        e.Slots[0] = atlas.Add(e.AniCur->Frames);
                    const RECT everywhere{0, 0, 1 << 15, 1 << 15};
                    atlas.Draw(dc.get(), e.Slots[0], e.AniCur->Frames, e.AniCur->Sequence[size_t(e.Step)],
                               v.item.x - v.origin.x, v.item.y - v.origin.y, everywhere);
                    ++drawn;
                }
            }
        }
        if (pass < 2) {
            for (DWORD passed = GetTickCount() - start; passed < 17; passed = GetTickCount() - start)
                SleepEx(passed, FALSE);
        }
    }
    return drawn;
}

// Animated previews of the main window (being written).
#include "app/ufrmMain.h"

#include "anicur/AniCur.h"

void TfrmTarimoku::StartPreview() { StopPreviews(); }

void TfrmTarimoku::StopPreviews()
{
    std::lock_guard<std::recursive_mutex> lock(PreviewLock);
    FPreviewPaths.clear();
    FNextPreview = 0;
    FPreviews.reset();
    FPreviewCount = 0;
}

void TfrmTarimoku::PreviewIdle(bool&) {}

void TfrmTarimoku::AnimateTimerProc() {}

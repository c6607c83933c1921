// Data objects for drop targets under test: the shell's own for real files,
// one that carries only text, and one with a hand-made dropped-file list.
// Each records what a target tells it through SetData.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <map>
#include <string>
#include <vector>

#include "ui/com_object.h"
#include "ui/handles.h"

namespace testsupport {

class DropData final : public ui::ComObject<IDataObject> {
public:
    // The shell's data object (GetUIObjectOf) for files of one folder; none
    // when the shell gives none.
    static ui::ComPtr<DropData> ForFiles(const std::vector<std::wstring>& paths);
    // Text only (CF_UNICODETEXT): no file list.
    static ui::ComPtr<DropData> Text(const std::wstring& text);
    // A wide DROPFILES list built by hand, for names the shell cannot parse
    // (longer than MAX_PATH).
    static ui::ComPtr<DropData> HDrop(const std::vector<std::wstring>& paths);

    // The DWORD last set under a registered format name; -1 when none was set.
    long long Reported(const wchar_t* formatName) const;
    bool AnyReported() const { return !reported_.empty(); }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

private:
    DropData() = default;
    ~DropData() override = default;
    ui::ComPtr<IDataObject> inner_; // the shell's, when there is one
    UINT ownFormat_ = 0;            // the one format served otherwise
    std::vector<char> ownBytes_;
    std::map<UINT, DWORD> reported_;
};

} // namespace testsupport

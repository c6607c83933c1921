#include "tests/support/drop_data.h"

#include <shlobj.h>
#include <shellapi.h>

#include <cstring>

namespace testsupport {

namespace {

// A PIDL from SHParseDisplayName, freed with the object.
struct ParsedPath {
    PIDLIST_ABSOLUTE pidl = nullptr;
    ~ParsedPath() { CoTaskMemFree(pidl); }
};

} // namespace

ui::ComPtr<DropData> DropData::ForFiles(const std::vector<std::wstring>& paths)
{
    std::vector<ParsedPath> parsed(paths.size());
    std::vector<PCUITEMID_CHILD> children;
    ui::ComPtr<IShellFolder> folder;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (FAILED(SHParseDisplayName(paths[i].c_str(), nullptr, &parsed[i].pidl, 0, nullptr)))
            return {};
        PCUITEMID_CHILD child = nullptr;
        ui::ComPtr<IShellFolder> parent;
        if (FAILED(SHBindToParent(parsed[i].pidl, IID_IShellFolder, parent.put_void(), &child)))
            return {};
        if (!folder)
            folder = parent;
        children.push_back(child);
    }
    if (!folder)
        return {};
    auto data = ui::ComPtr<DropData>::Attach(new DropData);
    if (FAILED(folder->GetUIObjectOf(nullptr, UINT(children.size()), children.data(), IID_IDataObject, nullptr,
                                     data->inner_.put_void())))
        return {};
    return data;
}

ui::ComPtr<DropData> DropData::Text(const std::wstring& text)
{
    auto data = ui::ComPtr<DropData>::Attach(new DropData);
    data->ownFormat_ = CF_UNICODETEXT;
    const char* bytes = reinterpret_cast<const char*>(text.c_str());
    data->ownBytes_.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    return data;
}

ui::ComPtr<DropData> DropData::HDrop(const std::vector<std::wstring>& paths)
{
    auto data = ui::ComPtr<DropData>::Attach(new DropData);
    data->ownFormat_ = CF_HDROP;
    DROPFILES header{};
    header.pFiles = sizeof(header);
    header.fWide = TRUE;
    auto& b = data->ownBytes_;
    b.assign(reinterpret_cast<const char*>(&header), reinterpret_cast<const char*>(&header) + sizeof(header));
    for (const auto& p : paths) {
        const char* bytes = reinterpret_cast<const char*>(p.c_str());
        b.insert(b.end(), bytes, bytes + (p.size() + 1) * sizeof(wchar_t));
    }
    b.insert(b.end(), sizeof(wchar_t), '\0');
    return data;
}

long long DropData::Reported(const wchar_t* formatName) const
{
    auto it = reported_.find(RegisterClipboardFormatW(formatName));
    return it == reported_.end() ? -1 : static_cast<long long>(it->second);
}

HRESULT STDMETHODCALLTYPE DropData::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (inner_)
        return inner_->GetData(format, medium);
    if (QueryGetData(format) != S_OK)
        return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, ownBytes_.size());
    if (!memory)
        return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(memory), ownBytes_.data(), ownBytes_.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropData::GetDataHere(FORMATETC* format, STGMEDIUM* medium)
{
    return inner_ ? inner_->GetDataHere(format, medium) : E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DropData::QueryGetData(FORMATETC* format)
{
    if (inner_)
        return inner_->QueryGetData(format);
    if (!format)
        return E_INVALIDARG;
    return format->cfFormat == ownFormat_ && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE DropData::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out)
{
    return inner_ ? inner_->GetCanonicalFormatEtc(in, out) : E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DropData::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (!format || !medium)
        return E_INVALIDARG;
    if (medium->tymed == TYMED_HGLOBAL && medium->hGlobal && GlobalSize(medium->hGlobal) >= sizeof(DWORD)) {
        reported_[format->cfFormat] = *static_cast<DWORD*>(GlobalLock(medium->hGlobal));
        GlobalUnlock(medium->hGlobal);
    }
    if (release)
        ReleaseStgMedium(medium);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropData::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out)
{
    return inner_ ? inner_->EnumFormatEtc(direction, out) : E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DropData::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT STDMETHODCALLTYPE DropData::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT STDMETHODCALLTYPE DropData::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

} // namespace testsupport

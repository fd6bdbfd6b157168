#include "capture/bounded_stream_win32.h"

#include <new>

namespace {

// The one COM object of the saver's own: a read-only file stream with a deadline.
struct BoundedStream final : IStream {
    LONG references = 1;
    HANDLE file;
    WallpaperBound bound;

    BoundedStream(HANDLE opened, const WallpaperBound& until) : file(opened), bound(until) {}
    ~BoundedStream() { CloseHandle(file); }

    bool over() const { return LONG(GetTickCount() - bound.deadline) >= 0 || (bound.giveUp && bound.giveUp()); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (id != IID_IUnknown && id != IID_ISequentialStream && id != IID_IStream) return E_NOINTERFACE;
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0) delete this;
        return ULONG(left);
    }

    HRESULT STDMETHODCALLTYPE Read(void* to, ULONG count, ULONG* read) override {
        if (read) *read = 0;
        if (over()) return STG_E_READFAULT;
        DWORD got = 0;
        if (!ReadFile(file, to, count, &got, nullptr)) return STG_E_READFAULT;
        if (read) *read = got;
        return got < count ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
        LARGE_INTEGER now;
        // STREAM_SEEK_SET, _CUR and _END are FILE_BEGIN, _CURRENT and _END.
        if (origin > STREAM_SEEK_END || !SetFilePointerEx(file, move, &now, origin)) return STG_E_INVALIDFUNCTION;
        if (position) position->QuadPart = ULONGLONG(now.QuadPart);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        LARGE_INTEGER size;
        if (!stat || !GetFileSizeEx(file, &size)) return STG_E_INVALIDFUNCTION;
        *stat = {};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = ULONGLONG(size.QuadPart);
        stat->grfMode = STGM_READ;
        return S_OK;
    }
    // Nothing is written, copied or locked.
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }
};

}  // namespace

IStream* openBoundedStream(const wchar_t* path, const WallpaperBound& bound) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    BoundedStream* stream = new (std::nothrow) BoundedStream(file, bound);
    if (!stream) CloseHandle(file);
    return stream;
}

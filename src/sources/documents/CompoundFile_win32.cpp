// Compound files read by the system's structured storage.

#include "sources/documents/Containers.h"
#include "sources/documents/VbaFormatError.h"

#include "base/AsciiText.h"
#include "base/PathText.h"
#include "platform/win32/ReadOnlyFile.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"
#include "platform/win32/com/ComObject.h"

#include <wrl/client.h>

#include <algorithm>
#include <cstring>

namespace quillmark {

namespace {

using Microsoft::WRL::ComPtr;

// The bytes under the storage, read-only: a file opened to be shared with Office, which may
// have the document open, or a package's part in memory.
class ReadOnlyBytes final : public win32::ComObject<ReadOnlyBytes, ILockBytes> {
public:
    explicit ReadOnlyBytes(std::unique_ptr<win32::ReadOnlyFile> file) : file_(std::move(file)) {}
    explicit ReadOnlyBytes(std::string bytes) : bytes_(std::move(bytes)) {}

    void* Interface(REFIID iid)
    {
        return iid == IID_IUnknown || iid == IID_ILockBytes ? static_cast<ILockBytes*>(this) : nullptr;
    }

    HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* into, ULONG size, ULONG* read) override
    {
        ULONG done = 0;
        try {
            if (file_ != nullptr) {
                done = static_cast<ULONG>(file_->ReadAt(offset.QuadPart, into, size));
            } else if (offset.QuadPart < bytes_.size()) {
                done = static_cast<ULONG>(std::min<std::uint64_t>(size, bytes_.size() - offset.QuadPart));
                std::memcpy(into, bytes_.data() + offset.QuadPart, done);
            }
        } catch (const RuntimeError&) {
            return STG_E_READFAULT;
        }
        if (read != nullptr)
            *read = done;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER, const void*, ULONG, ULONG*) override
    {
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override
    {
        if (stat == nullptr)
            return STG_E_INVALIDPOINTER;
        *stat = STATSTG{};
        stat->type = STGTY_LOCKBYTES;
        stat->cbSize.QuadPart = file_ != nullptr ? file_->Size() : bytes_.size();
        stat->grfMode = STGM_READ;
        return S_OK;
    }

private:
    std::unique_ptr<win32::ReadOnlyFile> file_;
    std::string bytes_;
};

[[noreturn]] void Fail(HRESULT result)
{
    throw VbaFormatError(win32::SystemErrorText(static_cast<unsigned long>(result)));
}

class SystemStorage final : public CompoundStorage {
public:
    explicit SystemStorage(ComPtr<IStorage> storage) : storage_(std::move(storage)) {}

    std::unique_ptr<CompoundStorage> Storage(const std::string& name, const std::string& path) override
    {
        const std::wstring found = Child(name, STGTY_STORAGE);
        if (found.empty())
            return nullptr;
        ComPtr<IStorage> child;
        if (FAILED(storage_->OpenStorage(found.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &child)))
            throw VbaFormatError("stream " + path + " is damaged (its sectors cannot be followed)");
        return std::make_unique<SystemStorage>(std::move(child));
    }

    std::optional<std::string> Stream(const std::string& name, const std::string& path) override
    {
        const std::wstring found = Child(name, STGTY_STREAM);
        if (found.empty())
            return std::nullopt;
        const std::string what = "stream " + path;
        ComPtr<IStream> stream;
        if (FAILED(storage_->OpenStream(found.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
            throw VbaFormatError(what + " is damaged (its sectors cannot be followed)");
        STATSTG stat{};
        if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
            throw VbaFormatError(what + " is damaged (its size cannot be read)");
        if (stat.cbSize.QuadPart > MaxStreamSize)
            throw VbaFormatError(what + " is too large (" + std::to_string(stat.cbSize.QuadPart) + " bytes)");
        std::string data(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
        for (std::size_t done = 0; done < data.size();) {
            ULONG read = 0;
            const auto step = static_cast<ULONG>(std::min<std::size_t>(data.size() - done, 64 * 1024));
            if (FAILED(stream->Read(data.data() + done, step, &read)) || read == 0)
                throw VbaFormatError(what + " is damaged (cannot be read past byte " + std::to_string(done) + ")");
            done += read;
        }
        return data;
    }

    bool Has(const std::string& name) override { return !Child(name, 0).empty(); }

private:
    // The stored name of the child named name (ignoring case) of type (any when 0); empty when
    // there is none.
    std::wstring Child(const std::string& name, DWORD type) const
    {
        ComPtr<IEnumSTATSTG> entries;
        if (FAILED(storage_->EnumElements(0, nullptr, 0, &entries)))
            throw VbaFormatError("the storage's entries cannot be listed");
        for (STATSTG stat{}; entries->Next(1, &stat, nullptr) == S_OK; stat = STATSTG{}) {
            const std::wstring entry = stat.pwcsName != nullptr ? stat.pwcsName : L"";
            ::CoTaskMemFree(stat.pwcsName);
            if (SameName(win32::Narrow(entry), name))
                return type == 0 || stat.type == type ? entry : std::wstring();
        }
        return {};
    }

    ComPtr<IStorage> storage_;
};

CompoundFile Open(ComPtr<ILockBytes> bytes)
{
    ComPtr<IStorage> storage;
    if (const HRESULT result =
            ::StgOpenStorageOnILockBytes(bytes.Get(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage);
        FAILED(result))
        Fail(result);
    // The system refuses what does not add up rather than drop it: nothing is missing unsaid.
    return {std::make_unique<SystemStorage>(std::move(storage)), {}};
}

} // namespace

CompoundFile OpenCompoundFile(const std::string& path)
{
    return Open(new ReadOnlyBytes(std::make_unique<win32::ReadOnlyFile>(PathFromUtf8(path))));
}

CompoundFile OpenCompoundBytes(std::string bytes)
{
    return Open(new ReadOnlyBytes(std::move(bytes)));
}

} // namespace quillmark

// The C run-time's folder listing, which std::filesystem uses, cuts a path at MAX_PATH and then
// lists another folder; FindFirstFileExW takes any length in the extended form. Windows' own
// paths reach folders of any depth that way, so each folder is listed by its path.

#include "platform/files/FolderListing.h"

#include "base/PathText.h"
#include "platform/win32/ExtendedPath.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"

#include <memory>
#include <string>
#include <string_view>

namespace quillmark {

ListedFolder::ListedFolder(const std::filesystem::path& path) : path_(path)
{}

ListedFolder::ListedFolder(const ListedFolder&, const FolderEntry& subfolder) : path_(subfolder.path)
{}

ListedFolder::~ListedFolder() = default;

std::vector<FolderEntry> ListedFolder::Entries() const
{
    const std::wstring pattern = win32::ExtendedPath(path_) + L"\\*";
    WIN32_FIND_DATAW found{};
    const HANDLE first =
        ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (first == INVALID_HANDLE_VALUE)
        throw win32::SystemFailure(::GetLastError(), "cannot list the folder", Utf8FromPath(path_));
    const std::unique_ptr<void, decltype(&::FindClose)> search(first, &::FindClose);
    std::vector<FolderEntry> entries;
    for (;;) {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            const bool folderKind = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool link =
                (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
            if (!folderKind)
                entries.push_back({path_ / std::filesystem::path(name), false});
            else if (!link)
                entries.push_back({path_ / std::filesystem::path(name), true});
        }
        if (!::FindNextFileW(search.get(), &found)) {
            if (const DWORD error = ::GetLastError(); error != ERROR_NO_MORE_FILES)
                throw win32::SystemFailure(error, "cannot list the folder", Utf8FromPath(path_));
            return entries;
        }
    }
}

} // namespace quillmark

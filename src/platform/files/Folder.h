#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillmark {

// A folder held open, so that what is made in it stays in it whatever is renamed or swapped for
// a link meanwhile: its subfolders are opened through it and never through a symbolic link (on
// Windows, a reparse point), and its files are made in it by name. Throws RuntimeError.
class Folder {
public:
    // The folder at path, which exists; links in path itself are followed, as the user named it.
    explicit Folder(const std::string& path);
    ~Folder();
    Folder(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    Folder& operator=(Folder&&) = delete;

    // The folder name (one part of a path) in this one, made when missing; refused when a
    // symbolic link or anything but a folder is there.
    Folder Subfolder(std::string_view name) const;

    // Whether name in this folder is a symbolic link.
    bool HoldsLink(std::string_view name) const;

    // Takes the folder for this process alone until the process ends: false when another
    // process has it; Lock waits until it is free.
    bool TryLock();
    void Lock();

    // Removes the temporary twins that a process no longer running left here of the files whose
    // names ours accepts (as RemoveStaleTemporaryFiles does).
    void RemoveStaleTemporaryFiles(const std::function<bool(std::string_view name)>& ours) const;

    // The folder's path as it was named, for messages.
    const std::string& Path() const { return path_; }
    // The path of name in it, for messages.
    std::string PathOf(std::string_view name) const;
    // The path by which the system finds name in it, whatever links the folder's path held (on
    // Windows, where files are made by path).
    std::string SystemPathOf(std::string_view name) const;
    // The system's descriptor (POSIX) of the open folder.
    int Descriptor() const { return descriptor_; }

private:
    Folder(std::string path, std::string systemPath, int descriptor, void* handle);

    std::string path_;
    std::string systemPath_; // Windows: the open folder's final path
    int descriptor_ = -1;
    [[maybe_unused]] void* handle_ = nullptr; // Windows: the open folder, held against renaming
};

} // namespace quillmark

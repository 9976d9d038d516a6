#pragma once

#include <string>
#include <string_view>

namespace quillmark {

class Folder;

// Who may read a file that does not exist yet: only the user (settings), or whoever the user's
// umask lets (pages). A file that exists keeps its permissions.
enum class NewFileAccess { Private, Shared };

// Whether Commit waits for the content to reach the disk before the file takes its name: a
// file that cannot be made again (settings) must survive a crash whole; waiting for each of
// the many files of a generated site would cost more than making them again.
enum class Durability { Synced, Unsynced };

// A file written in pieces that a reader sees either as it was or complete, never half
// written: the pieces go to a temporary file beside it (see TemporaryFiles.h), which Commit
// puts in its place. Without Commit the temporary file is removed and the file is left as it
// was. The path itself is replaced: a symbolic link there becomes the file. Its folder must
// exist. Throws RuntimeError ("cannot write PATH: REASON", the path never the temporary file's).
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path, NewFileAccess access = NewFileAccess::Private,
                              Durability durability = Durability::Synced);
    // The file name in folder, made there whatever becomes of the folder's path meanwhile; the
    // folder outlives the writer.
    AtomicFileWriter(const Folder& folder, const std::string& name, NewFileAccess access, Durability durability);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(std::string_view text);
    void Commit();

private:
    void Create(NewFileAccess access);

    std::string path_; // for messages
    std::string name_; // in folder_, or a path
    int folder_ = -1;  // the folder's descriptor, or the system's mark for paths (POSIX)
    std::string temp_;
    int fd_ = -1;
    Durability durability_;
    bool committed_ = false;
};

// Replaces path's content with text, atomically as AtomicFileWriter does.
void WriteFileAtomically(const std::string& path, const std::string& text,
                         NewFileAccess access = NewFileAccess::Private, Durability durability = Durability::Synced);

// Makes the missing folders above path, for a file in a folder of the program's own. Throws
// RuntimeError.
void CreateParentFolders(const std::string& path);

// $XDG_CONFIG_HOME, or ~/.config when it is unset or empty.
std::string ConfigHome();

} // namespace quillmark

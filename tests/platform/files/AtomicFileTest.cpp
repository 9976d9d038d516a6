#include "platform/files/AtomicFile.h"

#include "common/FileText.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

std::size_t FilesIn(const std::string& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFileWriter, WrittenInPiecesTheFileAppearsWholeOnlyOnCommit)
{
    testing::TempFolder folder("atomic-writer");
    const std::string path = folder.Write("page.html", "old");
    {
        AtomicFileWriter file(path);
        file.Write("new ");
        file.Write("text");
        EXPECT_EQ(testing::ReadFileText(path), "old");
        // Dropped without Commit, as when a later piece fails.
    }
    EXPECT_EQ(testing::ReadFileText(path), "old");
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
    AtomicFileWriter file(path);
    file.Write("new ");
    file.Write("text");
    file.Commit();
    EXPECT_EQ(testing::ReadFileText(path), "new text");
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

TEST(AtomicFileWriter, NewFilesArePrivateOrAsTheUmaskLetsAndOldFilesKeepTheirMode)
{
    testing::TempFolder folder("atomic-modes");
    const mode_t umask = ::umask(027);
    const struct {
        const char* name;
        NewFileAccess access;
        mode_t before; // 0: no file yet
        mode_t after;
    } cases[] = {
        {"settings.ini", NewFileAccess::Private, 0, 0600},
        {"page.html", NewFileAccess::Shared, 0, 0640},
        {"kept.html", NewFileAccess::Shared, 0604, 0604},
    };
    for (const auto& c : cases) {
        const std::string path = folder.Path() + "/" + c.name;
        if (c.before)
            ::chmod(folder.Write(c.name, "old").c_str(), c.before);
        WriteFileAtomically(path, "text", c.access);
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, c.after) << c.name;
    }
    ::umask(umask);
}

} // namespace
} // namespace quillmark

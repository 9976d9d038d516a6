// The site of the exported tree under OrderDesk/ must match the reviewed files under expected/
// byte for byte, however many jobs make it; what cannot be read is named and left out.
#include "cli/site/Site.h"
#include "cli/Commands.h"
#include "cli/site/SiteFolder.h"
#include "cli/site/SitePaths.h"
#include "common/FileText.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <stdio.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillmark::cli {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileText;
using testing::TempFolder;
using testing::WriteFileText;

const fs::path kHere = fs::path(QUILLMARK_SOURCE_DIR) / "tests/cli/site";

std::map<std::string, std::string> FilesUnder(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_string()] = ReadFileText(entry.path());
    return files;
}

struct Built {
    int status;
    std::string err;
};

Built Build(SiteOptions options, const std::string& output, bool showProgress = false)
{
    options.outputFolder = output;
    std::ostringstream err;
    const int status = BuildSite(options, err, showProgress);
    return {status, err.str()};
}

TEST(Site, ExportedTreeGivesTheReviewedSiteWithAnyNumberOfJobs)
{
    const auto expected = FilesUnder(kHere / "expected");
    ASSERT_GE(expected.size(), 8u);
    for (const unsigned jobs : {1u, 3u}) {
        TempFolder out("site-" + std::to_string(jobs));
        SiteOptions options;
        options.paths = {(kHere / "OrderDesk").string()};
        options.recursive = true;
        options.jobs = jobs;
        const Built built = Build(options, out.Path());
        EXPECT_EQ(built.status, kDone) << built.err;
        EXPECT_EQ(built.err, "");
        const auto produced = FilesUnder(out.Path());
        for (const auto& [name, text] : expected) {
            ASSERT_TRUE(produced.contains(name)) << name;
            EXPECT_EQ(produced.at(name), text) << name << " with " << jobs << " jobs";
        }
        EXPECT_EQ(produced.size(), expected.size());
    }
}

TEST(Site, WhatCannotBeReadIsNamedAndLeftOutAndTheRestWritten)
{
    TempFolder in("site-input");
    const std::string good = in.Path() + "/Good";
    WriteFileText(good + "/Main.bas", "Attribute VB_Name = \"Main\"\r\nSub Go()\r\n  Helper\r\nEnd Sub\r\n");
    WriteFileText(good + "/sub/Helper.bas", "Attribute VB_Name = \"Helpers\"\r\nSub Helper()\r\nEnd Sub\r\n");
    WriteFileText(good + "/sub/Copy.bas", "Attribute VB_Name = \"main\"\r\nSub Other()\r\nEnd Sub\r\n");
    WriteFileText(good + "/caf\xe9/Named.bas", "Attribute VB_Name = \"Named\"\r\n"); // a folder name in CP1252
    WriteFileText(good + "/sub/Latin1.bas", "Attribute VB_Name = \"Latin1\"\r\n' caf\xe9\r\n");
    WriteFileText(good + "/Broken.bas", "Attribute VB_Name = \"Broken\"\r\nSub Open()\r\n  s = \"open\r\nEnd Sub\r\n");
    WriteFileText(in.Path() + "/Damaged.xlsm", "not a document");
    WriteFileText(in.Path() + "/Nested/sub/Inner.bas", "Sub Inner()\r\nEnd Sub\r\n");
    const std::string locked =
        std::string(QUILLMARK_SHARED_DIR) + "/testdata/office/unlock_excel/xlsm/Locked_with_macro.xlsm";

    const struct {
        std::vector<std::string> paths;
        bool recursive;
        const char* encoding;
        int status;
        std::vector<std::string> said;    // in the messages, in order
        std::vector<std::string> written; // pages in the site
        std::vector<std::string> indexed; // left out, with the reason, in the index
        std::string blocked;              // a page whose place a folder takes
    } cases[] = {
        {{good},
         true,
         "UTF-8",
         kFailed,
         {"Copy.bas: the module name \"main\" is already used by " + good + "/Main.bas",
          "Latin1.bas: cannot decode the text",
          "Broken.bas: line 2: unterminated string literal; its page shows the code undecorated"},
         {"Good/Main.html", "Good/sub/Helpers.html", "Good/Broken.html", "Good/caf\xc3\xa9/Named.html"},
         {"2 module files left out", "<code>sub/Copy.bas</code>: the module name &quot;main&quot; is already used by",
          "<code>sub/Latin1.bas</code>: cannot decode the text"},
         {}},
        {{in.Path() + "/Missing", good},
         true,
         "",
         kFailed,
         {"Missing: no such file or folder; left out"},
         {"Good/Main.html"},
         {"1 path left out", "/Missing</code>: no such file or folder"},
         {}},
        {{in.Path() + "/Damaged.xlsm", good},
         true,
         "",
         kFailed,
         {"Damaged.xlsm: "},
         {"Good/Main.html"},
         {"Damaged.xlsm</code>: "},
         {}},
        {{in.Path() + "/Nested"},
         false,
         "",
         kFailed,
         {"the folder holds no module files (.bas, .cls, .frm); --recursive reads its subfolders too",
          "no project could be read; nothing was written"},
         {},
         {},
         {}},
        {{locked, good},
         true,
         "",
         kFailed,
         {"locked for viewing"},
         {"Good/Main.html"},
         {"</code>: the VBA project is locked"},
         {}},
        {{good},
         false,
         "",
         kFailed,
         {"/Good/Main.html: Is a directory"},
         {"Good/Broken.html"},
         {"1 page left out", "<code>Good/Main.html</code>: Is a directory"},
         "Good/Main.html"},
        {{good, ""}, true, "", kUsage, {"PATH is empty"}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        if (c.paths.front() == locked && !fs::exists(locked))
            continue;
        TempFolder out("site-output");
        WriteFileText(out.Path() + "/notes.txt", "kept");
        if (!c.blocked.empty())
            fs::create_directories(out.Path() + "/" + c.blocked);
        SiteOptions options;
        options.paths = c.paths;
        options.encoding = c.encoding;
        options.recursive = c.recursive;
        const Built built = Build(options, out.Path());
        const std::string context = c.paths.front() + " " + built.err;
        EXPECT_EQ(built.status, c.status) << context;
        std::size_t at = 0;
        for (const std::string& said : c.said) {
            at = built.err.find(said, at);
            EXPECT_NE(at, std::string::npos) << said << " in " << context;
        }
        for (const std::string& page : c.written)
            EXPECT_TRUE(fs::exists(out.Path() + "/" + page)) << page << " of " << context;
        EXPECT_EQ(fs::exists(out.Path() + "/index.html"), !c.written.empty()) << context;
        const std::string index = c.written.empty() ? "" : ReadFileText(out.Path() + "/index.html");
        for (const std::string& listed : c.indexed)
            EXPECT_NE(index.find(listed), std::string::npos) << listed << " in " << context;
        EXPECT_EQ(ReadFileText(out.Path() + "/notes.txt"), "kept");
    }
}

std::string ModuleText(const std::string& name)
{
    return "Attribute VB_Name = \"" + name + "\"\r\nSub " + name + "Go()\r\nEnd Sub\r\n";
}

// Trees made to lead the site out of its folder, or to clash on other systems' disks: nothing is
// written outside the output folder, every part of a path is one that Windows holds, and the
// index, written last, lists only the pages written.
TEST(Site, DamagedTreesWriteOnlyUnderTheOutputFolder)
{
    const std::string bomDots = "\xEF\xBB\xBF..";
    const std::string longCp1252(250, '\xE9');
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make; // in root: the projects under in/, anything else
        std::string output;                        // from root
        int status;
        std::vector<std::string> said;
        std::vector<std::string> written;   // pages, from the output folder
        std::vector<std::string> unwritten; // nor listed in the index
    } cases[] = {
        {"folders named with a byte-order mark and dots",
         [&](const fs::path& root) {
             WriteFileText(root / "in/Repo/Main.bas", ModuleText("Main"));
             WriteFileText(root / "in/Repo" / bomDots / bomDots / bomDots / bomDots / "index.bas", ModuleText("index"));
             WriteFileText(root / "in/Repo" / "\xEF\xBB\xBF.git/hooks.bas", ModuleText("hooks"));
             fs::create_directories(root / "some/where");
         },
         "some/where/site",
         kDone,
         {},
         {"Repo/Main.html"},
         {"index.html/index.html", "Repo/index.html", "Repo/.git/hooks.html", "Repo/_git/hooks.html"}},
        {"device names, names that differ in case only, a long CP1252 name",
         [&](const fs::path& root) {
             WriteFileText(root / "in/Repo/CON/aux.bas", ModuleText("aux"));
             WriteFileText(root / "in/Repo/\xC3\x84rger/A.bas", ModuleText("A"));
             WriteFileText(root / "in/Repo/\xC3\xA4rger/B.bas", ModuleText("B"));
             WriteFileText(root / "in/Repo/\xC3\xA4rger/\xC3\xA4.bas", ModuleText("\xC3\xA4"));
             WriteFileText(root / "in/Repo" / longCp1252 / "Long.bas", ModuleText("Long"));
             WriteFileText(root / "in/Repo/prn.bas", "Sub X()\r\nEnd Sub\r\n");
         },
         "out",
         kDone,
         {},
         {"Repo/CON_/aux_.html", "Repo/\xC3\x84rger/A.html", "Repo/\xC3\xA4rger-2/B.html",
          "Repo/\xC3\xA4rger-2/\xC3\xA4.html", "Repo/prn_.html"},
         {}},
        {"a folder of pages that links out of the output folder",
         [](const fs::path& root) {
             WriteFileText(root / "in/Repo/Main.bas", ModuleText("Main"));
             WriteFileText(root / "in/Repo/sub/Inner.bas", ModuleText("Inner"));
             fs::create_directories(root / "out/Repo");
             fs::create_directories(root / "outside");
             fs::create_directory_symlink(root / "outside", root / "out/Repo/sub");
         },
         "out",
         kFailed,
         {"/out/Repo/sub: it is a symbolic link, which is not followed; Repo/sub/Inner.html is not written"},
         {"Repo/Main.html"},
         {"Repo/sub/Inner.html"}},
        {"a page that cannot be written",
         [](const fs::path& root) {
             WriteFileText(root / "in/Repo/Main.bas", ModuleText("Main"));
             WriteFileText(root / "in/Repo/Other.bas", ModuleText("Other"));
             WriteFileText(root / "out/Repo/Main.html/kept.txt", "a folder in the page's place");
         },
         "out",
         kFailed,
         {"/out/Repo/Main.html: Is a directory"},
         {"Repo/Other.html"},
         {"Repo/Main.html"}},
        {"a style sheet that links out of the output folder",
         [](const fs::path& root) {
             WriteFileText(root / "in/Repo/Main.bas", ModuleText("Main"));
             fs::create_directories(root / "out");
             fs::create_symlink(root / "outside.css", root / "out/quillmark.css");
         },
         "out",
         kFailed,
         {"/out/quillmark.css: it is a symbolic link, which is not followed; nothing was written"},
         {},
         {"Repo/Main.html"}},
        {"module files that link out of their project's folder",
         [](const fs::path& root) {
             WriteFileText(root / "in/Repo/Main.bas", ModuleText("Main"));
             WriteFileText(root / "in/secret.txt", ModuleText("Secret"));
             fs::create_symlink("../secret.txt", root / "in/Repo/key.bas");
             WriteFileText(root / "in/Repo/sub/inside.txt", ModuleText("Inside"));
             fs::create_symlink("sub/inside.txt", root / "in/Repo/Inside.bas");
         },
         "out",
         kFailed,
         {"/in/Repo/key.bas: a link to /",
          "/quillmark-site-damaged/in/secret.txt, outside the project's folder; left out"},
         {"Repo/Main.html", "Repo/Inside.html"},
         {"Repo/Secret.html", "Repo/key.html"}},
    };
    for (const auto& c : cases) {
        TempFolder root("site-damaged");
        const fs::path rootPath = root.Path();
        c.make(rootPath);
        SiteOptions options;
        options.paths = {(rootPath / "in/Repo").string()};
        options.recursive = true;
        const Built built = Build(options, (rootPath / c.output).string());
        EXPECT_EQ(built.status, c.status) << c.what << ": " << built.err;
        for (const std::string& said : c.said)
            EXPECT_NE(built.err.find(said), std::string::npos) << c.what << ": " << said << " in " << built.err;
        const fs::path site = rootPath / c.output;
        const std::string index = fs::exists(site / "index.html") ? ReadFileText(site / "index.html") : "";
        const auto listed = [&index](const std::string& page) {
            return index.find("href=\"" + Href(kIndexPage, page) + "\"") != std::string::npos;
        };
        for (const std::string& page : c.written) {
            EXPECT_TRUE(fs::is_regular_file(site / page)) << c.what << ": " << page;
            EXPECT_TRUE(listed(page)) << c.what << ": " << page;
        }
        for (const std::string& page : c.unwritten) {
            EXPECT_FALSE(fs::is_regular_file(site / page)) << c.what << ": " << page;
            EXPECT_FALSE(listed(page)) << c.what << ": " << page;
        }
        for (const auto& entry : fs::recursive_directory_iterator(rootPath)) {
            const fs::path file = entry.path().lexically_relative(rootPath);
            if (!entry.is_symlink() && entry.is_regular_file()) {
                EXPECT_TRUE(*file.begin() == "in" || LiesUnder(c.output, file)) << c.what << ": " << file;
            }
            for (const fs::path& part : file)
                EXPECT_LE(part.native().size(), 255u) << c.what << ": " << file;
        }
    }
}

// Standard error that hands everything written so far to a hook, each time more is written, one
// write at a time.
class WatchedStream final : public std::streambuf {
public:
    explicit WatchedStream(std::function<void(const std::string& text)> hook) : hook_(std::move(hook)) {}

protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char one = traits_type::to_char_type(c);
            xsputn(&one, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        const std::lock_guard lock(lock_);
        hook_(text_.append(text, static_cast<std::size_t>(count)));
        return count;
    }

private:
    std::function<void(const std::string&)> hook_;
    std::mutex lock_;
    std::string text_;
};

int BuildWatched(const SiteOptions& options, const std::function<void(const std::string&)>& hook)
{
    WatchedStream watched(hook);
    std::ostream err(&watched);
    return BuildSite(options, err, true);
}

// The output folder, or a folder of pages in it, is swapped again and again for a link to a
// folder outside while the pages are written (from the moment the progress line starts): no page
// goes through the link, and a folder met as a link is named.
TEST(Site, AFolderSwappedForALinkWhileTheSiteIsWrittenIsNotWrittenThrough)
{
    for (const std::string swapped : {"out", "out/Repo"}) {
        TempFolder root("site-swapped");
        const fs::path rootPath = root.Path();
        for (int i = 0; i < 300; ++i)
            WriteFileText(rootPath / "in/Repo" / ("M" + std::to_string(i) + ".bas"), ModuleText("M" + std::to_string(i)));
        fs::create_directories(rootPath / "out/Repo");
        fs::create_directories(rootPath / "outside");
        const fs::path name = rootPath / swapped;
        fs::create_directory_symlink(rootPath / "outside", rootPath / (swapped + ".link"));
        std::atomic<bool> writing = false;
        std::atomic<bool> done = false;
        std::thread swapper([&] {
            while (!writing && !done)
                std::this_thread::yield();
            for (int n = 0; !done || n % 2 == 1; ++n)
                ASSERT_EQ(::renameat2(AT_FDCWD, name.c_str(), AT_FDCWD, (name.string() + ".link").c_str(),
                                      RENAME_EXCHANGE),
                          0);
        });
        SiteOptions options;
        options.paths = {(rootPath / "in/Repo").string()};
        options.outputFolder = (rootPath / "out").string();
        options.jobs = 2;
        std::string said;
        const int status = BuildWatched(options, [&](const std::string& text) {
            writing = true;
            said = text;
        });
        done = true;
        swapper.join();
        for (const auto& entry : fs::recursive_directory_iterator(rootPath / "outside"))
            ADD_FAILURE() << swapped << ": " << entry.path() << " was written through the link";
        if (status != kDone) {
            EXPECT_NE(said.find(swapped + ": it is a symbolic link, which is not followed"), std::string::npos)
                << said;
        }
    }
}

// A second run into the folder waits, and says so, until the first has ended; neither's pages
// are mixed with the other's.
TEST(Site, ASecondRunIntoTheFolderWaitsForTheFirst)
{
    TempFolder root("site-locked");
    const fs::path rootPath = root.Path();
    WriteFileText(rootPath / "First/A.bas", ModuleText("A"));
    WriteFileText(rootPath / "Second/B.bas", ModuleText("B"));
    const auto options = [&](const char* project) {
        SiteOptions options;
        options.paths = {(rootPath / project).string()};
        options.outputFolder = (rootPath / "out").string();
        return options;
    };
    std::promise<void> firstWriting, firstGoesOn, secondWaiting;
    std::once_flag writingOnce, waitingOnce;
    std::shared_future<void> goOn = firstGoesOn.get_future().share();
    std::future<int> first = std::async(std::launch::async, [&] {
        return BuildWatched(options("First"), [&](const std::string&) {
            std::call_once(writingOnce, [&] { firstWriting.set_value(); });
            goOn.wait();
        });
    });
    firstWriting.get_future().wait();
    std::string said;
    std::future<int> second = std::async(std::launch::async, [&] {
        return BuildWatched(options("Second"), [&](const std::string& text) {
            said = text;
            if (text.find("waiting") != std::string::npos)
                std::call_once(waitingOnce, [&] { secondWaiting.set_value(); });
        });
    });
    const bool waited = secondWaiting.get_future().wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    EXPECT_TRUE(waited) << "the second run did not wait";
    EXPECT_FALSE(fs::exists(rootPath / "out/Second"));
    firstGoesOn.set_value();
    EXPECT_EQ(first.get(), kDone);
    EXPECT_EQ(second.get(), kDone);
    EXPECT_EQ(said.rfind("quillmark: " + (rootPath / "out").string() +
                             ": another run is writing a site there; waiting for it to end\n",
                         0),
              0u)
        << said;
    EXPECT_TRUE(fs::exists(rootPath / "out/First/A.html"));
    EXPECT_TRUE(fs::exists(rootPath / "out/Second/B.html"));
}

TEST(Site, UnconvertibleModuleKeepsItsCodeAndAnchors)
{
    TempFolder in("site-broken");
    in.Write("Broken.bas", "Attribute VB_Name = \"Broken\"\r\nSub Open()\r\n  s = \"Open<b\r\nEnd Sub\r\n");
    TempFolder out("site-broken-out");
    SiteOptions options;
    options.paths = {in.Path()};
    EXPECT_EQ(Build(options, out.Path()).status, kFailed);
    const std::string page = ReadFileText(out.Path() + "/quillmark-site-broken/Broken.html");
    EXPECT_NE(page.find("<p class=\"Problem\">This module could not be highlighted (line 2: unterminated string "
                        "literal).</p>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("<div class=\"CodeArea\"><p id=\"Open\"><a id=\"L1\"></a>Sub Open()\n"
                        "<a id=\"L2\"></a>  s = \"Open&lt;b\n<a id=\"L3\"></a>End "
                        "Sub</p></div>"),
              std::string::npos)
        << page;
}

TEST(Site, ProgressLineOnlyWhenShown)
{
    SiteOptions options;
    options.paths = {(fs::path(QUILLMARK_SOURCE_DIR) / "examples/Sample").string()};
    TempFolder out("site-progress");
    const Built shown = Build(options, out.Path(), true);
    EXPECT_EQ(shown.err.rfind("\rquillmark site: 0/4 modules, 0.0 s", 0), 0u) << shown.err;
    EXPECT_NE(shown.err.find("\rquillmark site: 4/4 modules, "), std::string::npos) << shown.err;
    EXPECT_EQ(shown.err.back(), '\n');
    EXPECT_EQ(Build(options, out.Path(), false).err, "");
}

// Stale copies left out by pattern, named in the index under the title asked for.
TEST(Site, ExcludedFilesAndFoldersAreLeftOutAndListed)
{
    TempFolder root("site-exclude");
    const fs::path in = fs::path(root.Path()) / "Repo";
    WriteFileText(in / "Main.bas", ModuleText("Main"));
    WriteFileText(in / "Copy of Main.bas", ModuleText("Main"));
    WriteFileText(in / "src/Old/Main.bas", ModuleText("Main"));
    WriteFileText(in / "src/Tools.bas", ModuleText("Tools"));
    WriteFileText(in / "forms/Tools.bak.bas", ModuleText("Tools"));
    SiteOptions options;
    options.paths = {in.string()};
    options.recursive = true;
    options.title = "Order <Desk>";
    options.excludes = {"copy of *", "/src/old/", "forms/*.bak.bas"};
    const Built built = Build(options, root.Path() + "/out");
    EXPECT_EQ(built.status, kDone) << built.err;
    const std::string index = ReadFileText(root.Path() + "/out/index.html");
    EXPECT_NE(index.find("<h1>Order &lt;Desk&gt;</h1>"), std::string::npos);
    for (const char* listed : {"<code>Copy of Main.bas</code> matches <code>copy of *</code>",
                               "<code>src/Old/</code> matches <code>src/old</code>",
                               "<code>forms/Tools.bak.bas</code> matches <code>forms/*.bak.bas</code>"})
        EXPECT_NE(index.find(listed), std::string::npos) << listed;
    EXPECT_EQ(FilesUnder(root.Path() + "/out").size(), 4u); // index, style sheet, Main and Tools

    options.excludes = {"*.bas", "src"};
    const Built none = Build(options, root.Path() + "/none");
    EXPECT_EQ(none.status, kFailed);
    EXPECT_NE(none.err.find(in.string() + ": --exclude left out every module file (*.bas, src)"), std::string::npos)
        << none.err;
}

#ifndef _WIN32
// A module file deeper than the longest path the system takes is named and left out, as every
// file that cannot be read is; the tree's other files still make their pages.
TEST(Site, AModuleFileBeyondTheLongestPathIsNamedAndLeftOut)
{
    TempFolder root("site-deep");
    const fs::path in = fs::path(root.Path()) / "Deep";
    WriteFileText(in / "Top.bas", ModuleText("Top"));
    // Made through open folders, as no path reaches that deep.
    int folder = ::open(in.c_str(), O_RDONLY | O_DIRECTORY);
    fs::path deep = in;
    const std::string name(200, 'd');
    while (deep.native().size() < PATH_MAX) {
        ASSERT_EQ(::mkdirat(folder, name.c_str(), 0755), 0);
        const int inner = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(folder);
        folder = inner;
        deep /= name;
    }
    const std::string text = ModuleText("Deep");
    const int file = ::openat(folder, "Deep.bas", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(file);
    ::close(folder);
    SiteOptions options;
    options.paths = {in.string()};
    options.recursive = true;
    const Built built = Build(options, root.Path() + "/out");
    EXPECT_EQ(built.status, kFailed);
    EXPECT_NE(built.err.find((deep / "Deep.bas").string() + ": "), std::string::npos) << built.err.substr(0, 300);
    EXPECT_TRUE(fs::exists(root.Path() + "/out/Deep/Top.html"));
    EXPECT_EQ(std::system(("rm -rf '" + in.string() + "'").c_str()), 0); // no path reaches it
}
#endif

} // namespace
} // namespace quillmark::cli

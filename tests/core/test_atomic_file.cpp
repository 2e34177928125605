#include "SampleSheets.h"
#include "TempDir.h"
#include "TinyMount.h"

#include "model/AtomicFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Entries(const std::string& dir)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteOld(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(AtomicFile, ReplacesTheFileAndKeepsItsPermissions)
{
    CTempDir dir;
    const std::string path = dir / "sheet.tav";
    WriteOld(path, "old contents");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    const std::string bytes(100000, '\x5A');
    EXPECT_EQ(WriteFileAtomically(path, bytes), 0);
    EXPECT_EQ(samples::ReadFileBytes(path), bytes);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"sheet.tav"});

    EXPECT_EQ(WriteFileAtomically(dir / "new.tav", ""), 0);
    EXPECT_TRUE(fs::is_regular_file(dir / "new.tav"));
    EXPECT_EQ(fs::file_size(dir / "new.tav"), 0u);
}

TEST(AtomicFile, NewFileFollowsTheUmask)
{
    CTempDir dir;
    const mode_t old = umask(027);
    EXPECT_EQ(WriteFileAtomically(dir / "new.tav", "x"), 0);
    umask(old);
    EXPECT_EQ(fs::status(dir / "new.tav").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicFile, SavesThroughASymbolicLink)
{
    CTempDir dir;
    fs::create_directory(dir / "real");
    WriteOld(dir / "real/sheet.tav", "old");
    fs::create_symlink("real/sheet.tav", dir / "link.tav");

    EXPECT_EQ(WriteFileAtomically(dir / "link.tav", "new"), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.tav"));
    EXPECT_EQ(samples::ReadFileBytes(dir / "real/sheet.tav"), "new");
    EXPECT_EQ(Entries(dir / "real"), std::vector<std::string>{"sheet.tav"});
}

// A failure at any step reports an errno, leaves the previous file as it was
// and no temporary file behind.
TEST(AtomicFile, FailuresLeaveThePreviousFile)
{
    CTempDir dir;
    fs::create_directory(dir / "sheet.tav");
    EXPECT_EQ(WriteFileAtomically(dir / "sheet.tav", "bytes"), EISDIR) << "rename over a directory";
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"sheet.tav"});

    EXPECT_EQ(WriteFileAtomically(dir / "missing/sheet.tav", "bytes"), ENOENT);
}

TEST(AtomicFile, UnwritableDirectory)
{
    CTempDir dir;
    const std::string path = dir / "sheet.tav";
    const std::string old = SheetBytes(CSheet{});
    CTinyMount tmpfs(dir.Path());
    int expected = EACCES;
    if (geteuid() == 0) {
        // Root writes into any directory; a read-only mount stops it.
        if (!tmpfs.Mounted())
            GTEST_SKIP() << "cannot mount a tmpfs here";
        WriteOld(path, old);
        ASSERT_TRUE(tmpfs.MakeReadOnly());
        expected = EROFS;
    } else {
        WriteOld(path, old);
        ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
    }
    EXPECT_EQ(WriteFileAtomically(path, "new bytes"), expected);
    EXPECT_EQ(samples::ReadFileBytes(path), old);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"sheet.tav"});
    chmod(dir.Path().c_str(), 0755);
}

TEST(AtomicFile, FullDisk)
{
    CTempDir dir;
    CTinyMount tmpfs(dir.Path());
    if (!tmpfs.Mounted())
        GTEST_SKIP() << "needs root and a tmpfs mount";
    const std::string path = dir / "sheet.tav";
    const std::string old = SheetBytes(CSheet{});
    WriteOld(path, old);

    EXPECT_EQ(WriteFileAtomically(path, std::string(200000, 'x')), ENOSPC);
    EXPECT_EQ(samples::ReadFileBytes(path), old);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"sheet.tav"});

    // What fits still saves.
    EXPECT_EQ(WriteFileAtomically(path, std::string(20000, 'y')), 0);
    EXPECT_EQ(samples::ReadFileBytes(path), std::string(20000, 'y'));
}

// The id of a process that has ended.
pid_t EndedProcess()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

// A save killed half-way leaves its temporary file; the next save of the same
// document removes it, and nothing that is not clearly such a leftover.
TEST(AtomicFile, NextSaveRemovesStaleTemporariesOfTheSameTarget)
{
    CTempDir dir;
    const std::string prefix = SaveTemporaryPrefix("sheet.tav");
    EXPECT_EQ(prefix, ".sheet.tav.tavromark-save-");
    const std::string dead = std::to_string(EndedProcess());
    const std::string stale = prefix + dead + "-a1B2c3";
    const std::vector<std::string> kept = {
        prefix + std::to_string(getppid()) + "-a1B2c3",      // its process still runs
        SaveTemporaryPrefix("other.tav") + dead + "-a1B2c3", // another document's
        prefix + dead + "-a1B2c",                            // not a name we make
        prefix + dead + "-a1B2c3.tav",
        prefix + "x" + dead + "-a1B2c3",
        "sheet.tav." + dead,
        "sheet.tav.a1B2c3",
    };
    WriteOld(dir / stale, std::string(1000, 'x'));
    for (const std::string& name : kept)
        WriteOld(dir / name, "keep");
    const std::string link = prefix + dead + "-zzzzzz"; // a link is never followed or removed
    fs::create_symlink(dir / "other.tav", dir / link);
    WriteOld(dir / "sheet.tav", "old");

    EXPECT_EQ(WriteFileAtomically(dir / "sheet.tav", "new"), 0);
    std::vector<std::string> expected = kept;
    expected.push_back(link);
    expected.push_back("sheet.tav");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(dir.Path()), expected);
    EXPECT_EQ(samples::ReadFileBytes(dir / "sheet.tav"), "new");
}

// Under a file size limit the write fails with EFBIG, like a full disk, once
// SIGXFSZ is ignored (as the program does); the previous file stays.
TEST(AtomicFile, FileSizeLimit)
{
    CTempDir dir;
    const std::string path = dir / "sheet.tav";
    const std::string old = SheetBytes(CSheet{});
    WriteOld(path, old);
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(WriteFileAtomically(path, std::string(100000, 'x')) == EFBIG ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(samples::ReadFileBytes(path), old);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"sheet.tav"});
}

// Written in pieces: the target changes only at Commit, and a writer that
// fails or is dropped before it leaves the previous file and no temporary.
TEST(AtomicFile, StreamedWriterReplacesOnlyWhenCommitted)
{
    CTempDir dir;
    const std::string path = dir / "labels.pdf";
    WriteOld(path, "old");
    {
        CAtomicFileWriter writer;
        ASSERT_EQ(writer.Open(path), 0);
        EXPECT_EQ(writer.Write("new "), 0);
        EXPECT_EQ(writer.Write("bytes"), 0);
        EXPECT_EQ(samples::ReadFileBytes(path), "old") << "not replaced before the commit";
        EXPECT_EQ(Entries(dir.Path()).size(), 2u) << "the temporary beside it";
        EXPECT_EQ(writer.Commit(), 0);
    }
    EXPECT_EQ(samples::ReadFileBytes(path), "new bytes");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"labels.pdf"});

    {
        CAtomicFileWriter writer;
        ASSERT_EQ(writer.Open(path), 0);
        EXPECT_EQ(writer.Write("abandoned"), 0);
    }
    EXPECT_EQ(samples::ReadFileBytes(path), "new bytes");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"labels.pdf"});

    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limit);
        CAtomicFileWriter writer;
        int error = writer.Open(path);
        for (int i = 0; i < 10 && error == 0; ++i)
            error = writer.Write(std::string(4096, 'x'));
        // Every later step reports the first failure.
        const bool bSticky = writer.Write("y") == EFBIG && writer.Commit() == EFBIG;
        _exit(error == EFBIG && bSticky ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(samples::ReadFileBytes(path), "new bytes");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"labels.pdf"});
}

} // namespace

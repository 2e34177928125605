#include "SampleSheets.h"
#include "TempDir.h"

#include "app/DesktopRegistration.h"
#include "model/CSheet.h"
#include "model/FileAccess.h"
#include "model/SettingsDir.h"
#include "print/PrinterDescription.h"
#include "sheets/SheetTypeList.h"
#include "wirelist/WireListReader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `read` on another thread and fails instead of hanging when it blocks;
// a reader blocked on a FIFO is set free by opening the FIFO for writing.
template <typename Read>
void ExpectReturnsPromptly(const std::string& fifo, Read read)
{
    std::future<void> done = std::async(std::launch::async, read);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
        return;
    ADD_FAILURE() << "the reader blocked on " << fifo;
    close(open(fifo.c_str(), O_WRONLY));
}

class FileAccess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_dir.Path().empty());
        m_fifo = m_dir / "fifo";
        ASSERT_EQ(mkfifo(m_fifo.c_str(), 0600), 0);
    }

    CTempDir m_dir;
    std::string m_fifo;
};

// A FIFO is found without opening it for reading, which would wait for a
// writer; a directory and a missing file keep their errors.
TEST_F(FileAccess, OnlyRegularFilesAreRead)
{
    WriteBytes(m_dir / "a.tav", "x");
    struct Case
    {
        const char* name;
        std::string path;
        int expected;
    };
    for (const Case& c : {Case{"regular", m_dir / "a.tav", 0}, Case{"missing", m_dir / "missing", ENOENT},
                          Case{"directory", m_dir.Path(), EISDIR}, Case{"fifo", m_fifo, kErrNotRegularFile},
                          Case{"device", "/dev/zero", kErrNotRegularFile}}) {
        SCOPED_TRACE(c.name);
        ExpectReturnsPromptly(m_fifo, [&] {
            EXPECT_EQ(CheckFileForReading(c.path), c.expected);
            std::string bytes = "old";
            EXPECT_EQ(ReadWholeFile(c.path, 100, bytes), c.expected);
            EXPECT_EQ(bytes, c.expected ? "" : "x");
        });
    }
    EXPECT_NE(FileErrorText(kErrNotRegularFile).find("not a regular file"), std::string::npos);
    EXPECT_EQ(FileErrorText(ENOENT), "No such file or directory");
}

TEST_F(FileAccess, WholeFileWithinItsLimit)
{
    const std::string path = m_dir / "f";
    WriteBytes(path, std::string(100, 'a'));
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(path, 100, bytes), 0);
    EXPECT_EQ(bytes.size(), 100u);
    EXPECT_EQ(ReadWholeFile(path, 99, bytes), EFBIG);
    EXPECT_TRUE(bytes.empty());
    WriteBytes(path, "");
    EXPECT_EQ(ReadWholeFile(path, 0, bytes), 0);
}

// Every reader of a file the program keeps treats a FIFO as a file it cannot
// open, and returns at once.
TEST_F(FileAccess, EveryReaderRefusesAFifo)
{
    ExpectReturnsPromptly(m_fifo, [&] {
        CSheet sheet;
        EXPECT_EQ(ReadSheetFile(m_fifo, sheet), SheetReadResult::CannotOpen);
        EXPECT_EQ(CheckSignatureFile(m_fifo), SignatureCheck::CannotOpen);
    });
    ExpectReturnsPromptly(m_fifo, [&] {
        CSheetTypeList list;
        ReadTypeListFile(m_fifo, list);
        EXPECT_TRUE(list.empty());
    });
    ExpectReturnsPromptly(m_fifo, [&] { EXPECT_FALSE(ReadPrinterDescriptionFile(m_fifo)); });
    ExpectReturnsPromptly(m_fifo, [&] { EXPECT_EQ(CheckSettingsFile(m_fifo), kErrNotRegularFile); });
    ExpectReturnsPromptly(m_fifo, [&] {
        CWireList list;
        EXPECT_EQ(EnglishText(ReadWireListFile(m_fifo, {}, list)),
                  "'" + m_fifo + "': " + FileErrorText(kErrNotRegularFile));
    });
}

// A FIFO where the program keeps its desktop entry is replaced by the entry,
// without waiting for a writer.
TEST_F(FileAccess, DesktopRegistrationReplacesAFifo)
{
    const std::string dataHome = m_dir / "data";
    const std::string entry = dataHome + "/applications/tavromark.desktop";
    std::filesystem::create_directories(dataHome + "/applications");
    ASSERT_EQ(mkfifo(entry.c_str(), 0600), 0);
    ExpectReturnsPromptly(entry, [&] {
        const CRegistrationResult result =
            InstallDesktopFiles(dataHome, {{"applications/tavromark.desktop", "E"}});
        EXPECT_EQ(result.m_nError, 0);
        EXPECT_TRUE(result.m_bChanged);
    });
    EXPECT_TRUE(std::filesystem::is_regular_file(entry));
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(entry, 10, bytes), 0);
    EXPECT_EQ(bytes, "E");
}

TEST_F(FileAccess, SettingsFileCheck)
{
    const std::string path = m_dir / "tavro.ini";
    EXPECT_EQ(CheckSettingsFile(path), 0) << "missing: the defaults apply";
    WriteBytes(path, std::string(kMaxSettingsFileBytes, ';'));
    EXPECT_EQ(CheckSettingsFile(path), 0);
    WriteBytes(path, std::string(kMaxSettingsFileBytes + 1, ';'));
    EXPECT_EQ(CheckSettingsFile(path), EFBIG);
    EXPECT_EQ(CheckSettingsFile(m_dir.Path()), EISDIR);
}

// The mode bits decide, for the superuser too: a 0444 file is read-only
// whoever saves.
TEST_F(FileAccess, ReadOnlyFromTheModeBits)
{
    const std::string path = m_dir / "a.tav";
    WriteBytes(path, "x");
    struct Case
    {
        mode_t mode;
        bool bReadOnly;
    };
    for (const Case& c : {Case{0444, true}, Case{0400, true}, Case{0644, false}, Case{0200, false}}) {
        SCOPED_TRACE(c.mode);
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        EXPECT_EQ(IsReadOnlyFile(path), c.bReadOnly);
    }
    EXPECT_FALSE(IsReadOnlyFile(m_dir / "missing.tav"));
}

} // namespace

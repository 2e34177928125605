#include "app/CRecentFileList.h"
#include "base/AppSettings.h"
#include "base/SettingsKeys.h"
#include "model/SettingsDir.h"

#include <gtest/gtest.h>

#include <QFile>

#include <sys/stat.h>

namespace {

// The settings file of the tests' settings directory, written by hand.
class SettingsFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::optional<std::string> path = SettingsFilePath(SettingsKeys::kFileName.toStdString());
        ASSERT_TRUE(path);
        m_path = QString::fromStdString(*path);
        QFile::remove(m_path);
    }
    void TearDown() override { QFile::remove(m_path); }

    void Write(const QByteArray& bytes) const
    {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray Read() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString m_path;
};

// However large a size the file claims, no more entries than the list holds
// are looked at (two thousand million took minutes).
TEST_F(SettingsFile, RecentFileCountIsBounded)
{
    Write("[RecentFiles]\nsize=100\n1\\File=/a.tav\n2\\File=/b.tav\n6\\File=/beyond.tav\n");
    CRecentFileList list;
    list.Load();
    EXPECT_EQ(list.Entries(), (QStringList{"/a.tav", "/b.tav"}));
}

// Saving an unchanged list leaves the file as it is: QSettings would drop the
// comment when writing it again.
TEST_F(SettingsFile, UnchangedRecentFilesAreNotWritten)
{
    const QByteArray bytes = "; kept by hand\n[RecentFiles]\n1\\File=/a.tav\nsize=1\n";
    Write(bytes);
    CRecentFileList list;
    list.Load();
    list.Save();
    EXPECT_EQ(Read(), bytes);

    list.Add("/b.tav");
    list.Save();
    CRecentFileList reread;
    reread.Load();
    EXPECT_EQ(reread.Entries(), (QStringList{"/b.tav", "/a.tav"}));
}

// A settings file larger than the program ever writes, or a FIFO, is not
// read, and is left alone: the defaults apply.
TEST_F(SettingsFile, ForeignSettingsFilesAreLeftAlone)
{
    const QByteArray big = "[RecentFiles]\n1\\File=/a.tav\nsize=1\n" + QByteArray(kMaxSettingsFileBytes, ';');
    Write(big);
    EXPECT_EQ(OpenAppSettings(), nullptr);
    CRecentFileList list;
    list.Load();
    EXPECT_TRUE(list.Entries().isEmpty());
    list.Add("/b.tav");
    list.Save();
    EXPECT_EQ(Read(), big);

    QFile::remove(m_path);
    ASSERT_EQ(mkfifo(QFile::encodeName(m_path).constData(), 0600), 0);
    EXPECT_EQ(OpenAppSettings(), nullptr);
    list.Load();
    EXPECT_TRUE(list.Entries().isEmpty());
}

} // namespace

// Failed file operations tell their reason in the program's language: the
// common system reasons in Chinese, any other in the C library's words, and
// the character a file holds that code page 936 cannot.
#include "test_app_support.h"

#include "../core/SampleSheets.h"
#include "base/SystemErrorText.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

TEST(SystemErrorText, CommonReasonsInChinese)
{
    const struct
    {
        int nError;
        QString text;
    } cases[] = {
        {ENOENT, QStringLiteral("文件或文件夹不存在。")},
        {ENOTDIR, QStringLiteral("路径中有一部分不是文件夹。")},
        {EACCES, QStringLiteral("没有访问权限。")},
        {EPERM, QStringLiteral("没有访问权限。")},
        {EROFS, QStringLiteral("文件系统是只读的。")},
        {ENOSPC, QStringLiteral("磁盘已满。")},
        {EDQUOT, QStringLiteral("磁盘已满。")},
        {EISDIR, QStringLiteral("这是一个文件夹。")},
        {EFBIG, QStringLiteral("文件太大。")},
        {EBUSY, QString::fromLocal8Bit(std::strerror(EBUSY))}, // uncommon: the C library's text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::strerror(c.nError));
        EXPECT_EQ(SystemErrorText(c.nError), c.text);
    }
}

TEST_F(AppTest, SaveFailureTellsTheReasonInChinese)
{
    struct
    {
        const char* szName;
        std::function<QString()> arrange; // the path to save to
        std::function<void()> restore;
        QString reason;
    } const cases[] = {
        {"a folder where the file goes",
         [this] {
             QDir().mkpath(PathOf(QStringLiteral("folder.tav")));
             return PathOf(QStringLiteral("folder.tav"));
         },
         [] {}, QStringLiteral("这是一个文件夹。")},
        {"file size limit",
         [this] {
             signal(SIGXFSZ, SIG_IGN);
             rlimit limit{1024, RLIM_INFINITY}; // below any sheet file
             EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
             return PathOf(QStringLiteral("big.tav"));
         },
         [] {
             rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
             setrlimit(RLIMIT_FSIZE, &limit);
         },
         QStringLiteral("文件太大。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        const QString path = c.arrange();
        CSeenBox seen;
        AnswerNextMessageBox(QMessageBox::Ok, &seen);
        const bool bSaved = Frame()->Controller()->SaveAs(path);
        c.restore();
        EXPECT_FALSE(bSaved);
        EXPECT_TRUE(seen.m_strText.startsWith(QStringLiteral("保存文档失败。")))
            << seen.m_strText.toStdString();
        EXPECT_TRUE(seen.m_strText.endsWith(QLatin1Char('\n') + c.reason)) << seen.m_strText.toStdString();
    }
}

TEST_F(AppTest, OpenNamesTheCharacterCodePage936CannotHold)
{
    const struct
    {
        const char* szName;
        std::string utf16le;
        QString strDetail;
    } cases[] = {
        {"Thai letter", std::string("\x07\x68\x01\x0E", 4), QStringLiteral("U+0E01（ก）")},
        {"emoji", std::string("\x3D\xD8\x00\xDE", 4), QStringLiteral("U+1F600（😀）")},
        {"lone surrogate, not shown", std::string("\x00\xD8", 2), QStringLiteral("U+D800 ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        const QString path = PathOf(QStringLiteral("wide.tav"));
        const std::string bytes = samples::WideTextFileBytes(c.utf16le);
        WriteFile(path, QByteArray::fromStdString(bytes));
        CSeenBox seen;
        AnswerNextMessageBox(QMessageBox::Ok, &seen);
        EXPECT_EQ(m_pApp->OpenDocumentFile(path), nullptr);
        EXPECT_TRUE(seen.m_strText.startsWith(QStringLiteral("非预期的文件格式。\n文件中的字符 ")))
            << seen.m_strText.toStdString();
        EXPECT_TRUE(seen.m_strText.contains(c.strDetail)) << seen.m_strText.toStdString();
    }
}

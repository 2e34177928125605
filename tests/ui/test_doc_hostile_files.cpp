#include "test_app_support.h"

#include <sys/stat.h>

namespace {

// A FIFO chosen as the document is refused at once with the reason; opening
// it for reading would wait for a writer forever.
TEST_F(AppTest, AFifoIsNotOpenedAsADocument)
{
    const QString fifo = PathOf(QStringLiteral("pipe.tav"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::Ok, &seen);
    EXPECT_EQ(m_pApp->OpenDocumentFile(fifo), nullptr);
    EXPECT_TRUE(seen.m_strText.contains(QStringLiteral("无法打开文件"))) << seen.m_strText.toStdString();
    EXPECT_TRUE(seen.m_strText.contains(QStringLiteral("不是普通文件"))) << seen.m_strText.toStdString();
}

} // namespace

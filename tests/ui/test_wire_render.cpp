#include "test_app_support.h"

#include "app/CommandIds.h"
#include "model/CTAVRODoc.h"
#include "text/CBatchTextDlg.h"
#include "view/CLabelWnd.h"
#include "view/CTAVROView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

// Pictures of the sheet view for the documentation, saved when
// TAVRO_SCREENSHOT_DIR names a directory.
class SheetPictures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_view.resize(900, 900);
        m_view.show();
        QCoreApplication::processEvents();
        m_router.AddTarget(&m_view.CommandMap());
    }

    void Save(const char* name)
    {
        QCoreApplication::processEvents();
        const QPixmap shot = m_view.grab();
        ASSERT_FALSE(shot.isNull());
        const QString strDir = qEnvironmentVariable("TAVRO_SCREENSHOT_DIR");
        if (!strDir.isEmpty()) {
            EXPECT_TRUE(shot.save(strDir + QLatin1Char('/') + QLatin1String(name)));
        }
    }

    void SelectOnly(int r, int c)
    {
        m_view.OnSelectNone();
        m_view.Label(r, c)->SetSelected(1);
    }

    CTAVRODoc m_doc;
    CTAVROView m_view{&m_doc};
    CCommandRouter m_router;
};

} // namespace

TEST_F(SheetPictures, SequenceSheet)
{
    m_view.OnInitialUpdate();
    m_view.OnSelectAll();
    AnswerNextDialog<CBatchTextDlg>([](CBatchTextDlg* pDlg) {
        pDlg->findChild<QLineEdit*>(QStringLiteral("editMiddle"))->setText(QStringLiteral("001"));
        pDlg->findChild<QRadioButton*>(QStringLiteral("radioMode1"))->click();
        pDlg->findChild<QPushButton*>(QStringLiteral("buttonOk"))->click();
    });
    ASSERT_TRUE(m_router.Execute(ID::SetText));
    EXPECT_EQ(m_view.Label(0, 0)->GetText(), "001");
    EXPECT_EQ(m_view.Label(13, 4)->GetText(), "070");
    m_view.OnSelectNone();
    Save("sequence-sheet.png");
}

// The view's printing as the user drives it: the page offset dialog, the
// print commands' state and what the page callback draws per mode.
#include "test_app_support.h"

#include "app/CommandIds.h"
#include "print/CPageOffsetDlg.h"
#include "print/PageOffset.h"
#include "print/PageOffsetSettings.h"
#include "print/PrintLayout.h"
#include "view/CLabelWnd.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QSettings>

namespace {

struct COffsetCase
{
    const char* szName;
    QString typedX;
    QString typedY;
    const char* szRefusedBox; // null when accepted
    QString storedX = {};
    QString storedY = {};
};

const COffsetCase kOffsetCases[] = {
    {"spaces removed", QStringLiteral(" 1 5 "), QStringLiteral("-30"), nullptr, "15", "-30"},
    {"empty means 0", QString(), QString(), nullptr, "0", "0"},
    {"plus sign kept", QStringLiteral("+20"), QStringLiteral("-"), nullptr, "+20", "-"},
    {"the limits", QStringLiteral("9999"), QStringLiteral("-9999"), nullptr, "9999", "-9999"},
    {"minus inside", QStringLiteral("2-0"), QStringLiteral("1"), "editOffsetX"},
    {"decimal point in Y", QStringLiteral("1"), QStringLiteral("1.5"), "editOffsetY"},
    {"letter first", QStringLiteral("a1"), QStringLiteral("1.5"), "editOffsetX"},
    {"beyond the range", QStringLiteral("10000"), QStringLiteral("0"), "editOffsetX"},
    {"beyond the range below", QStringLiteral("0"), QStringLiteral("-10000"), "editOffsetY"},
};

QString SettingsFile()
{
    return QString::fromStdString(SettingsFilePath(SettingsKeys::kFileName.toStdString()).value_or(""));
}

// Types both texts into the next page offset dialog and presses OK,
// recording the message box it shows and where the focus went.
void AnswerOffsetDialog(const QString& x, const QString& y, bool bExpectMessage, CSeenBox* seen, QString* focus)
{
    AnswerNextDialog<CPageOffsetDlg>([=](CPageOffsetDlg* dlg) {
        dlg->findChild<QLineEdit*>(QStringLiteral("editOffsetX"))->setText(x);
        dlg->findChild<QLineEdit*>(QStringLiteral("editOffsetY"))->setText(y);
        if (bExpectMessage)
            AnswerNextMessageBox(QMessageBox::Ok, seen);
        QMetaObject::invokeMethod(dlg, "accept");
        if (dlg->focusWidget())
            *focus = dlg->focusWidget()->objectName();
    });
}

} // namespace

class PrintCommandsTest : public AppTest
{
};

TEST_F(PrintCommandsTest, PageOffsetDialog)
{
    for (const COffsetCase& c : kOffsetCases) {
        SCOPED_TRACE(c.szName);
        QFile::remove(SettingsFile());
        View()->m_nPageMoveX = 7;
        View()->m_nPageMoveY = 8;
        CSeenBox seen;
        QString focus;
        AnswerOffsetDialog(c.typedX, c.typedY, c.szRefusedBox != nullptr, &seen, &focus);
        View()->OnPageOffset();
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        if (c.szRefusedBox) {
            EXPECT_TRUE(seen.m_bShown);
            EXPECT_EQ(seen.m_strCaption, QStringLiteral("Tavromark"));
            if (QString(c.szName).startsWith(QStringLiteral("beyond")))
                EXPECT_TRUE(seen.m_strText.contains(QStringLiteral("-9999"))) << seen.m_strText.toStdString();
            else
                EXPECT_EQ(seen.m_strText, QStringLiteral("偏移量必须为数字"));
            EXPECT_EQ(focus, QString::fromLatin1(c.szRefusedBox));
            EXPECT_EQ(View()->m_nPageMoveX, 7);
            EXPECT_EQ(View()->m_nPageMoveY, 8);
            EXPECT_FALSE(settings.contains(SettingsKeys::kPageMoveX));
            continue;
        }
        EXPECT_FALSE(seen.m_bShown);
        EXPECT_EQ(settings.value(SettingsKeys::kPageMoveX).toString(), c.storedX);
        EXPECT_EQ(settings.value(SettingsKeys::kPageMoveY).toString(), c.storedY);
        EXPECT_EQ(View()->m_nPageMoveX, DecimalTextValue(c.storedX.toStdString()));
        EXPECT_EQ(View()->m_nPageMoveY, DecimalTextValue(c.storedY.toStdString()));
        const CPageOffset read = ReadPageOffset();
        EXPECT_EQ(read.m_nMoveX, View()->m_nPageMoveX);
        EXPECT_EQ(read.m_nMoveY, View()->m_nPageMoveY);
    }
}

TEST_F(PrintCommandsTest, UnwritableSettingsAreReportedAndTheOffsetStillApplies)
{
    QFile::remove(SettingsFile());
    ASSERT_TRUE(QDir().mkpath(SettingsFile())); // a directory where the file belongs
    CSeenBox seen;
    QString focus;
    AnswerOffsetDialog(QStringLiteral("120"), QStringLiteral("-40"), true, &seen, &focus);
    View()->OnPageOffset();
    QDir(SettingsFile()).removeRecursively();
    EXPECT_TRUE(seen.m_bShown);
    EXPECT_TRUE(seen.m_strText.contains(QStringLiteral("无法保存"))) << seen.m_strText.toStdString();
    EXPECT_EQ(View()->m_nPageMoveX, 120);
    EXPECT_EQ(View()->m_nPageMoveY, -40);
}

TEST_F(PrintCommandsTest, CancelChangesNothing)
{
    View()->m_nPageMoveX = 5;
    AnswerNextDialog<CPageOffsetDlg>([](CPageOffsetDlg* dlg) {
        EXPECT_EQ(dlg->findChild<QLineEdit*>(QStringLiteral("editOffsetX"))->text(), QStringLiteral("5"));
        EXPECT_EQ(dlg->findChild<QLineEdit*>(QStringLiteral("editOffsetX"))->maxLength(), 6);
        dlg->findChild<QLineEdit*>(QStringLiteral("editOffsetX"))->setText(QStringLiteral("99"));
        dlg->reject();
    });
    View()->OnPageOffset();
    EXPECT_EQ(View()->m_nPageMoveX, 5);
}

TEST_F(PrintCommandsTest, PrintLabelsNeedsASelection)
{
    const CCommandMap::UpdateHandler* update = View()->CommandMap().FindUpdateHandler(ID::PrintLabels);
    ASSERT_NE(update, nullptr);
    CCmdUI ui;
    (*update)(ui);
    EXPECT_TRUE(ui.m_bEnabled); // a new sheet is all selected
    View()->OnSelectNone();
    (*update)(ui);
    EXPECT_FALSE(ui.m_bEnabled);
    for (int nID : {ID::PrintBaseline, ID::PrintPreviewMenu, ID::FilePrintSetup, ID::PageOffset})
        EXPECT_NE(View()->CommandMap().FindHandler(nID), nullptr) << nID;
}

// The page callback on an image at 100 dpi: outlines in the preview only,
// and the mode back at none afterwards.
TEST_F(PrintCommandsTest, PageCallbackDrawsPerMode)
{
    struct CCase
    {
        const char* szName;
        PrintMode modeBefore;
        bool bPreview;
        bool bOutlines;
    };
    const CCase cases[] = {
        {"labels", PrintMode::Labels, false, false},
        {"preview forces outlines", PrintMode::None, true, true},
        {"print from the preview: labels", PrintMode::None, false, false},
        {"baseline", PrintMode::Baseline, false, true},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.szName);
        QImage image(827, 1169, QImage::Format_RGB32);
        image.setDotsPerMeterX(3937);
        image.setDotsPerMeterY(3937);
        image.fill(Qt::white);
        View()->m_printMode = c.modeBefore;
        {
            QPainter painter(&image);
            View()->OnPrint(painter, c.bPreview);
        }
        EXPECT_EQ(View()->m_printMode, PrintMode::None);
        const CPixelRect rc = LabelDeviceRect(View()->Format(), 0, 0, 0, 0, {100, 100});
        const QColor edge = image.pixelColor(rc.left, (rc.top + rc.bottom) / 2);
        EXPECT_EQ(edge == QColor(0, 132, 0), c.bOutlines) << edge.name().toStdString();
    }
}

TEST_F(PrintCommandsTest, PreviewCommandShowsThePreview)
{
    CSheet sheet;
    ASSERT_EQ(ReadSheetFile(TAVRO_TEST_DATA "/preset-7x20-texts.tav", sheet), SheetReadResult::Ok);
    View()->SetSheet(sheet);
    View()->OnInitialUpdate();
    View()->m_nPageMoveX = 150; // the preview shows the offset
    bool bShown = false;
    AnswerNextDialog<QPrintPreviewDialog>([&](QPrintPreviewDialog* dlg) {
        bShown = true;
        EXPECT_EQ(View()->m_printMode, PrintMode::None); // the preview page was drawn
        if (const QByteArray shot = qgetenv("TAVRO_PREVIEW_SHOT"); !shot.isEmpty()) {
            dlg->resize(900, 1000);
            QApplication::processEvents();
            dlg->grab().save(QString::fromLocal8Bit(shot));
        }
        dlg->reject();
    });
    View()->OnPrintPreview();
    EXPECT_EQ(View()->m_printMode, PrintMode::Preview); // posted, not yet run
    for (int i = 0; i < 50 && !bShown; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(bShown);
}

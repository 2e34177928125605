// The view's printing as the user drives it: the page offset dialog, the
// print commands' state and what the page callback draws per mode.
#include "test_app_support.h"

#include "model/Gbk.h"
#include "print/CPageOffsetDlg.h"
#include "print/CPrintSetupDlg.h"
#include "print/CPrinterSettings.h"
#include "print/PageOffset.h"
#include "print/PageOffsetSettings.h"
#include "print/PrintLayout.h"

#include "PdfCheck.h"

#include <QDialogButtonBox>
#include <QGraphicsView>
#include <QImage>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <functional>
#include <map>

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
void AnswerOffsetDialog(const QString& x, const QString& y, bool bExpectMessage, CSeenBox* seen,
                        QString* focus)
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
protected:
    CPrintService& Printing() const { return Frame()->Controller()->Printing(); }
    int OffsetX() const { return Printing().PageOffset().m_nMoveX; }
    int OffsetY() const { return Printing().PageOffset().m_nMoveY; }
};

TEST_F(PrintCommandsTest, PageOffsetDialog)
{
    for (const COffsetCase& c : kOffsetCases) {
        SCOPED_TRACE(c.szName);
        QFile::remove(SettingsFile());
        Printing().SetPageOffset({7, 8});
        CSeenBox seen;
        QString focus;
        AnswerOffsetDialog(c.typedX, c.typedY, c.szRefusedBox != nullptr, &seen, &focus);
        Printing().EditPageOffset(Frame());
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        if (c.szRefusedBox) {
            EXPECT_TRUE(seen.m_bShown);
            EXPECT_EQ(seen.m_strCaption, QStringLiteral("Tavromark"));
            if (QString(c.szName).startsWith(QStringLiteral("beyond")))
                EXPECT_TRUE(seen.m_strText.contains(QStringLiteral("-9999"))) << seen.m_strText.toStdString();
            else
                EXPECT_EQ(seen.m_strText, QStringLiteral("偏移量必须为数字"));
            EXPECT_EQ(focus, QString::fromLatin1(c.szRefusedBox));
            EXPECT_EQ(OffsetX(), 7);
            EXPECT_EQ(OffsetY(), 8);
            EXPECT_FALSE(settings.contains(SettingsKeys::kPageMoveX));
            continue;
        }
        EXPECT_FALSE(seen.m_bShown);
        EXPECT_EQ(settings.value(SettingsKeys::kPageMoveX).toString(), c.storedX);
        EXPECT_EQ(settings.value(SettingsKeys::kPageMoveY).toString(), c.storedY);
        EXPECT_EQ(OffsetX(), DecimalTextValue(c.storedX.toStdString()));
        EXPECT_EQ(OffsetY(), DecimalTextValue(c.storedY.toStdString()));
        const CPageOffset read = ReadPageOffset();
        EXPECT_EQ(read.m_nMoveX, OffsetX());
        EXPECT_EQ(read.m_nMoveY, OffsetY());
    }
}

// A value written by hand with a decimal comma reads by the same decimal rule
// as any other text: up to the first character that is not a digit.
TEST_F(PrintCommandsTest, HandEditedOffsetWithCommaReadsAsItsLeadingNumber)
{
    QFile::remove(SettingsFile());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TAVRO_TEST_DATA "/hand-edited-offset.ini"), SettingsFile()));
    const CPageOffset read = ReadPageOffset();
    QFile::remove(SettingsFile());
    EXPECT_EQ(read.m_nMoveX, 1);   // PageMoveX=1,5
    EXPECT_EQ(read.m_nMoveY, -12); // PageMoveY=-12,75 mm
}

TEST_F(PrintCommandsTest, UnwritableSettingsAreReportedAndTheOffsetStillApplies)
{
    QFile::remove(SettingsFile());
    ASSERT_TRUE(QDir().mkpath(SettingsFile())); // a directory where the file belongs
    CSeenBox seen;
    QString focus;
    AnswerOffsetDialog(QStringLiteral("120"), QStringLiteral("-40"), true, &seen, &focus);
    Printing().EditPageOffset(Frame());
    QDir(SettingsFile()).removeRecursively();
    EXPECT_TRUE(seen.m_bShown);
    EXPECT_TRUE(seen.m_strText.contains(QStringLiteral("无法保存"))) << seen.m_strText.toStdString();
    EXPECT_EQ(OffsetX(), 120);
    EXPECT_EQ(OffsetY(), -40);
}

TEST_F(PrintCommandsTest, CancelChangesNothing)
{
    Printing().SetPageOffset({5, 0});
    AnswerNextDialog<CPageOffsetDlg>([](CPageOffsetDlg* dlg) {
        EXPECT_EQ(dlg->findChild<QLineEdit*>(QStringLiteral("editOffsetX"))->text(), QStringLiteral("5"));
        EXPECT_EQ(dlg->findChild<QLineEdit*>(QStringLiteral("editOffsetX"))->maxLength(), 6);
        dlg->findChild<QLineEdit*>(QStringLiteral("editOffsetX"))->setText(QStringLiteral("99"));
        dlg->reject();
    });
    Printing().EditPageOffset(Frame());
    EXPECT_EQ(OffsetX(), 5);
}

TEST_F(PrintCommandsTest, PrintLabelsNeedsASelection)
{
    const QAction* print = Frame()->Action(QStringLiteral("actionPrintLabels"));
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->isEnabled()); // a new sheet is all selected
    View()->Model().Select(SelectionRule::None);
    EXPECT_FALSE(print->isEnabled());
    for (const char* szName :
         {"actionPrintBaseline", "actionPrintPreview", "actionPrintSetup", "actionPageOffset"})
        EXPECT_TRUE(Frame()->Action(QLatin1String(szName))->isEnabled()) << szName;
}

// The page routine on an image at 100 dpi: outlines in the preview and the
// baseline only.
TEST_F(PrintCommandsTest, PageCallbackDrawsPerMode)
{
    struct CCase
    {
        const char* szName;
        PrintMode mode;
        bool bOutlines;
    };
    const CCase cases[] = {
        {"labels", PrintMode::Labels, false},
        {"preview draws outlines", PrintMode::Preview, true},
        {"print from the preview: labels", PrintMode::None, false},
        {"baseline", PrintMode::Baseline, true},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.szName);
        QImage image(827, 1169, QImage::Format_RGB32);
        image.setDotsPerMeterX(3937);
        image.setDotsPerMeterY(3937);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            Printing().DrawPage(painter, View()->GetSheet(), c.mode);
        }
        const CPixelRect rc = LabelDeviceRect(View()->Format(), 0, 0, {}, {100, 100});
        const QColor edge = image.pixelColor(rc.left, (rc.top + rc.bottom) / 2);
        EXPECT_EQ(edge == QColor(0, 132, 0), c.bOutlines) << edge.name().toStdString();
    }
}

TEST_F(PrintCommandsTest, PreviewCommandShowsThePreview)
{
    CSheet sheet;
    ASSERT_EQ(ReadSheetFile(TAVRO_TEST_DATA "/preset-7x20-texts.tav", sheet), SheetReadResult::Ok);
    View()->SetSheet(sheet);
    View()->ShowNewSheet();
    Printing().SetPageOffset({150, 0}); // the preview shows the offset
    bool bShown = false;
    AnswerNextDialog<QPrintPreviewDialog>([&](QPrintPreviewDialog* dlg) {
        bShown = true;
        if (const QByteArray shot = qgetenv("TAVRO_PREVIEW_SHOT"); !shot.isEmpty()) {
            dlg->resize(900, 1000);
            QApplication::processEvents();
            dlg->grab().save(QString::fromLocal8Bit(shot));
        }
        dlg->reject();
    });
    ASSERT_TRUE(RunAction(*Frame()->Controller(), "actionPrintPreview"));
    EXPECT_FALSE(bShown); // posted, not yet run
    for (int i = 0; i < 50 && !bShown; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(bShown);
}

namespace {

// Whether the pixel is the ruler's green, or the ruler's green blended into
// the paper as a scaled line may be drawn.
bool IsRulerGreen(QRgb pixel)
{
    return qGreen(pixel) > qRed(pixel) + 30 && qGreen(pixel) > qBlue(pixel) + 30;
}

// Whether a green pixel lies within nReach pixels across the edge at (x, y)
// (bVertical: an edge running down, searched along x).
bool GreenNear(const QImage& image, int x, int y, bool bVertical, int nReach)
{
    for (int d = -nReach; d <= nReach; ++d) {
        const QPoint at = bVertical ? QPoint(x + d, y) : QPoint(x, y + d);
        if (image.rect().contains(at) && IsRulerGreen(image.pixel(at)))
            return true;
    }
    return false;
}

// The paper on a picture of a preview: the bounding box of its white pixels.
QRect PaperOn(const QImage& image)
{
    QRect paper;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) > 250 && qGreen(image.pixel(x, y)) > 250 &&
                qBlue(image.pixel(x, y)) > 250)
                paper |= QRect(x, y, 1, 1);
    return paper;
}

// The labels of `format` whose outline a picture of the printer's whole
// paper lacks: a label counts as outlined when each of its four edges shows
// green at a quarter, half and three quarters of its length (within two
// pixels, as rounding places a scaled line). The page is printed from the
// corner of the printable area. Labels named "row,column", from 0.
QStringList LabelsWithoutOutline(const QImage& image, const CPageFormat& format, const QPageLayout& layout)
{
    const QRect paper = PaperOn(image);
    const QRectF paperMm = layout.fullRect(QPageLayout::Millimeter);
    const QPointF origin = layout.paintRect(QPageLayout::Millimeter).topLeft();
    const double sx = paper.width() / paperMm.width();
    const double sy = paper.height() / paperMm.height();
    QStringList missing;
    for (int r = 0; r < format.m_nRows; ++r)
        for (int c = 0; c < format.m_nColumns; ++c) {
            const double dLeft = origin.x() + format.m_dLeftMargin + c * format.m_dColumnPitch;
            const double dTop = origin.y() + format.m_dTopMargin + r * format.m_dRowPitch;
            const int nLeft = paper.left() + int(dLeft * sx);
            const int nRight = paper.left() + int((dLeft + format.m_dLabelWidth) * sx);
            const int nTop = paper.top() + int(dTop * sy);
            const int nBottom = paper.top() + int((dTop + format.m_dLabelHeight) * sy);
            bool bOutlined = true;
            for (const double dAlong : {0.25, 0.5, 0.75}) {
                const int x = nLeft + int((nRight - nLeft) * dAlong);
                const int y = nTop + int((nBottom - nTop) * dAlong);
                bOutlined = bOutlined && GreenNear(image, nLeft, y, true, 2) &&
                            GreenNear(image, nRight, y, true, 2) && GreenNear(image, x, nTop, false, 2) &&
                            GreenNear(image, x, nBottom, false, 2);
            }
            if (!bOutlined)
                missing << QStringLiteral("%1,%2").arg(r).arg(c);
        }
    return missing;
}

// The whole scene of the preview's view, pages and all, drawn as the view
// draws it at its present zoom: what the user sees, scrolled anywhere.
QImage PreviewAsShown(QPrintPreviewWidget& preview)
{
    auto* view = preview.findChild<QGraphicsView*>();
    if (!view || !view->scene())
        return {};
    const QRect source = view->mapFromScene(view->scene()->sceneRect()).boundingRect();
    QImage image(source.size(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    view->render(&painter, QRectF(image.rect()), source);
    return image;
}

} // namespace

// The preview of 文件 → 打印预览 shows every label's outline at every zoom:
// the page is replayed scaled, where outlines drawn as fills one printer dot
// wide once rounded away.
TEST_F(PrintCommandsTest, PreviewShowsEveryOutlineAtEveryZoom)
{
    const CPageFormat format = View()->Format();
    struct CZoom
    {
        const char* szName;
        std::function<void(QPrintPreviewWidget&)> apply;
    };
    const CZoom zooms[] = {
        {"fit page", [](QPrintPreviewWidget& w) { w.fitInView(); }},
        {"fit width", [](QPrintPreviewWidget& w) { w.fitToWidth(); }},
        {"zoom 25 %", [](QPrintPreviewWidget& w) { w.setZoomFactor(0.25); }},
        {"zoom 60 %", [](QPrintPreviewWidget& w) { w.setZoomFactor(0.6); }},
        {"zoom 100 %", [](QPrintPreviewWidget& w) { w.setZoomFactor(1.0); }},
        {"zoom 230 %", [](QPrintPreviewWidget& w) { w.setZoomFactor(2.3); }},
    };
    bool bShown = false;
    AnswerNextDialog<QPrintPreviewDialog>([&](QPrintPreviewDialog* dlg) {
        bShown = true;
        dlg->resize(900, 1000);
        auto* preview = dlg->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        for (const CZoom& zoom : zooms) {
            SCOPED_TRACE(zoom.szName);
            zoom.apply(*preview);
            QApplication::processEvents();
            const QImage image = PreviewAsShown(*preview);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(LabelsWithoutOutline(image, format, dlg->printer()->pageLayout())
                          .join(QLatin1Char(' '))
                          .toStdString(),
                      "");
        }
        dlg->reject();
    });
    ASSERT_TRUE(RunAction(*Frame()->Controller(), "actionPrintPreview"));
    for (int i = 0; i < 50 && !bShown; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(bShown);
}

// Print setup chooses a printer and paper only: whatever Qt's print dialog
// offers for pages is hidden, nothing goes to a file, and OK reads 确定.
TEST_F(PrintCommandsTest, PrintSetupDialogHasNoPageChoices)
{
    QPrinter printer(QPrinter::HighResolution);
    CPrintSetupDlg dlg(&printer, View());
    dlg.open();
    QApplication::processEvents();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("打印设置"));
    EXPECT_FALSE(dlg.testOption(QAbstractPrintDialog::PrintToFile));
    EXPECT_FALSE(dlg.testOption(QAbstractPrintDialog::PrintPageRange));
    auto* buttons = dlg.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    for (const char* name : {"gbPrintRange", "pageSetCombo"}) {
        SCOPED_TRACE(name);
        auto* widget = dlg.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr); // Qt's names for them
        EXPECT_FALSE(widget->isVisible());
    }
    // Saved for a look when TAVRO_SCREENSHOT_DIR names a directory.
    if (const QString dir = qEnvironmentVariable("TAVRO_SCREENSHOT_DIR"); !dir.isEmpty()) {
        for (QPushButton* button : dlg.findChildren<QPushButton*>())
            if (button->text().startsWith(QStringLiteral("选项")))
                button->click(); // the options shown
        dlg.resize(dlg.sizeHint());
        EXPECT_TRUE(dlg.grab().save(dir + QStringLiteral("/print-setup-dialog.png")));
    }
    dlg.reject();
}

// With no printer at all there is nothing to set up: a message instead of an
// empty dialog, and nothing stored.
TEST_F(PrintCommandsTest, PrintSetupWithoutAPrinterSaysSo)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    const QString spd = QString::fromStdString(SettingsFilePath(kPrinterFileName).value_or(""));
    QFile::remove(spd);
    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::Ok, &seen);
    Printing().Setup(Frame());
    EXPECT_TRUE(seen.m_bShown);
    EXPECT_EQ(seen.m_strCaption, QStringLiteral("Tavromark"));
    EXPECT_EQ(seen.m_strText, kMsgNoPrinter);
    EXPECT_FALSE(QFile::exists(spd));
}

namespace {

// Ctrl+P on the sheet, the print dialog answered as a user would with its
// PDF file output: the file's path, empty where none arrived.
QString PrintToFileThroughTheDialog(CTAVROView* view, CMainFrame* frame, const CSheet& sheet,
                                    const QString& pdf)
{
    view->SetSheet(sheet);
    view->ShowNewSheet();
    frame->show();
    QApplication::setActiveWindow(frame);
    bool bAnswered = false;
    AnswerNextPrintDialogWithFile(pdf, [&bAnswered] { bAnswered = true; });
    QTest::keyClick(frame, Qt::Key_P, Qt::ControlModifier);
    for (int i = 0; i < 500 && !(bAnswered && QFile::exists(pdf)); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return bAnswered && QFile::exists(pdf) ? pdf : QString();
}

} // namespace

// The whole interactive path: Ctrl+P, the print dialog answered with its PDF
// file output, and the words on the page that arrives.
TEST_F(PrintCommandsTest, CtrlPPrintsThroughTheDialog)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    CSheet sheet;
    ASSERT_EQ(ReadSheetFile(TAVRO_TEST_DATA "/preset-7x20-texts.tav", sheet), SheetReadResult::Ok);
    const QString pdf =
        PrintToFileThroughTheDialog(View(), Frame(), sheet, PathOf(QStringLiteral("printed.pdf")));
    ASSERT_FALSE(pdf.isEmpty());

    const QString html = PdfText(pdf, {QStringLiteral("-bbox")});
    EXPECT_EQ(html.count(QStringLiteral("<page ")), 1);
    // Each selected label's Latin text ("W<row><column>") with its middle
    // inside its label; nothing of the unselected ones.
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::map<QString, QPointF> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words[m.captured(5)] = QPointF((m.captured(1).toDouble() + m.captured(3).toDouble()) / 2,
                                       (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2);
    }
    const CPageFormat& format = sheet.m_format;
    int nSelected = 0;
    for (int r = 0; r < format.m_nRows; ++r)
        for (int c = 0; c < format.m_nColumns; ++c) {
            const CLabelRecord& label = sheet.m_labels[r][c];
            if (label.m_strText.empty() || label.m_strText[0] != 'W')
                continue;
            SCOPED_TRACE(label.m_strText);
            const auto found = words.find(QString::fromStdString(label.m_strText));
            if (!label.m_bSelected) {
                EXPECT_EQ(found, words.end());
                continue;
            }
            ++nSelected;
            ASSERT_NE(found, words.end());
            // In points from the page's top-left corner.
            const CPixelRect rc = LabelDeviceRect(format, r, c, {}, {7200, 7200});
            EXPECT_GE(found->second.x(), rc.left / 100.0);
            EXPECT_LE(found->second.x(), rc.right / 100.0);
            EXPECT_GE(found->second.y(), rc.top / 100.0);
            EXPECT_LE(found->second.y(), rc.bottom / 100.0);
        }
    EXPECT_GT(nSelected, 0);
}

// A PDF printed to file through the dialog searches as the labels read,
// where a face draws the marker's character and another with one glyph.
TEST_F(PrintCommandsTest, PrintToFileSearchesAsTheLabelsRead)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    const struct
    {
        const char* text;
        const char* face;
        std::int32_t nWeight;
    } labels[] = {
        {"户外箱", "宋体", 400}, {"热缩胶管", "黑体", 400}, {"胶管", "黑体", 700},
        {"彐", "黑体", 400},     {"罒肦戸", "宋体", 700},   {"大门", "楷体", 400},
    };
    CSheet sheet;
    for (std::size_t i = 0; i < std::size(labels); ++i) {
        CLabelRecord& label = sheet.m_labels[i][0];
        label.m_strText = *Utf8ToGbk(labels[i].text);
        label.m_bSelected = 1;
        label.m_logFont.SetFaceName(*Utf8ToGbk(labels[i].face));
        label.m_logFont.lfWeight = labels[i].nWeight;
    }
    const QString pdf =
        PrintToFileThroughTheDialog(View(), Frame(), sheet, PathOf(QStringLiteral("words.pdf")));
    ASSERT_FALSE(pdf.isEmpty());
    const QString text = PdfText(pdf);
    for (const auto& label : labels)
        EXPECT_TRUE(text.contains(QString::fromUtf8(label.text)))
            << label.text << " in " << label.face << "\n"
            << text.toStdString();
}

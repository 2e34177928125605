// The preview of a wire-list job: any sheet at once, named by its number,
// drawn as the job prints it.
#include "../core/SampleSheets.h"
#include "print/CMarkerPreviewDlg.h"
#include "wirelist/MarkerSheets.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A 2 × 3 sheet of which the first label is selected: a job of n markers
// has 1 + ceil((n - 1) / 6) sheets.
CSheet FirstSelected()
{
    return samples::SheetSelecting(3, 2, [](int r, int c) { return r == 0 && c == 0; });
}

// Whether the viewport shows ink of a label's text (black) anywhere.
bool ShowsBlackInk(QWidget& view)
{
    const QImage image = view.grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 40)
                return true;
    return false;
}

} // namespace

TEST(MarkerPreview, JumpsToAnySheetAndNamesIt)
{
    const CSheet sheet = FirstSelected();
    const struct
    {
        const char* name;
        std::size_t nMarkers, nSheets;
        QString suffix; // counts written as the job dialog writes them
    } cases[] = {
        {"a few sheets", 13, 3, QStringLiteral(" 页，共 3 页")},
        {"a shop's long job", 1 + 6 * 7999, 8000, QStringLiteral(" 页，共 8,000 页")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CMarkerList markers{{"W1", static_cast<std::uint32_t>(c.nMarkers)}};
        CMarkerSheets sheets(sheet, markers, false);
        CMarkerPreviewDlg preview(sheets, {});
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
        auto* number = preview.findChild<QSpinBox*>(QStringLiteral("sheetNumber"));
        ASSERT_NE(number, nullptr);
        EXPECT_EQ(number->maximum(), static_cast<int>(c.nSheets));
        EXPECT_EQ(number->suffix().toStdString(), c.suffix.toStdString());
        EXPECT_EQ(preview.CurrentSheet(), 1u);

        number->setValue(static_cast<int>(c.nSheets));
        EXPECT_EQ(preview.CurrentSheet(), c.nSheets);
        preview.ShowSheet(2);
        EXPECT_EQ(number->value(), 2);
        auto* view = preview.findChild<QAbstractScrollArea*>();
        ASSERT_NE(view, nullptr);
        QTest::keyClick(view, Qt::Key_End);
        EXPECT_EQ(preview.CurrentSheet(), c.nSheets);
        EXPECT_TRUE(ShowsBlackInk(*view->viewport())) << "the last sheet's markers are drawn";
        QTest::keyClick(view, Qt::Key_PageUp);
        EXPECT_EQ(number->value(), static_cast<int>(c.nSheets - 1));
        QTest::keyClick(view, Qt::Key_Home);
        EXPECT_EQ(preview.CurrentSheet(), 1u);
    }
}

// A sheet number typed into 转到 and Enter: the preview shows that sheet and
// stays open; Enter never prints the job, whatever has the focus before.
TEST(MarkerPreview, EnterInTheSheetBoxGoesToTheSheet)
{
    const CSheet sheet = FirstSelected();
    const CMarkerList markers{{"W1", 1 + 6 * 7999}};
    CMarkerSheets sheets(sheet, markers, false);
    CMarkerPreviewDlg preview(sheets, {});
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    auto* number = preview.findChild<QSpinBox*>(QStringLiteral("sheetNumber"));
    ASSERT_NE(number, nullptr);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key == Qt::Key_Return ? "Return" : "Enter");
        number->setFocus();
        number->selectAll();
        QTest::keyClicks(number, QStringLiteral("5000"));
        QTest::keyClick(number, key);
        EXPECT_TRUE(preview.isVisible()) << "the preview closed";
        EXPECT_FALSE(preview.PrintChosen());
        EXPECT_EQ(preview.CurrentSheet(), 5000u);
        preview.ShowSheet(1);
    }
    for (QPushButton* button : preview.findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
    QTest::keyClick(&preview, Qt::Key_Return);
    EXPECT_TRUE(preview.isVisible()) << "Enter on the dialog printed";
    EXPECT_FALSE(preview.PrintChosen());
}

#include "text/CBatchTextDlg.h"
#include "text/CFontColorDlg.h"
#include "text/TextCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

// Runs `answer` on the modal window a command opens, then lets the command
// go on. The timer dies with the scope, so an answer never reaches a later test.
template <typename Command>
auto WithAnswer(const std::function<void(QWidget*)>& answer, Command command)
{
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* pModal = QApplication::activeModalWidget();
        ASSERT_NE(pModal, nullptr);
        answer(pModal);
        if (pModal->isVisible())
            QMetaObject::invokeMethod(pModal, "reject");
    });
    timer.start(0);
    return command();
}

struct TwoLabels
{
    TwoLabels()
    {
        m_labels[1].m_logFont.SetFaceName("DejaVu Sans");
        m_labels[1].m_logFont.lfWeight = 700;
        m_labels[1].m_nFontHeight = -20;
        m_labels[1].m_crText = 0x00FF0000;
        m_labels[2].m_bSelected = 0;
        for (CLabelRecord& label : m_labels)
            m_grid.push_back(&label);
    }
    std::array<CLabelRecord, 3> m_labels;
    LabelGrid m_grid;
};

} // namespace

TEST(TextCommands, FontDialogStartsFromTheFirstSelectedAndReturnsTheChoice)
{
    TwoLabels sheet;
    const auto changed = WithAnswer(
        [](QWidget* pModal) {
            auto* pDlg = qobject_cast<CFontColorDlg*>(pModal);
            ASSERT_NE(pDlg, nullptr);
            auto* pFaces = pDlg->findChild<QListWidget*>(QStringLiteral("listFaces"));
            EXPECT_EQ(pFaces->currentItem()->text(), QStringLiteral("宋体"));
            EXPECT_EQ(pDlg->findChild<QComboBox*>(QStringLiteral("comboSize"))->currentText(),
                      QStringLiteral("9"));
            pDlg->findChild<QComboBox*>(QStringLiteral("comboSize"))->setCurrentText(QStringLiteral("14"));
            pDlg->findChild<QCheckBox*>(QStringLiteral("checkUnderline"))->setChecked(true);
            pDlg->SetColor(QColor(255, 0, 0));
            pDlg->findChild<QPushButton*>(QStringLiteral("buttonOk"))->click();
        },
        [&] { return RunFont(nullptr, sheet.m_grid); });
    ASSERT_TRUE(changed);
    EXPECT_EQ(*changed, (ChangedLabels{0, 1}));
    for (int i : {0, 1}) {
        SCOPED_TRACE(i);
        const CLabelRecord& label = sheet.m_labels[i];
        EXPECT_EQ(label.m_logFont.FaceName(), "\xCB\xCE\xCC\xE5");
        EXPECT_EQ(label.m_logFont.lfWeight, 400);
        EXPECT_EQ(label.m_logFont.lfUnderline, 1);
        EXPECT_EQ(label.m_logFont.lfItalic, 0);
        EXPECT_EQ(label.m_nFontHeight, -19);
        EXPECT_EQ(label.m_logFont.lfHeight, -19);
        EXPECT_EQ(label.m_crText, 0x000000FFu);
    }
    EXPECT_EQ(sheet.m_labels[2].m_nFontHeight, -12);
}

TEST(TextCommands, FontDialogUnchangedKeepsTheFontAndCancelChangesNothing)
{
    TwoLabels sheet;
    sheet.m_labels[0].m_nFontHeight = -13; // a height no whole size gives
    const auto before = sheet.m_labels;
    const auto cancelled = WithAnswer([](QWidget* pModal) { QMetaObject::invokeMethod(pModal, "reject"); },
                                      [&] { return RunFont(nullptr, sheet.m_grid); });
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(sheet.m_labels, before);

    const auto changed = WithAnswer(
        [](QWidget* pModal) { pModal->findChild<QPushButton*>(QStringLiteral("buttonOk"))->click(); },
        [&] { return RunFont(nullptr, sheet.m_grid); });
    ASSERT_TRUE(changed);
    EXPECT_EQ(*changed, (ChangedLabels{0, 1}));
    EXPECT_EQ(sheet.m_labels[1].m_nFontHeight, -13);
    EXPECT_EQ(sheet.m_labels[1].m_logFont.FaceName(), "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(sheet.m_labels[1].m_crText, 0u);
    EXPECT_EQ(sheet.m_labels[0].m_logFont.lfWeight, 400);
}

TEST(TextCommands, FontDialogChoosesAnotherFace)
{
    TwoLabels sheet;
    const auto changed = WithAnswer(
        [](QWidget* pModal) {
            auto* pFaces = pModal->findChild<QListWidget*>(QStringLiteral("listFaces"));
            const auto items = pFaces->findItems(QStringLiteral("DejaVu Serif"), Qt::MatchExactly);
            ASSERT_FALSE(items.isEmpty());
            pFaces->setCurrentItem(items.first());
            auto* pStyles = pModal->findChild<QListWidget*>(QStringLiteral("listStyles"));
            const auto bold = pStyles->findItems(QStringLiteral("Bold Italic"), Qt::MatchExactly);
            ASSERT_FALSE(bold.isEmpty());
            pStyles->setCurrentItem(bold.first());
            pModal->findChild<QPushButton*>(QStringLiteral("buttonOk"))->click();
        },
        [&] { return RunFont(nullptr, sheet.m_grid); });
    ASSERT_TRUE(changed);
    EXPECT_EQ(sheet.m_labels[1].m_logFont.FaceName(), "DejaVu Serif");
    EXPECT_EQ(sheet.m_labels[1].m_logFont.lfWeight, 700);
    EXPECT_EQ(sheet.m_labels[1].m_logFont.lfItalic, 1);
    EXPECT_EQ(sheet.m_labels[1].m_nFontHeight, -12);
}

TEST(TextCommands, LabelSettingsTruncateToTenthsAndGoToEverySelectedLabel)
{
    TwoLabels sheet;
    sheet.m_labels[0].m_dMarginLeft = 1.05;
    sheet.m_labels[1].m_dMarginLeft = 3.0;
    const auto changed = WithAnswer(
        [](QWidget* pModal) {
            EXPECT_EQ(pModal->findChild<QLineEdit*>(QStringLiteral("editLeft"))->text(),
                      QStringLiteral("10"));
            pModal->findChild<QPushButton*>(QStringLiteral("buttonOk"))->click();
        },
        [&] { return RunLabelSettings(nullptr, sheet.m_grid, 17.0, 8.0); });
    ASSERT_TRUE(changed);
    EXPECT_EQ(*changed, (ChangedLabels{0, 1}));
    EXPECT_EQ(sheet.m_labels[0].m_dMarginLeft, 1.0);
    EXPECT_EQ(sheet.m_labels[1].m_dMarginLeft, 1.0);
}

TEST(TextCommands, ClearTextAsksFirst)
{
    TwoLabels sheet;
    for (CLabelRecord& label : sheet.m_labels)
        label.m_strText = "x";
    const auto answer = [](QMessageBox::StandardButton button) {
        return [button](QWidget* pModal) {
            auto* pBox = qobject_cast<QMessageBox*>(pModal);
            ASSERT_NE(pBox, nullptr);
            EXPECT_EQ(pBox->text(), QStringLiteral("是否清除所选的标签文字？"));
            EXPECT_EQ(pBox->windowTitle(), QStringLiteral("Tavromark"));
            pBox->button(button)->click();
        };
    };
    EXPECT_FALSE(WithAnswer(answer(QMessageBox::No), [&] { return RunClearText(nullptr, sheet.m_grid); }));
    EXPECT_EQ(sheet.m_labels[0].m_strText, "x");
    const auto changed =
        WithAnswer(answer(QMessageBox::Yes), [&] { return RunClearText(nullptr, sheet.m_grid); });
    ASSERT_TRUE(changed);
    EXPECT_EQ(*changed, (ChangedLabels{0, 1}));
    EXPECT_EQ(sheet.m_labels[1].m_strText, "");
    EXPECT_EQ(sheet.m_labels[2].m_strText, "x");
}

TEST(TextCommands, SetTextFillsFromTheBatchDialog)
{
    TwoLabels sheet;
    CBatchTextDlg dlg;
    dlg.m_strLastMiddle = "7";
    dlg.m_nMode = CBatchFillRequest::Number;
    const auto changed = WithAnswer(
        [](QWidget* pModal) { pModal->findChild<QPushButton*>(QStringLiteral("buttonOk"))->click(); },
        [&] { return RunSetText(dlg, sheet.m_grid); });
    ASSERT_TRUE(changed);
    EXPECT_EQ(sheet.m_labels[0].m_strText, "7");
    EXPECT_EQ(sheet.m_labels[1].m_strText, "8");
    EXPECT_EQ(sheet.m_labels[2].m_strText, "");
}

#include "model/Gbk.h"
#include "render/LabelRenderer.h"
#include "text/CBatchTextDlg.h"
#include "text/CFontColorDlg.h"
#include "text/CLabelTextDlg.h"
#include "text/CMarginDlg.h"
#include "text/DialogSupport.h"
#include "view/TextDirection.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Clicks `pButton` and answers the message box it opens, if any; returns the
// box's text, or an empty text when none opened.
QString ClickAndAnswer(QAbstractButton* pButton)
{
    QString text;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = pBox->windowTitle() == QStringLiteral("Tavromark") ? pBox->text()
                                                                      : QStringLiteral("wrong caption");
            pBox->accept();
        }
    });
    timer.start(0);
    pButton->click();
    return text;
}

// Types `text` a character at a time, also characters without a key of
// their own, as an input method delivers them.
void Type(QWidget* pWidget, const QString& text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(pWidget, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, pWidget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

template <typename T>
T* Child(QWidget* pParent, const char* name)
{
    T* pChild = pParent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(pChild, nullptr) << name;
    return pChild;
}

QAbstractButton* OkButton(QWidget* pDialog)
{
    for (auto* pButton : pDialog->findChildren<QPushButton*>())
        if (pButton->text() == QStringLiteral("确定"))
            return pButton;
    return nullptr;
}

// A batch dialog shown without its own event loop, so that a test can work
// its controls and press OK.
struct BatchDialog
{
    BatchDialog() { m_dlg.show(); }
    ~BatchDialog() { m_dlg.close(); }

    QPlainTextEdit* Prefix() { return Child<QPlainTextEdit>(&m_dlg, "editPrefix"); }
    QLineEdit* Middle() { return Child<QLineEdit>(&m_dlg, "editMiddle"); }
    QPlainTextEdit* Suffix() { return Child<QPlainTextEdit>(&m_dlg, "editSuffix"); }
    QLineEdit* Count() { return Child<QLineEdit>(&m_dlg, "editCount"); }
    QPlainTextEdit* Preview() { return Child<QPlainTextEdit>(&m_dlg, "editPreview"); }
    void SetMode(int nMode)
    {
        Child<QRadioButton>(&m_dlg, qPrintable(QStringLiteral("radioMode%1").arg(nMode)))->setChecked(true);
    }
    QString PressOk() { return ClickAndAnswer(OkButton(&m_dlg)); }

    CBatchTextDlg m_dlg;
};

} // namespace

TEST(TextBatchDialog, ValidationKeepsTheDialogOpenOnTheOffendingField)
{
    struct Case
    {
        const char* name;
        QString prefix, middle, suffix, count;
        int nMode;
        QString message;
        const char* focus;
    } const cases[] = {
        {"total over 50 bytes", QString(30, 'P'), QStringLiteral("1"), QString(10, QChar(0x6807)),
         QStringLiteral("9"), CBatchFillRequest::Number, QStringLiteral("总长度超过了50个字符，请重新输入！"),
         "editPrefix"},
        {"letter mode, two characters",
         {},
         QStringLiteral("AB"),
         {},
         QStringLiteral("9"),
         CBatchFillRequest::Letter,
         QStringLiteral("中间输入框的字符长度必须为1位，请重新输入！"),
         "editMiddle"},
        {"letter mode, empty middle",
         QStringLiteral("P"),
         {},
         {},
         QStringLiteral("9"),
         CBatchFillRequest::Letter,
         QStringLiteral("中间输入框的字符长度必须为1位，请重新输入！"),
         "editMiddle"},
        {"letter mode, not a letter",
         {},
         QStringLiteral("5"),
         {},
         QStringLiteral("9"),
         CBatchFillRequest::Letter,
         QStringLiteral("中间输入框的字符必须为a ~ z 或 A ~ Z之间的字符，请重新输入！"),
         "editMiddle"},
        {"empty count",
         QStringLiteral("A"),
         {},
         {},
         {},
         CBatchFillRequest::SameText,
         QStringLiteral("请键入一个整数。"),
         "editCount"},
        {"count 0",
         QStringLiteral("A"),
         {},
         {},
         QStringLiteral("0"),
         CBatchFillRequest::SameText,
         QStringLiteral("“请填入一个在1和999之间的整数。”"),
         "editCount"},
        {"count 1000",
         QStringLiteral("A"),
         {},
         {},
         QStringLiteral("1000"),
         CBatchFillRequest::SameText,
         QStringLiteral("“请填入一个在1和999之间的整数。”"),
         "editCount"},
        {"prefix code page 936 cannot hold",
         QStringLiteral("A\U0001F600"),
         {},
         {},
         QStringLiteral("9"),
         CBatchFillRequest::SameText,
         QStringLiteral("字符 U+1F600（\U0001F600） 无法保存在标签文字中，请删除或换用其他字符。"),
         "editPrefix"},
        {"middle over 5 bytes",
         {},
         QStringLiteral("123456"),
         {},
         QStringLiteral("9"),
         CBatchFillRequest::Number,
         QStringLiteral("“请填入不多于5个的字符。”"),
         "editMiddle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BatchDialog dialog;
        dialog.Prefix()->setPlainText(c.prefix);
        dialog.Middle()->setText(c.middle);
        dialog.Suffix()->setPlainText(c.suffix);
        dialog.Count()->setText(c.count);
        dialog.SetMode(c.nMode);
        EXPECT_EQ(dialog.PressOk(), c.message);
        EXPECT_TRUE(dialog.m_dlg.isVisible());
        EXPECT_EQ(dialog.m_dlg.result(), 0);
        ASSERT_NE(dialog.m_dlg.focusWidget(), nullptr);
        EXPECT_EQ(dialog.m_dlg.focusWidget()->objectName(), QLatin1String(c.focus));
        EXPECT_TRUE(dialog.m_dlg.m_strLastPrefix.empty());
    }
}

TEST(TextBatchDialog, OkHandsOverTheFillAndTheTextsReopenFromTheLastOk)
{
    CBatchTextDlg dlg;
    dlg.show();
    Child<QPlainTextEdit>(&dlg, "editPrefix")->setPlainText(QStringLiteral("线\nW-"));
    Child<QLineEdit>(&dlg, "editMiddle")->setText(QStringLiteral("01"));
    Child<QPlainTextEdit>(&dlg, "editSuffix")->setPlainText(QStringLiteral("/A"));
    Child<QLineEdit>(&dlg, "editCount")->setText(QStringLiteral("12"));
    Child<QRadioButton>(&dlg, "radioMode1")->setChecked(true);
    Child<QCheckBox>(&dlg, "checkSkip")->setChecked(false);
    EXPECT_EQ(Child<QPlainTextEdit>(&dlg, "editPreview")->toPlainText(), QStringLiteral("线\nW-01/A"));
    EXPECT_EQ(ClickAndAnswer(OkButton(&dlg)), QString());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());

    const CBatchFillRequest request = dlg.Request();
    EXPECT_EQ(request.m_strPrefix, "\xCF\xDF\r\nW-");
    EXPECT_EQ(request.m_strMiddle, "01");
    EXPECT_EQ(request.m_strSuffix, "/A");
    EXPECT_EQ(request.m_nMode, CBatchFillRequest::Number);
    EXPECT_FALSE(request.m_bSkipFilled);
    EXPECT_EQ(request.m_nCount, 12);

    // Changed and cancelled: the texts come back from the last OK, the
    // choices as last read.
    dlg.show();
    Child<QPlainTextEdit>(&dlg, "editPrefix")->setPlainText(QStringLiteral("X"));
    Child<QLineEdit>(&dlg, "editCount")->setText(QStringLiteral("7"));
    Child<QRadioButton>(&dlg, "radioMode0")->setChecked(true);
    Child<QLineEdit>(&dlg, "editMiddle")->setText(QStringLiteral("9"));
    dlg.reject();
    dlg.show();
    EXPECT_EQ(Child<QPlainTextEdit>(&dlg, "editPrefix")->toPlainText(), QStringLiteral("线\nW-"));
    EXPECT_EQ(Child<QLineEdit>(&dlg, "editMiddle")->text(), QStringLiteral("01"));
    EXPECT_EQ(Child<QLineEdit>(&dlg, "editCount")->text(), QStringLiteral("7"));
    EXPECT_TRUE(Child<QRadioButton>(&dlg, "radioMode0")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(&dlg, "checkSkip")->isChecked());
    EXPECT_EQ(Child<QPlainTextEdit>(&dlg, "editPreview")->toPlainText(), QStringLiteral("线\nW-01/A"));
    dlg.close();
}

TEST(TextBatchDialog, UpperCaseAffectsOnlyTyping)
{
    BatchDialog dialog;
    QLineEdit* pMiddle = dialog.Middle();
    pMiddle->setText(QStringLiteral("b"));
    pMiddle->setCursorPosition(1);
    QTest::keyClicks(pMiddle, QStringLiteral("a1"));
    EXPECT_EQ(pMiddle->text(), QStringLiteral("bA1"));
    Child<QCheckBox>(&dialog.m_dlg, "checkUpper")->click();
    QTest::keyClicks(pMiddle, QStringLiteral("c"));
    EXPECT_EQ(pMiddle->text(), QStringLiteral("bA1c"));

    QPlainTextEdit* pPrefix = dialog.Prefix();
    Child<QCheckBox>(&dialog.m_dlg, "checkUpper")->click();
    QTest::keyClicks(pPrefix, QStringLiteral("xy"));
    EXPECT_EQ(pPrefix->toPlainText(), QStringLiteral("XY"));
    EXPECT_EQ(dialog.Preview()->toPlainText(), QStringLiteral("XYbA1c"));
}

TEST(TextBatchDialog, TypingStopsAtTheByteLimit)
{
    BatchDialog dialog;
    QTest::keyClicks(dialog.Middle(), QStringLiteral("1234567"));
    EXPECT_EQ(dialog.Middle()->text(), QStringLiteral("12345"));
    dialog.Middle()->clear();
    Type(dialog.Middle(), QStringLiteral("标签文"));
    EXPECT_EQ(dialog.Middle()->text(), QStringLiteral("标签"));

    QPlainTextEdit* pPrefix = dialog.Prefix();
    Type(pPrefix, QString(24, QChar(0x6807)));
    QTest::keyClick(pPrefix, Qt::Key_Return); // a line break takes the last two bytes
    QTest::keyClicks(pPrefix, QStringLiteral("AB"));
    EXPECT_EQ(pPrefix->toPlainText(), QString(24, QChar(0x6807)) + QStringLiteral("\n"));
}

TEST(TextLabelDialog, EditsOneLabelsTextInCodePage936)
{
    CLabelTextDlg dlg;
    dlg.m_strLabelText = "A\r\n\xB1\xEA"; // A, line break, 标
    dlg.show();
    auto* pEdit = Child<QPlainTextEdit>(&dlg, "editText");
    EXPECT_EQ(pEdit->toPlainText(), QStringLiteral("A\n标"));
    QTest::keyClick(pEdit, Qt::Key_Return);
    QTest::keyClicks(pEdit, QStringLiteral("b"));
    EXPECT_EQ(ClickAndAnswer(OkButton(&dlg)), QString());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strLabelText, "A\r\n\xB1\xEA\r\nB");

    // A text from a file over the limit may be shortened but not lengthened,
    // and OK says how long it may be.
    dlg.m_strLabelText = std::string(52, 'x');
    dlg.show();
    QTest::keyClicks(pEdit, QStringLiteral("y"));
    EXPECT_EQ(pEdit->toPlainText().size(), 52);
    EXPECT_EQ(ClickAndAnswer(OkButton(&dlg)), QStringLiteral("“请填入不多于50个的字符。”"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), pEdit);
    pEdit->setPlainText(QStringLiteral("\U0001F600"));
    EXPECT_EQ(ClickAndAnswer(OkButton(&dlg)),
              QStringLiteral("字符 U+1F600（\U0001F600） 无法保存在标签文字中，请删除或换用其他字符。"));
    EXPECT_EQ(dlg.m_strLabelText, std::string(52, 'x'));
    dlg.reject();
}

// Ctrl+V and Shift+Insert paste the clipboard's plain text as if typed:
// line breaks kept, cut at the byte limit; long lines never wrap. The same
// in the label text dialog and the batch dialog's prefix and suffix.
TEST(TextDialogs, PasteTakesPlainTextWithinTheLimitAndLinesNeverWrap)
{
    CLabelTextDlg labelDlg;
    labelDlg.m_strLabelText = "";
    labelDlg.show();
    BatchDialog batch;
    QPlainTextEdit* edits[] = {Child<QPlainTextEdit>(&labelDlg, "editText"), batch.Prefix(), batch.Suffix()};
    const struct
    {
        const char* name;
        QString clipboard;
        QKeyCombination key;
        QString expected;
    } cases[] = {
        {"two lines", QStringLiteral("A-1\r\nB-2"), Qt::CTRL | Qt::Key_V, QStringLiteral("A-1\nB-2")},
        {"beyond the limit", QString(30, QChar(0x6807)), Qt::SHIFT | Qt::Key_Insert,
         QString(25, QChar(0x6807))},
        {"an empty clipboard", QString(), Qt::CTRL | Qt::Key_V, QString()},
    };
    for (QPlainTextEdit* pEdit : edits) {
        SCOPED_TRACE(pEdit->objectName().toStdString());
        EXPECT_EQ(pEdit->lineWrapMode(), QPlainTextEdit::NoWrap);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            pEdit->clear();
            QGuiApplication::clipboard()->setText(c.clipboard);
            QTest::keyClick(pEdit, c.key.key(), c.key.keyboardModifiers());
            EXPECT_EQ(pEdit->toPlainText(), c.expected);
        }
    }
    labelDlg.reject();
}

// A long line scrolls sideways with the cursor, and no box shows a
// horizontal scroll bar; the label text box alone has a vertical one.
TEST(TextDialogs, LongLinesScrollSidewaysWithoutAScrollBar)
{
    CLabelTextDlg labelDlg;
    labelDlg.m_strLabelText = "";
    labelDlg.show();
    BatchDialog batch;
    const struct
    {
        QPlainTextEdit* pEdit;
        bool bVerticalBar;
    } boxes[] = {
        {Child<QPlainTextEdit>(&labelDlg, "editText"), true},
        {batch.Prefix(), false},
        {batch.Suffix(), false},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.pEdit->objectName().toStdString());
        box.pEdit->clear();
        QTest::keyClicks(box.pEdit, QStringLiteral("W0123456789-ABCDEFGHIJ-0123456789-KLMNOPQ"));
        EXPECT_GT(box.pEdit->horizontalScrollBar()->value(), 0) << "the line follows the cursor";
        EXPECT_FALSE(box.pEdit->horizontalScrollBar()->isVisible());
        EXPECT_EQ(box.pEdit->verticalScrollBar()->isVisible(), box.bVerticalBar);
    }
    labelDlg.reject();
}

namespace {

struct MarginDialog
{
    explicit MarginDialog(const CMarginTenths& margins)
    {
        m_dlg.SetMargins(margins);
        m_dlg.show();
    }
    ~MarginDialog() { m_dlg.close(); }
    QLineEdit* Edit(const char* name) { return Child<QLineEdit>(&m_dlg, name); }
    QString PressOk() { return ClickAndAnswer(OkButton(&m_dlg)); }

    CMarginDlg m_dlg;
};

} // namespace

TEST(TextMarginDialog, ValidatesInOrderAndKeepsFocusOnTheField)
{
    struct Case
    {
        const char* name;
        CMarginTenths margins;
        const char* field; // set to `text` before OK, unless null
        const char* text;
        QString message;
        const char* focus;
    } const cases[] = {
        {"margin under 0.9 mm from a file",
         {8, 10, 10, 10, 0},
         nullptr,
         "",
         QStringLiteral("“请填入一个在9和100之间的整数。”"),
         "editLeft"},
        {"empty box", {10, 10, 10, 10, 0}, "editRight", "", QStringLiteral("请键入一个整数。"), "editRight"},
        {"margin 0 refused",
         {10, 10, 10, 10, 0},
         "editTop",
         "0",
         QStringLiteral("“请填入一个在9和100之间的整数。”"),
         "editTop"},
        {"margin over 100",
         {10, 10, 10, 101, 0},
         nullptr,
         "",
         QStringLiteral("“请填入一个在9和100之间的整数。”"),
         "editBottom"},
        {"line spacing over 100",
         {10, 10, 10, 10, 101},
         nullptr,
         "",
         QStringLiteral("“请填入一个在0和100之间的整数。”"),
         "editLineSpacing"},
        {"line spacing checked before bottom",
         {10, 10, 10, 5, 200},
         nullptr,
         "",
         QStringLiteral("“请填入一个在0和100之间的整数。”"),
         "editLineSpacing"},
        {"negative from a file",
         {10, -3, 10, 10, 0},
         nullptr,
         "",
         QStringLiteral("“请填入一个在9和100之间的整数。”"),
         "editTop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MarginDialog dialog(c.margins);
        if (c.field)
            dialog.Edit(c.field)->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(dialog.PressOk(), c.message);
        EXPECT_TRUE(dialog.m_dlg.isVisible());
        ASSERT_NE(dialog.m_dlg.focusWidget(), nullptr);
        EXPECT_EQ(dialog.m_dlg.focusWidget()->objectName(), QLatin1String(c.focus));
        EXPECT_EQ(dialog.m_dlg.Margins(), c.margins);
    }
}

TEST(TextMarginDialog, OkReturnsTheFieldsAndLineSpacingZeroIsAccepted)
{
    MarginDialog dialog({10, 10, 10, 10, 5});
    EXPECT_EQ(dialog.Edit("editLeft")->text(), QStringLiteral("10"));
    EXPECT_EQ(dialog.m_dlg.focusWidget(), dialog.Edit("editLeft"));
    dialog.Edit("editLeft")->setText(QStringLiteral("9"));
    dialog.Edit("editBottom")->setText(QStringLiteral("100"));
    dialog.Edit("editLineSpacing")->setText(QStringLiteral("0"));
    EXPECT_EQ(dialog.PressOk(), QString());
    EXPECT_EQ(dialog.m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_dlg.Margins(), (CMarginTenths{9, 10, 10, 100, 0}));
}

// On a 19 × 8 mm label the margins must leave room for text; the refusal
// names the label's size and puts the cursor in the first margin of the pair.
TEST(TextMarginDialog, MarginsThatLeaveNoRoomForTextAreRefused)
{
    const struct
    {
        const char* name;
        CMarginTenths margins;
        QString message;
        const char* focus;
    } cases[] = {
        {"left and right cross",
         {100, 10, 100, 10, 0},
         QStringLiteral("左边距与右边距之和必须小于标签宽度 19 mm，否则标签上没有放文字的地方。"),
         "editLeft"},
        {"top and bottom meet",
         {10, 40, 10, 40, 0},
         QStringLiteral("上边距与下边距之和必须小于标签高度 8 mm，否则标签上没有放文字的地方。"),
         "editTop"},
        {"a tenth of a millimetre left each way", {95, 40, 94, 39, 0}, QString(), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MarginDialog dialog({10, 10, 10, 10, 0});
        dialog.m_dlg.SetLabelSize(19.0, 8.0);
        dialog.Edit("editLeft")->setText(QString::number(c.margins.m_nLeft));
        dialog.Edit("editTop")->setText(QString::number(c.margins.m_nTop));
        dialog.Edit("editRight")->setText(QString::number(c.margins.m_nRight));
        dialog.Edit("editBottom")->setText(QString::number(c.margins.m_nBottom));
        EXPECT_EQ(dialog.PressOk(), c.message);
        if (c.focus) {
            EXPECT_TRUE(dialog.m_dlg.isVisible());
            EXPECT_EQ(dialog.m_dlg.focusWidget()->objectName(), QLatin1String(c.focus));
            EXPECT_EQ(dialog.m_dlg.Margins(), (CMarginTenths{10, 10, 10, 10, 0})) << "nothing taken";
        } else {
            EXPECT_EQ(dialog.m_dlg.result(), QDialog::Accepted);
            EXPECT_EQ(dialog.m_dlg.Margins(), c.margins);
        }
    }
}

TEST(TextMarginDialog, SpinButtonsRunFromZeroToOneHundredUpwardsDecreasing)
{
    MarginDialog dialog({10, 0, 100, 10, 0});
    auto* pLeftSpin = Child<CSpinButton>(&dialog.m_dlg, "editLeftSpin");
    pLeftSpin->UpButton()->click();
    EXPECT_EQ(dialog.Edit("editLeft")->text(), QStringLiteral("9"));
    pLeftSpin->DownButton()->click();
    pLeftSpin->DownButton()->click();
    EXPECT_EQ(dialog.Edit("editLeft")->text(), QStringLiteral("11"));
    Child<CSpinButton>(&dialog.m_dlg, "editTopSpin")->UpButton()->click();
    EXPECT_EQ(dialog.Edit("editTop")->text(), QStringLiteral("0"));
    Child<CSpinButton>(&dialog.m_dlg, "editRightSpin")->DownButton()->click();
    EXPECT_EQ(dialog.Edit("editRight")->text(), QStringLiteral("100"));
    QTest::keyClick(dialog.Edit("editBottom"), Qt::Key_Up);
    EXPECT_EQ(dialog.Edit("editBottom")->text(), QStringLiteral("9"));
    QTest::keyClick(dialog.Edit("editBottom"), Qt::Key_Down);
    EXPECT_EQ(dialog.Edit("editBottom")->text(), QStringLiteral("10"));
}

// Renders the dialogs for the documentation when TAVRO_DOCS_DIR names a folder.
TEST(TextDialogs, Render)
{
    const QString dir = qEnvironmentVariable("TAVRO_DOCS_DIR");
    CBatchTextDlg batch;
    batch.m_strLastPrefix = "W-";
    batch.m_strLastMiddle = "01";
    batch.m_strLastSuffix = "\r\n\xCF\xDF\xB6\xCE"; // line break, 线段
    batch.m_nMode = CBatchFillRequest::Number;
    batch.show();
    const QPixmap batchPicture = batch.grab();
    batch.close();
    CMarginDlg margins;
    margins.SetMargins({10, 10, 10, 10, 5});
    margins.show();
    const QPixmap marginPicture = margins.grab();
    margins.close();
    CLabelTextDlg label;
    label.m_strLabelText = "W-01\r\n\xCF\xDF\xB6\xCE";
    label.show();
    const QPixmap labelPicture = label.grab();
    label.close();
    CFontColorDlg font(FontChoiceOf(CLabelRecord()));
    font.SetColor(QColor(0, 0, 160));
    font.show();
    const QPixmap fontPicture = font.grab();
    font.close();
    EXPECT_FALSE(batchPicture.isNull());
    EXPECT_FALSE(marginPicture.isNull());
    EXPECT_FALSE(labelPicture.isNull());
    EXPECT_FALSE(fontPicture.isNull());
    if (!dir.isEmpty()) {
        EXPECT_TRUE(batchPicture.save(dir + QStringLiteral("/batch-text-dialog.png")));
        EXPECT_TRUE(marginPicture.save(dir + QStringLiteral("/margin-dialog.png")));
        EXPECT_TRUE(labelPicture.save(dir + QStringLiteral("/label-text-dialog.png")));
        EXPECT_TRUE(fontPicture.save(dir + QStringLiteral("/font-dialog.png")));
    }
}

namespace {

QListWidgetItem* ChooseFace(CFontColorDlg& dlg, const QString& face)
{
    auto* pFaces = dlg.findChild<QListWidget*>(QStringLiteral("listFaces"));
    const auto items = pFaces->findItems(face, Qt::MatchExactly);
    if (items.isEmpty())
        return nullptr;
    pFaces->setCurrentItem(items.first());
    return items.first();
}

} // namespace

TEST(TextFontDialog, StylesRunFromRegularByWeightAndSlant)
{
    CFontColorDlg dlg(FontChoiceOf(CLabelRecord()));
    auto* pStyles = dlg.findChild<QListWidget*>(QStringLiteral("listStyles"));
    for (const QString& face : {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif"),
                                QStringLiteral("Nimbus Sans"), QStringLiteral("Noto Sans CJK SC")}) {
        SCOPED_TRACE(face.toStdString());
        ASSERT_TRUE(ChooseFace(dlg, face));
        ASSERT_GT(pStyles->count(), 1);
        EXPECT_EQ(pStyles->currentRow(), 0) << "the regular style is chosen";
        int nLastWeight = 0;
        bool bLastSlanted = false;
        bool bOtherWidth = false;
        for (int i = 0; i < pStyles->count(); ++i) {
            const QString style = pStyles->item(i)->text();
            SCOPED_TRACE(style.toStdString());
            const QFont font = QFontDatabase::font(face, style, 12);
            const bool bSlanted = font.style() != QFont::StyleNormal;
            if (i == 0) {
                EXPECT_EQ(font.weight(), QFont::Normal);
                EXPECT_FALSE(bSlanted);
            }
            if (style.startsWith(QStringLiteral("Condensed"))) {
                bOtherWidth = true;
                continue;
            }
            EXPECT_FALSE(bOtherWidth) << "other widths come last";
            if (i > 1) {
                EXPECT_TRUE(font.weight() > nLastWeight ||
                            (font.weight() == nLastWeight && bSlanted >= bLastSlanted));
            }
            nLastWeight = font.weight();
            bLastSlanted = bSlanted;
        }
    }
}

TEST(TextFontDialog, ACondensedStyleIsStoredAsTheCondensedFamily)
{
    CFontColorDlg dlg(FontChoiceOf(CLabelRecord()));
    auto* pStyles = dlg.findChild<QListWidget*>(QStringLiteral("listStyles"));
    ASSERT_TRUE(ChooseFace(dlg, QStringLiteral("DejaVu Sans")));
    const auto condensed = pStyles->findItems(QStringLiteral("Condensed Bold Oblique"), Qt::MatchExactly);
    ASSERT_FALSE(condensed.isEmpty());
    pStyles->setCurrentItem(condensed.first());
    dlg.accept();
    CLogFont font = dlg.Choice().m_logFont;
    EXPECT_EQ(font.FaceName(), "DejaVu Sans Condensed");
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);

    // The label prints it narrower than the same style of normal width.
    font.lfHeight = -40;
    const qreal condensedWidth =
        QFontMetricsF(MakeLabelFont(font).m_font).horizontalAdvance(QStringLiteral("MMMM"));
    font.SetFaceName("DejaVu Sans");
    const qreal normalWidth =
        QFontMetricsF(MakeLabelFont(font).m_font).horizontalAdvance(QStringLiteral("MMMM"));
    EXPECT_LT(condensedWidth, normalWidth * 0.95);
}

TEST(TextFontDialog, ObliqueIsStoredAsItalicAndAnotherFaceKeepsTheStyle)
{
    CFontColorDlg dlg(FontChoiceOf(CLabelRecord()));
    auto* pStyles = dlg.findChild<QListWidget*>(QStringLiteral("listStyles"));
    ASSERT_TRUE(ChooseFace(dlg, QStringLiteral("DejaVu Sans")));
    const auto oblique = pStyles->findItems(QStringLiteral("Bold Oblique"), Qt::MatchExactly);
    ASSERT_FALSE(oblique.isEmpty());
    pStyles->setCurrentItem(oblique.first());
    ASSERT_TRUE(ChooseFace(dlg, QStringLiteral("DejaVu Serif")));
    EXPECT_EQ(pStyles->currentItem()->text(), QStringLiteral("Bold Italic")) << "the same weight and slant";
    ASSERT_TRUE(ChooseFace(dlg, QStringLiteral("DejaVu Sans")));
    dlg.accept();
    const CLogFont& font = dlg.Choice().m_logFont;
    EXPECT_EQ(font.FaceName(), "DejaVu Sans");
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfWidth, 0);
}

// A large size shows in the sample as far as it fits; the dialog's layout
// stays as it was, the face list as tall as before.
TEST(TextFontDialog, ALargeSizeLeavesTheLayoutAlone)
{
    CFontColorDlg dlg(FontChoiceOf(CLabelRecord()));
    dlg.show();
    auto* pFaces = dlg.findChild<QListWidget*>(QStringLiteral("listFaces"));
    const QSize dialogSize = dlg.size();
    const int nFacesHeight = pFaces->height();
    dlg.findChild<QComboBox*>(QStringLiteral("comboSize"))->setCurrentText(QStringLiteral("500"));
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.size(), dialogSize);
    EXPECT_EQ(pFaces->height(), nFacesHeight);
}

TEST(TextFontDialog, OffersTheChineseFacesByTheirStoredNames)
{
    CFontColorDlg dlg(FontChoiceOf(CLabelRecord()));
    auto* pFaces = dlg.findChild<QListWidget*>(QStringLiteral("listFaces"));
    const QStringList offered = {QStringLiteral("宋体"), QStringLiteral("新宋体"),
                                 QStringLiteral("黑体"), QStringLiteral("微软雅黑"),
                                 QStringLiteral("楷体"), QStringLiteral("仿宋")};
    for (int i = 0; i < offered.size(); ++i)
        EXPECT_EQ(pFaces->item(i)->text(), offered[i]);
    EXPECT_EQ(pFaces->currentItem()->text(), QStringLiteral("宋体")) << "the label's face";
    ASSERT_TRUE(ChooseFace(dlg, QStringLiteral("楷体")));
    auto* pSample = dlg.findChild<QLabel*>(QStringLiteral("labelSample"));
    EXPECT_EQ(pSample->font().families().first(), QStringLiteral("AR PL UKai CN"));
    dlg.accept();
    EXPECT_EQ(dlg.Choice().m_logFont.FaceName(), "\xBF\xAC\xCC\xE5");
}

TEST(TextFontDialog, KeepsTheLabelsDirection)
{
    // The face list shows the face without the vertical mark; whichever face
    // is chosen, the label keeps its direction and escapement.
    for (const TextDirection direction : kTextDirections) {
        for (const QString& face : {QStringLiteral("宋体"), QStringLiteral("DejaVu Sans")}) {
            SCOPED_TRACE(static_cast<int>(direction));
            SCOPED_TRACE(face.toStdString());
            CLabelRecord label;
            SetFontDirection(label.m_logFont, direction);
            CFontColorDlg dlg(FontChoiceOf(label));
            auto* pFaces = dlg.findChild<QListWidget*>(QStringLiteral("listFaces"));
            EXPECT_EQ(pFaces->currentItem()->text(), QStringLiteral("宋体"));
            EXPECT_TRUE(pFaces->findItems(QStringLiteral("@宋体"), Qt::MatchExactly).isEmpty());
            ASSERT_TRUE(ChooseFace(dlg, face));
            dlg.accept();
            const CLogFont& font = dlg.Choice().m_logFont;
            EXPECT_EQ(DirectionOfFont(font), direction);
            EXPECT_EQ(font.lfEscapement, label.m_logFont.lfEscapement);
            EXPECT_EQ(FaceWithoutVerticalMark(font.FaceName()), Utf8ToGbk(face.toStdString()).value());
        }
    }
}

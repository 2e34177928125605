#include "wirelist/CWireListDlg.h"

#include "test_app_support.h"

#include "../core/TinyMount.h"
#include "base/SystemErrorText.h"

#include "model/Gbk.h"
#include "print/PrintLayout.h"
#include "wirelist/WireListMessages.h"
#include "wirelist/WireListSettings.h"

#include "PdfCheck.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QString kXlsx = QStringLiteral(TAVRO_TEST_DATA "/wirelists/libreoffice.xlsx");

// A 3 × 2 sheet with labels (0,1) and (1,2) selected.
CSheet TwoSelected()
{
    CSheet sheet;
    sheet.m_format.m_nRows = 2;
    sheet.m_format.m_nColumns = 3;
    sheet.m_format.Recalc();
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.m_bSelected = 0;
    sheet.m_labels[0][1].m_bSelected = 1;
    sheet.m_labels[1][2].m_bSelected = 1;
    return sheet;
}

} // namespace

TEST(WireListDialog, TableCountAndFill)
{
    std::vector<std::string> applied;
    CWireListDlg dialog(kXlsx, TwoSelected(), 0, 0, [&](const std::vector<std::string>& texts) {
        applied = texts;
        return texts.size();
    });
    // The whole list is read once the dialog is up.
    EXPECT_EVENTUALLY_EQ(dialog.CountText(), QStringLiteral("共 6 个标签，需要 2 页"));
    auto* table = dialog.findChild<QTableView*>()->model();
    EXPECT_EQ(table->rowCount(), 7);
    EXPECT_EQ(table->columnCount(), 4);
    EXPECT_EQ(table->index(3, 2).data().toString(), QStringLiteral("K2:13\nK2:14"));
    EXPECT_EQ(table->headerData(3, Qt::Horizontal).toString(), QStringLiteral("D"));

    auto edits = dialog.findChildren<QLineEdit*>();
    dialog.findChild<QSpinBox*>(QStringLiteral("headerRows"))->setValue(1);
    EXPECT_EQ(dialog.CountText(), QStringLiteral("共 5 个标签，需要 2 页")); // 2 on the first, 6 on each next
    dialog.findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(2);
    EXPECT_EQ(dialog.CountText(), QStringLiteral("共 10 个标签，需要 3 页"));

    dialog.OnFill();
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[0], "W001");
    EXPECT_EQ(applied[1], "W001");
    EXPECT_EQ(dialog.StatusText(), QStringLiteral("已填入本页 2 个标签，还有 8 个未填入。"));

    edits.at(0)->setText(QStringLiteral("0"));
    EXPECT_TRUE(dialog.CountText().startsWith(QStringLiteral("列：")));
    edits.at(0)->setText(QStringLiteral("A,C"));
    EXPECT_EQ(dialog.CountText(), QStringLiteral("共 10 个标签，需要 3 页"));
}

// 两端不同: end A from some columns, end B from others, a pair per copy.
TEST(WireListDialog, BothEnds)
{
    std::vector<std::string> applied;
    CWireListDlg dialog(kXlsx, TwoSelected(), 0, 0, [&](const std::vector<std::string>& texts) {
        applied = texts;
        return texts.size();
    });
    EXPECT_EVENTUALLY_EQ(dialog.CountText(), QStringLiteral("共 6 个标签，需要 2 页"));
    auto* farEnd = dialog.findChild<QLineEdit*>(QStringLiteral("farEndColumns"));
    EXPECT_TRUE(farEnd->isHidden());
    dialog.findChild<QSpinBox*>(QStringLiteral("headerRows"))->setValue(1);
    dialog.findChild<QCheckBox*>(QStringLiteral("twoEnds"))->setChecked(true);
    EXPECT_FALSE(farEnd->isHidden());
    dialog.findChildren<QLineEdit*>().at(0)->setText(QStringLiteral("A,C"));
    farEnd->setText(QStringLiteral("A,B"));
    EXPECT_EQ(dialog.CountText(), QStringLiteral("共 10 个标签，需要 3 页"));
    dialog.OnFill();
    EXPECT_EQ(applied, (std::vector<std::string>{"W001\r\nK1:A1", "W001\r\nX1:1"}));
    farEnd->setText(QStringLiteral("1,"));
    EXPECT_TRUE(dialog.CountText().startsWith(QStringLiteral("B 端列：")));
    // A column past the list's last (it has 4) is refused, not printed blank.
    farEnd->setText(QStringLiteral("I"));
    EXPECT_EQ(dialog.CountText(), QStringLiteral("B 端列：第 9 列（I）超出了线号表，线号表只有 4 列。"));
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("打印(&P)..."))
            EXPECT_FALSE(button->isEnabled());
    farEnd->setText(QStringLiteral("B"));
    dialog.findChildren<QLineEdit*>().at(0)->setText(QStringLiteral("A,E"));
    EXPECT_EQ(dialog.CountText(), QStringLiteral("A 端列：第 5 列（E）超出了线号表，线号表只有 4 列。"));
}

// The encodings people meet, every one iconv's; automatic detection says
// what it chose, and another choice reads the list again.
TEST(WireListDialog, EncodingDetectedAndChosen)
{
    CWireListDlg dialog(QStringLiteral(TAVRO_TEST_DATA "/wirelists/windows-1252.csv"), TwoSelected(), 0, 0,
                        [](const std::vector<std::string>&) { return std::size_t{0}; });
    auto* encoding = dialog.findChild<QComboBox*>(QStringLiteral("encoding"));
    auto* table = dialog.findChild<QTableView*>()->model();
    EXPECT_EVENTUALLY_EQ(table->index(1, 1).data().toString(), QStringLiteral("Motorschütz"));
    EXPECT_EQ(encoding->itemText(0), QStringLiteral("自动（检测为 WINDOWS-1252）"));
    QStringList names;
    for (int i = 1; i < encoding->count(); ++i) {
        const QString name = encoding->itemData(i).toString();
        EXPECT_TRUE(IsKnownEncoding(name.toLatin1().constData())) << name.toStdString();
        names << name;
    }
    for (const char* met : {"GB18030", "BIG5", "UTF-8", "UTF-16", "WINDOWS-1250", "WINDOWS-1258",
                            "ISO-8859-2", "SHIFT_JIS", "EUC-KR", "KOI8-R"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(met))) << met;

    encoding->setCurrentIndex(encoding->findData(QStringLiteral("ISO-8859-2")));
    EXPECT_EQ(table->index(1, 1).data().toString(), QStringLiteral("Motorschütz"));
    EXPECT_EQ(encoding->itemText(0), QStringLiteral("自动"));
    encoding->setCurrentIndex(encoding->findData(QStringLiteral("KOI8-R")));
    EXPECT_EQ(table->index(1, 1).data().toString(), QStringLiteral("Motorsch\u042Dtz"));
}

// A GBK list whose only Chinese is a colour column, as Excel on Chinese
// Windows saves it: read as GB18030, the other plausible reading offered
// beside it, one click away.
TEST(WireListDialog, OtherPlausibleReadingOffered)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("colours.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(
        Utf8ToGbk("线号,起点,终点,颜色\r\nW001,X1:1,K1:A1,红\r\nW002,X1:2,K1:A2,黄绿\r\n").value()));
    file.close();
    CWireListDlg dialog(path, TwoSelected(), 0, 0,
                        [](const std::vector<std::string>&) { return std::size_t{0}; });
    dialog.show();
    auto* encoding = dialog.findChild<QComboBox*>(QStringLiteral("encoding"));
    auto* other = dialog.findChild<QPushButton*>(QStringLiteral("otherEncoding"));
    auto* table = dialog.findChild<QTableView*>()->model();
    EXPECT_EVENTUALLY_EQ(table->index(2, 3).data().toString(), QStringLiteral("黄绿"));
    EXPECT_EQ(encoding->itemText(0), QStringLiteral("自动（检测为 GB18030）"));
    ASSERT_TRUE(other->isVisible());
    EXPECT_EQ(other->text(), QStringLiteral("改用 BIG5（繁体中文）"));

    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(encoding->currentData().toString(), QStringLiteral("BIG5"));
    EXPECT_NE(table->index(2, 3).data().toString(), QStringLiteral("黄绿"));
    EXPECT_FALSE(other->isVisible());
    encoding->setCurrentIndex(0);
    EXPECT_EQ(table->index(2, 3).data().toString(), QStringLiteral("黄绿"));
    EXPECT_TRUE(other->isVisible());
}

// A hand-edited count of remembered lists (34 bytes: size=2147483647) is
// not walked through: the dialog opens with the lists the file holds.
TEST(WireListDialog, HugeRememberedCountOpens)
{
    const std::optional<std::string> path = SettingsFilePath(SettingsKeys::kFileName.toStdString());
    ASSERT_TRUE(path);
    const QString handover = QStringLiteral(TAVRO_TEST_DATA "/wirelists/handover.xlsx");
    {
        QFile ini(QString::fromStdString(*path));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[WireLists]\nsize=2147483647\n1\\Path=" + handover.toUtf8() + "\n1\\HeaderRows=2\n");
    }
    const std::vector<CListChoices> lists = RememberedLists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].m_nHeaderRows, 2u);
    CWireListDlg dialog(QStringLiteral(TAVRO_TEST_DATA "/wirelists/windows-1252.csv"), TwoSelected(), 0, 0,
                        [](const std::vector<std::string>&) { return std::size_t{0}; });
    auto* recent = dialog.findChild<QComboBox*>(QStringLiteral("recentLists"));
    ASSERT_EQ(recent->count(), 2);
    EXPECT_EQ(recent->itemData(1).toString(), handover);
    dialog.reject();
    QFile::remove(QString::fromStdString(*path));
}

// 编码 only where it does something: a text list, not a workbook; the
// numbering job (no list) shows no "线号表" row at all.
TEST(WireListDialog, OptionsShownWhereTheyApply)
{
    const auto noFill = [](const std::vector<std::string>&) { return std::size_t{0}; };
    const struct
    {
        const char* file;
        bool bEncoding;
    } lists[] = {{"libreoffice.xlsx", false}, {"libreoffice.ods", false}, {"windows-1252.csv", true}};
    for (const auto& list : lists) {
        SCOPED_TRACE(list.file);
        CWireListDlg dialog(QStringLiteral(TAVRO_TEST_DATA "/wirelists/") + QString::fromLatin1(list.file),
                            TwoSelected(), 0, 0, noFill);
        auto* table = dialog.findChild<QTableView*>()->model();
        EXPECT_EVENTUALLY_EQ(table->rowCount() > 0, true);
        EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("encoding"))->isEnabled(), list.bEncoding);
        dialog.reject();
    }

    CSequencePattern pattern;
    ASSERT_FALSE(CSequencePattern::Parse("X{1-3}", pattern));
    CWireListDlg numbering(pattern, QStringLiteral("X{1-3}"), TwoSelected(), 0, 0, noFill);
    numbering.show();
    for (QLabel* label : numbering.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().startsWith(QStringLiteral("线号表")) && label->isVisible());
    EXPECT_FALSE(numbering.findChild<QComboBox*>(QStringLiteral("recentLists"))->isVisible());
}

// The choices made for a list come back when it is opened again, each list
// its own; the recent lists are offered, and choosing one shows it with its
// choices.
TEST(WireListDialog, ChoicesAreRememberedPerList)
{
    if (const std::optional<std::string> settings = SettingsFilePath(SettingsKeys::kFileName.toStdString()))
        QFile::remove(QString::fromStdString(*settings));
    const QString handover = QStringLiteral(TAVRO_TEST_DATA "/wirelists/handover.xlsx");
    const QString european = QStringLiteral(TAVRO_TEST_DATA "/wirelists/windows-1252.csv");
    const auto noFill = [](const std::vector<std::string>&) { return std::size_t{0}; };
    {
        CWireListDlg dialog(handover, TwoSelected(), 0, 0, noFill);
        dialog.findChild<QSpinBox*>(QStringLiteral("headerRows"))->setValue(2);
        dialog.findChild<QCheckBox*>(QStringLiteral("twoEnds"))->setChecked(true);
        dialog.findChildren<QLineEdit*>().at(0)->setText(QStringLiteral("1,3"));
        dialog.findChild<QLineEdit*>(QStringLiteral("farEndColumns"))->setText(QStringLiteral("1,2"));
        dialog.findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(2);
        EXPECT_EVENTUALLY_EQ(dialog.CountText(), QStringLiteral("共 12 个标签，需要 3 页"));
        dialog.reject();
    }
    {
        CWireListDlg dialog(european, TwoSelected(), 0, 0, noFill);
        auto* encoding = dialog.findChild<QComboBox*>(QStringLiteral("encoding"));
        encoding->setCurrentIndex(encoding->findData(QStringLiteral("WINDOWS-1252")));
        dialog.reject();
    }
    EXPECT_EQ(RememberedListFolder(), QFileInfo(european).absolutePath());

    CWireListDlg again(handover, TwoSelected(), 0, 0, noFill);
    EXPECT_EVENTUALLY_EQ(again.CountText(), QStringLiteral("共 12 个标签，需要 3 页"));
    EXPECT_TRUE(again.findChild<QCheckBox*>(QStringLiteral("twoEnds"))->isChecked());
    EXPECT_EQ(again.findChild<QLineEdit*>(QStringLiteral("farEndColumns"))->text(), QStringLiteral("1,2"));
    auto* encoding = again.findChild<QComboBox*>(QStringLiteral("encoding"));
    EXPECT_EQ(encoding->currentData().toString(), QString());
    auto* recent = again.findChild<QComboBox*>(QStringLiteral("recentLists"));
    ASSERT_EQ(recent->count(), 2);
    EXPECT_EQ(recent->itemData(0).toString(), handover);
    EXPECT_EQ(recent->itemData(1).toString(), european);

    recent->setCurrentIndex(1);
    Q_EMIT recent->activated(1);
    EXPECT_EQ(again.windowTitle(), QStringLiteral("导入线号表 - windows-1252.csv"));
    EXPECT_EQ(encoding->currentData().toString(), QStringLiteral("WINDOWS-1252"));
    EXPECT_FALSE(again.findChild<QCheckBox*>(QStringLiteral("twoEnds"))->isChecked());
    EXPECT_EQ(again.findChild<QSpinBox*>(QStringLiteral("headerRows"))->value(), 0);
    EXPECT_EQ(again.CountText(), QStringLiteral("共 4 个标签，需要 2 页"));
    // Going back finds the first list's choices as they were left.
    Q_EMIT recent->activated(recent->findData(handover));
    EXPECT_EQ(again.CountText(), QStringLiteral("共 12 个标签，需要 3 页"));
}

TEST(WireListDialog, RowThatDoesNotFitIsNamed)
{
    const struct
    {
        const char* name;
        QByteArray secondRow;
        QString message;
    } cases[] = {
        {"too long", QByteArray(51, 'x'),
         QStringLiteral("第 2 行：线号有 51 个字节，一个标签最多 50 个字节。")},
        {"Thai letter", QByteArray("W\xE0\xB8\x81"),
         QStringLiteral("第 2 行：字符 U+0E01（ก） 不能打印在标签上。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.csv"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("W1\n" + c.secondRow + "\n");
        file.close();
        CWireListDlg dialog(path, TwoSelected(), 0, 0,
                            [](const std::vector<std::string>&) { return std::size_t{0}; });
        EXPECT_EVENTUALLY_EQ(dialog.CountText(), c.message);
    }
}

// A list of a million columns opens at once: the table shows the first 64
// and says how many more there are; a cell of megabytes shows cut.
TEST(WireListDialog, WideListsShowTheirFirstColumns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wide.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray row = QByteArray(2 << 20, 'x') + ",";
    for (int i = 1; i < 1000000; ++i)
        row += "W,";
    row.chop(1);
    file.write(row + "\n");
    file.close();

    CWireListDlg dialog(path, TwoSelected(), 0, 0,
                        [](const std::vector<std::string>&) { return std::size_t{0}; });
    auto* table = dialog.findChild<QTableView*>()->model();
    EXPECT_EVENTUALLY_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->columnCount(), 64);
    EXPECT_EQ(table->headerData(63, Qt::Horizontal).toString(), QStringLiteral("BL"));
    EXPECT_EQ(table->index(0, 1).data().toString(), QStringLiteral("W"));
    const QString first = table->index(0, 0).data().toString();
    EXPECT_LT(first.size(), 1100);
    EXPECT_TRUE(first.endsWith(QChar(0x2026)));
    bool bNoteShown = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == QStringLiteral("只显示前 64 列，另有 999,936 列未显示。"))
            bNoteShown = !label->isHidden();
    EXPECT_TRUE(bNoteShown);
}

// Why a list cannot be read is said in Chinese in the program, with its
// facts; the command line keeps its English reasons.
TEST(WireListDialog, ProblemsAreSaidInChinese)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("wl.fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct
    {
        const char* name;
        QByteArray bytes; // the list; none for the FIFO
        QString message;
    } cases[] = {
        {"empty", "", QStringLiteral("无法读取线号表：文件是空的。")},
        {"open quote", "W1\n\"W2\n", QStringLiteral("无法读取线号表：第 2 行：引号中的单元格没有结束。")},
        {"binary", QByteArray("a\0b", 3),
         QStringLiteral("无法读取线号表：文件中是二进制数据，不是文字或工作簿。")},
        {"a FIFO", {}, QStringLiteral("无法读取线号表：这不是普通文件（而是管道、设备或套接字）。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString path = fifo;
        if (std::string_view(c.name) != "a FIFO") {
            path = dir.filePath(QStringLiteral("list.csv"));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        CWireListDlg dialog(path, TwoSelected(), 0, 0,
                            [](const std::vector<std::string>&) { return std::size_t{0}; });
        EXPECT_EVENTUALLY_EQ(dialog.CountText(), c.message);
    }

    // Every kind has its own words, none of them English.
    using Kind = CWireListProblem::Kind;
    for (int n = static_cast<int>(Kind::Empty); n <= static_cast<int>(Kind::TooManySharedStrings); ++n) {
        CWireListProblem problem{static_cast<Kind>(n)};
        problem.m_strPart = "content.xml";
        problem.m_nErrno = ENOENT;
        const QString text = WireListProblemText(problem);
        SCOPED_TRACE(n);
        EXPECT_FALSE(text.isEmpty());
        EXPECT_FALSE(text.contains(QStringLiteral("the "))) << text.toStdString();
        EXPECT_NE(EnglishText(problem), "");
    }
}

TEST(WireListPrint, PdfPerSheetAndCancelLeavesNoFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wires.pdf"));
    const CSheet sheet = TwoSelected();
    const CMarkerList markers{{"W1", 10}}; // 2 + 6 + 2: three sheets

    CMarkerSheets all(sheet, markers, false);
    QString error;
    std::vector<std::size_t> seen;
    ASSERT_EQ(ExportMarkerSheetsPdf(path, all, PrintMode::Labels, {}, error,
                                    [&](std::size_t nDone, std::size_t nTotal, std::size_t nSheet) {
                                        EXPECT_EQ(nTotal, 3u);
                                        EXPECT_EQ(nSheet, nDone);
                                        seen.push_back(nDone);
                                        return true;
                                    }),
              SheetsPdfResult::Written)
        << error.toStdString();
    EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2, 3}));
    ExpectValidPdf(path);
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray before = written.readAll();
    written.close();
    EXPECT_EQ(before.count("/Type /Page") - before.count("/Type /Pages"), 3) << "three pages";

    // Cancelled on the second sheet: the earlier PDF stays as it was and no
    // temporary file is left beside it.
    CMarkerSheets again(sheet, markers, false);
    EXPECT_EQ(ExportMarkerSheetsPdf(path, again, PrintMode::Labels, {}, error,
                                    [](std::size_t nDone, std::size_t, std::size_t) { return nDone < 2; }),
              SheetsPdfResult::Cancelled);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("wires.pdf")});

    // Why a PDF cannot be written is said in Chinese, as for documents.
    CMarkerSheets nowhere(sheet, markers, false);
    EXPECT_EQ(ExportMarkerSheetsPdf(dir.filePath(QStringLiteral("gone/wires.pdf")), nowhere,
                                    PrintMode::Labels, {}, error),
              SheetsPdfResult::Failed);
    EXPECT_EQ(error, QStringLiteral("文件或文件夹不存在。"));

    const QString fresh = dir.filePath(QStringLiteral("fresh.pdf"));
    CMarkerSheets third(sheet, markers, false);
    EXPECT_EQ(ExportMarkerSheetsPdf(fresh, third, PrintMode::Labels, {}, error,
                                    [](std::size_t, std::size_t, std::size_t) { return false; }),
              SheetsPdfResult::Cancelled);
    EXPECT_FALSE(QFile::exists(fresh));
}

// On a full disk a job stops drawing at the first failed write, says why,
// and leaves no file.
TEST(WireListPrint, FullDiskStopsTheJob)
{
    QTemporaryDir dir;
    CTinyMount tmpfs(dir.path().toStdString(), "128k");
    if (!tmpfs.Mounted())
        GTEST_SKIP() << "needs root and a tmpfs mount";
    CSequencePattern pattern;
    // Two labels on the first sheet, six on each next: 8,001 sheets.
    ASSERT_FALSE(CSequencePattern::Parse("W{1-48002}", pattern));
    const CSheet sheet = TwoSelected();
    const CMarkerList markers = pattern.Markers();
    CMarkerSheets sheets(sheet, markers, false);
    std::size_t nDrawn = 0;
    std::size_t nTotal = 0;
    QString error;
    EXPECT_EQ(ExportMarkerSheetsPdf(dir.filePath(QStringLiteral("wires.pdf")), sheets, PrintMode::Labels, {},
                                    error,
                                    [&](std::size_t nDone, std::size_t nSheets, std::size_t) {
                                        nDrawn = nDone;
                                        nTotal = nSheets;
                                        return true;
                                    }),
              SheetsPdfResult::Failed);
    EXPECT_EQ(error, SystemErrorText(ENOSPC));
    EXPECT_EQ(nTotal, 8001u);
    EXPECT_LT(nDrawn, nTotal / 4) << "sheets drawn after the disk was full";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

// 打印… to a PDF file cancelled in its progress dialog leaves no file, or the
// file that was there before byte for byte, as 导出 PDF does.
TEST(WireListPrint, CancelledPrintToFileLeavesNoFile)
{
    QTemporaryDir dir;
    const std::string text = "W{1-4000}"; // two labels a sheet: 2,000 sheets
    CSequencePattern pattern;
    ASSERT_FALSE(CSequencePattern::Parse(text, pattern));
    CWireListDlg dialog(pattern, QString::fromStdString(text), TwoSelected(), 0, 0,
                        [](const std::vector<std::string>&) { return std::size_t{0}; });
    QPushButton* print = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("打印(&P)..."))
            print = button;
    ASSERT_NE(print, nullptr);

    const struct
    {
        const char* name;
        QByteArray before; // empty: no file before
    } cases[] = {
        {"new", {}},
        {"earlier", "%PDF-1.4\nan earlier job\n%%EOF\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
        if (!c.before.isEmpty()) {
            QFile earlier(path);
            ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
            earlier.write(c.before);
        }
        bool bCancelled = false;
        AnswerNextPrintDialogWithFile(path, [&bCancelled] {
            AnswerNextDialog<QProgressDialog>([&bCancelled](QProgressDialog* progress) {
                progress->cancel();
                bCancelled = true;
            });
        });
        print->click();
        EXPECT_TRUE(bCancelled);
        QFile after(path);
        if (c.before.isEmpty()) {
            EXPECT_FALSE(after.exists());
        } else {
            ASSERT_TRUE(after.open(QIODevice::ReadOnly));
            EXPECT_EQ(after.readAll(), c.before);
        }
    }
    // No temporary file is left beside them either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("earlier.pdf")});
}

// A list opened or dropped like a document opens the import dialog over the
// current document, which stays as it was.
TEST_F(AppTest, AListOpensTheImportDialog)
{
    Doc()->SetPathName(PathOf(QStringLiteral("current.tav")));
    const struct
    {
        const char* name;
        QString list;
        std::function<void(const QString&)> open;
    } cases[] = {
        {"dropped", QStringLiteral(TAVRO_TEST_DATA "/wirelists/libreoffice.xlsx"),
         [this](const QString& path) {
             QMimeData data;
             data.setUrls({QUrl::fromLocalFile(path)});
             QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(Frame(), &enter);
             QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(Frame(), &drop);
         }},
        {"opened", QStringLiteral(TAVRO_TEST_DATA "/wirelists/handover.ods"),
         [this](const QString& path) {
             AnswerNextFileDialog(path);
             Frame()->Controller()->Action(QStringLiteral("actionFileOpen"))->trigger();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString title;
        AnswerNextDialog<CWireListDlg>([&title](CWireListDlg* dialog) { title = dialog->windowTitle(); });
        c.open(c.list);
        EXPECT_EVENTUALLY_EQ(title, QStringLiteral("导入线号表 - ") + QFileInfo(c.list).fileName());
        EXPECT_EQ(Doc()->GetPathName(), PathOf(QStringLiteral("current.tav")));
    }
    EXPECT_TRUE(IsWireListFileName("/home/Wires.CSV"));
    EXPECT_FALSE(IsWireListFileName("/home/csv.d/wires"));
    EXPECT_FALSE(IsWireListFileName("sheet.tav"));
}

#include "model/Gbk.h"
#include "sheets/CDocTypeDlg.h"
#include "sheets/CPageSetupDlg.h"
#include "sheets/SheetTypeList.h"
#include "sheets/TemplateCollection.h"
#include "test_app_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <fstream>

namespace {

template <class T>
T* Child(QWidget* parent, const char* name)
{
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

QStringList ListTexts(QWidget* dlg)
{
    QStringList texts;
    auto* list = Child<QListWidget>(dlg, "listTypes");
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList SelectedTexts(QWidget* dlg)
{
    QStringList texts;
    auto* list = Child<QListWidget>(dlg, "listTypes");
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            texts << list->item(i)->text();
    return texts;
}

bool Enabled(QWidget* dlg, const char* name)
{
    return Child<QPushButton>(dlg, name)->isEnabled();
}

QString Cell(QTableView* view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

CPageFormat Format(std::int32_t nColumns, std::int32_t nRows)
{
    CPageFormat format;
    format.m_nColumns = nColumns;
    format.m_nRows = nRows;
    format.Recalc();
    return format;
}

const char* const kInstalledShare = "/usr/share";

// Each test has its own settings directory and its own idea of where the
// collection is installed.
class SheetTemplates : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_DIRS"})
            m_saved.emplace_back(name, qgetenv(name));
        UseSettings(QStringLiteral("a"));
    }
    void TearDown() override
    {
        for (const auto& [name, value] : m_saved)
            qputenv(name, value);
    }

    // Settings directories under the test's own directory, one per name.
    void UseSettings(const QString& strName)
    {
        qputenv("XDG_CONFIG_HOME", (m_dir.path() + QLatin1Char('/') + strName).toUtf8());
    }
    void UseData(const QByteArray& dirs) { qputenv("XDG_DATA_DIRS", dirs); }
    static bool CollectionInstalled()
    {
        return !ReadTemplateCollection({{std::string(kInstalledShare) + "/libglabels-3.0/templates"}, {}})
                    .m_templates.empty();
    }

    QTemporaryDir m_dir;
    std::vector<std::pair<const char*, QByteArray>> m_saved;
};

} // namespace

TEST_F(SheetTemplates, SearchChooseAndKeepInTheLibrary)
{
    if (!CollectionInstalled())
        GTEST_SKIP() << "no template collection (apt install glabels-data)";
    UseData(kInstalledShare);
    const QString strShots = qEnvironmentVariable("TAVRO_SCREENSHOT_DIR");
    CDocTypeDlg dlg;
    AnswerNextDialog<CDocTypeDlg>([&](CDocTypeDlg* d) {
        Child<QTabWidget>(d, "tabsSource")->setCurrentIndex(1);
        EXPECT_FALSE(Enabled(d, "btnOK")) << "OK takes a library entry";
        auto* view = Child<QTableView>(d, "viewTemplates");
        auto* search = Child<QLineEdit>(d, "editTemplateSearch");
        EXPECT_TRUE(view->isVisibleTo(d));
        EXPECT_GT(view->model()->rowCount(), 800);
        EXPECT_EQ(d->focusWidget(), search);

        QTest::keyClicks(search, QStringLiteral("avery 66.7x25.4"));
        int nRow = -1;
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            EXPECT_EQ(Cell(view, r, 0), QStringLiteral("Avery"));
            EXPECT_EQ(Cell(view, r, 2), QStringLiteral("66.67 × 25.4"));
            if (Cell(view, r, 1) == QStringLiteral("5160"))
                nRow = r;
        }
        ASSERT_GE(nRow, 0);
        ASSERT_LT(nRow + 1, view->model()->rowCount()) << "5160 and its aliases";
        EXPECT_EQ(Cell(view, nRow, 3), QStringLiteral("3 × 10"));
        EXPECT_EQ(Cell(view, nRow, 4), QStringLiteral("US Letter"));
        EXPECT_EQ(Cell(view, nRow, 5), QStringLiteral("Address Labels"));
        EXPECT_TRUE(Child<QLabel>(d, "labelTemplateCount")->text().startsWith(QStringLiteral("找到 ")));
        if (!strShots.isEmpty()) {
            EXPECT_TRUE(d->grab().save(strShots + QStringLiteral("/sheet-type-templates.png")));
        }

        // The arrow keys move through the list from the search box, and
        // Enter there chooses.
        view->selectRow(nRow + 1);
        QTest::keyClick(search, Qt::Key_Up);
        EXPECT_EQ(view->currentIndex().row(), nRow);
        AnswerNextDialog<CPageSetupDlg>([](CPageSetupDlg* setup) {
            EXPECT_EQ(setup->windowTitle(), QStringLiteral("设定页面 - 添加"));
            EXPECT_EQ(Child<QLineEdit>(setup, "editName")->text(), QStringLiteral("Avery 5160"));
            EXPECT_EQ(Child<QLineEdit>(setup, "editPageWidth")->text(), QStringLiteral("21590"));
            EXPECT_EQ(Child<QLineEdit>(setup, "editLeftMargin")->text(), QStringLiteral("396"));
            EXPECT_EQ(Child<QLineEdit>(setup, "editLabelWidth")->text(), QStringLiteral("6667"));
            EXPECT_EQ(Child<QLineEdit>(setup, "editRows")->text(), QStringLiteral("10"));
            Child<QLineEdit>(setup, "editName")->setText(QStringLiteral("地址标签 5160"));
            QTest::mouseClick(Child<QPushButton>(setup, "btnOK"), Qt::LeftButton);
        });
        QTest::keyClick(search, Qt::Key_Return);

        EXPECT_EQ(Child<QTabWidget>(d, "tabsSource")->currentIndex(), 0);
        EXPECT_EQ(SelectedTexts(d), QStringList{QStringLiteral("地址标签 5160")});
        QTest::mouseClick(Child<QPushButton>(d, "btnOK"), Qt::LeftButton);
    });
    ASSERT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strName, *Utf8ToGbk("地址标签 5160"));
    EXPECT_EQ(dlg.m_format.m_nColumns, 3);
    EXPECT_DOUBLE_EQ(dlg.m_format.m_dLabelWidth, 66.67);
    EXPECT_DOUBLE_EQ(dlg.m_format.m_dPageHeight, 279.4);

    CSheetTypeList library;
    ASSERT_EQ(LoadTypeList(library), 0);
    ASSERT_EQ(library.size(), 4u); // the three presets and the new entry
    EXPECT_EQ(library[3].m_strName, dlg.m_strName);
    EXPECT_EQ(library[3].m_format, dlg.m_format);
}

TEST_F(SheetTemplates, WithoutTheCollectionTheDialogSaysHowToInstallIt)
{
    UseData(m_dir.path().toUtf8() + "/nothing-installed");
    CDocTypeDlg dlg;
    AnswerNextDialog<CDocTypeDlg>([](CDocTypeDlg* d) {
        Child<QTabWidget>(d, "tabsSource")->setCurrentIndex(1);
        auto* missing = Child<QLabel>(d, "labelTemplatesMissing");
        EXPECT_TRUE(missing->isVisibleTo(d));
        EXPECT_TRUE(missing->text().contains(QStringLiteral("sudo apt install glabels-data")));
        EXPECT_FALSE(Child<QTableView>(d, "viewTemplates")->isVisibleTo(d));
        EXPECT_FALSE(Enabled(d, "btnUseTemplate"));
        EXPECT_FALSE(Enabled(d, "btnOK"));
        d->reject();
    });
    dlg.exec();
}

TEST_F(SheetTemplates, TheUsersOwnTemplatesAreListed)
{
    UseData(m_dir.path().toUtf8() + "/nothing-installed");
    const std::string strUserDir = (m_dir.path() + QStringLiteral("/a/libglabels/templates")).toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(strUserDir)));
    std::ofstream(strUserDir + "/shop.template") << R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Shop" part="W-12" size="Other" width="150mm" height="100mm" description="Wire markers">
    <Label-rectangle id="0" width="20mm" height="8mm">
      <Layout nx="6" ny="10" x0="7mm" y0="6mm" dx="23mm" dy="9mm"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>
)";
    CDocTypeDlg dlg;
    AnswerNextDialog<CDocTypeDlg>([](CDocTypeDlg* d) {
        Child<QTabWidget>(d, "tabsSource")->setCurrentIndex(1);
        auto* view = Child<QTableView>(d, "viewTemplates");
        ASSERT_EQ(view->model()->rowCount(), 1);
        EXPECT_EQ(Cell(view, 0, 1), QStringLiteral("W-12"));
        EXPECT_EQ(Cell(view, 0, 2), QStringLiteral("20 × 8"));
        EXPECT_EQ(Cell(view, 0, 4), QStringLiteral("150 × 100")) << "a page of its own";
        d->reject();
    });
    dlg.exec();
}

// A folder of more templates than are read says so beside the count.
TEST_F(SheetTemplates, TooManyTemplatesAreSaidBesideTheCount)
{
    UseData(m_dir.path().toUtf8() + "/nothing-installed");
    const std::string strUserDir = (m_dir.path() + QStringLiteral("/a/libglabels/templates")).toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(strUserDir)));
    {
        std::ofstream out(strUserDir + "/many.template");
        out << "<Glabels-templates>";
        for (std::size_t i = 0; i <= kMaxTemplates; ++i)
            out << "<Template brand='Shop' part='" << i << R"(' size="Other" width="150mm" height="100mm">)"
                << R"(<Label-rectangle width="20mm" height="8mm">)"
                << R"(<Layout nx="6" ny="10" x0="7mm" y0="6mm" dx="23mm" dy="9mm"/></Label-rectangle></Template>)";
        out << "</Glabels-templates>";
    }
    CDocTypeDlg dlg;
    AnswerNextDialog<CDocTypeDlg>([](CDocTypeDlg* d) {
        Child<QTabWidget>(d, "tabsSource")->setCurrentIndex(1);
        EXPECT_EQ(Child<QTableView>(d, "viewTemplates")->model()->rowCount(), 20000);
        bool bSaid = false;
        for (const QLabel* label : d->findChildren<QLabel*>())
            bSaid = bSaid || label->text() ==
                                 QStringLiteral("找到 20000 种，共 20000 种；模板超过 20000 种，其余未读取");
        EXPECT_TRUE(bSaid);
        d->reject();
    });
    dlg.exec();
}

TEST_F(SheetTemplates, ExportAndImportBetweenSettingsDirectories)
{
    const QString strFile = m_dir.path() + QStringLiteral("/shared.lps");
    const CSheetTypeList libraryA = {{"A1", Format(3, 10)}, {"A2", Format(4, 10)}, {"A3", Format(5, 10)}};
    ASSERT_EQ(SaveTypeList(libraryA), 0);
    {
        CDocTypeDlg dlg;
        AnswerNextDialog<CDocTypeDlg>([&](CDocTypeDlg* d) {
            auto* list = Child<QListWidget>(d, "listTypes");
            EXPECT_FALSE(Enabled(d, "btnExport"));
            list->item(0)->setSelected(true);
            list->item(2)->setSelected(true);
            // Two entries: exported or deleted together, but neither edited nor confirmed.
            EXPECT_TRUE(Enabled(d, "btnExport"));
            EXPECT_TRUE(Enabled(d, "btnDelete"));
            EXPECT_FALSE(Enabled(d, "btnEdit"));
            EXPECT_FALSE(Enabled(d, "btnOK"));
            AnswerNextFileDialog(strFile);
            QTest::mouseClick(Child<QPushButton>(d, "btnExport"), Qt::LeftButton);
            d->reject();
        });
        dlg.exec();
    }
    std::ifstream in(strFile.toStdString(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), TypeListBytes({libraryA[0], libraryA[2]}));

    UseSettings(QStringLiteral("b"));
    ASSERT_EQ(SaveTypeList({{"A1", Format(2, 2)}, {"B1", Format(6, 6)}}), 0);
    CDocTypeDlg dlg;
    QString strQuestion;
    QString strSummary;
    AnswerNextDialog<CDocTypeDlg>([&](CDocTypeDlg* d) {
        AnswerNextDialog<QFileDialog>([&](QFileDialog* files) {
            AnswerNextDialog<QMessageBox>([&](QMessageBox* clash) {
                strQuestion = clash->text() + QLatin1Char('|') + clash->informativeText();
                AnswerNextDialog<QMessageBox>([&](QMessageBox* summary) {
                    strSummary = summary->text();
                    summary->accept();
                });
                Child<QPushButton>(clash, "btnReplace")->click();
            });
            AcceptFileDialog(files, strFile);
        });
        // Counted while importing only: the count lives no longer than this answer.
        int nSelectionChanges = 0;
        const QMetaObject::Connection counting =
            QObject::connect(Child<QListWidget>(d, "listTypes"), &QListWidget::itemSelectionChanged, d,
                             [&nSelectionChanges] { ++nSelectionChanges; });
        QTest::mouseClick(Child<QPushButton>(d, "btnImport"), Qt::LeftButton);
        QObject::disconnect(counting);
        EXPECT_EQ(ListTexts(d), (QStringList{"A1", "A3", "B1"}));
        EXPECT_EQ(SelectedTexts(d), (QStringList{"A1", "A3"}));
        EXPECT_EQ(nSelectionChanges, 1) << "the imported entries are selected in one change";
        d->reject();
    });
    dlg.exec();
    EXPECT_EQ(
        strQuestion,
        QStringLiteral("页面类型库中已有名为“A1”的页面类型。|"
                       "库中的：140 × 200 mm，2 × 2 个 19 × 8.65 mm 的标签，边距 左 12 右 12 上 3 下 3 mm\n"
                       "导入的：140 × 200 mm，3 × 10 个 19 × 8.65 mm 的标签，边距 左 12 右 12 上 3 下 3 mm"));
    EXPECT_EQ(strSummary, QStringLiteral("已导入 2 个页面类型（替换了 1 个同名的）。"));
    CSheetTypeList libraryB;
    ASSERT_EQ(LoadTypeList(libraryB), 0);
    EXPECT_EQ(libraryB, (CSheetTypeList{libraryA[0], libraryA[2], {"B1", Format(6, 6)}}));
}

TEST_F(SheetTemplates, ImportRefusesAnythingElse)
{
    const QString strText = m_dir.path() + QStringLiteral("/notes.lps");
    const QString strEmpty = m_dir.path() + QStringLiteral("/empty.lps");
    {
        std::ofstream(strText.toStdString()) << "Avery 5160: 3 x 10 labels\n";
        std::ofstream(strEmpty.toStdString());
    }
    const struct
    {
        const char* name;
        QString strPath;
        QString strMessage;
    } cases[] = {
        {"text", strText, QStringLiteral("第 1 个页面类型不完整。")},
        {"empty", strEmpty, QStringLiteral("其中没有页面类型。")},
        {"a document", QStringLiteral(TAVRO_TEST_DATA "/default.tav"),
         QStringLiteral("第 1 个页面类型的尺寸无法使用。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDocTypeDlg dlg;
        CSeenBox seen;
        AnswerNextDialog<CDocTypeDlg>([&](CDocTypeDlg* d) {
            AnswerNextDialog<QFileDialog>([&](QFileDialog* files) {
                AnswerNextMessageBox(QMessageBox::Ok, &seen);
                AcceptFileDialog(files, c.strPath);
            });
            QTest::mouseClick(Child<QPushButton>(d, "btnImport"), Qt::LeftButton);
            EXPECT_EQ(ListTexts(d).size(), 3) << "the presets, nothing added";
            d->reject();
        });
        dlg.exec();
        EXPECT_EQ(seen.m_strText.toStdString(),
                  QStringLiteral("%1 不是页面类型文件：%2\n只能导入用“导出...”保存的文件。")
                      .arg(c.strPath, c.strMessage)
                      .toStdString());
    }
}

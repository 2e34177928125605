#include "model/Archive.h"
#include "model/Gbk.h"
#include "sheets/CDocTypeDlg.h"
#include "sheets/CPageSetupDlg.h"
#include "sheets/SheetMessages.h"
#include "sheets/SheetTypeList.h"
#include "text/DialogSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs `fn` on the next modal widget of type T once it is shown. When none
// comes within five seconds, every modal widget is closed so that the test
// fails instead of hanging.
template <class T>
void WhenModal(std::function<void(T*)> fn)
{
    auto* timer = new QTimer;
    auto* elapsed = new int(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
            widget && widget->isVisible()) {
            timer->stop();
            timer->deleteLater();
            delete elapsed;
            fn(widget);
            return;
        }
        if ((*elapsed += 10) > 5000) {
            timer->stop();
            timer->deleteLater();
            delete elapsed;
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className() << " appeared";
            while (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        }
    });
    timer->start(10);
}

// Closes the next message box and returns its text through `strText`.
void AnswerMessage(QString& strText)
{
    WhenModal<QMessageBox>([&strText](QMessageBox* box) {
        strText = box->windowTitle() + QLatin1Char('|') + box->text();
        box->accept();
    });
}

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

QString SelectedText(QWidget* dlg)
{
    const QList<QListWidgetItem*> selected = Child<QListWidget>(dlg, "listTypes")->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

bool Enabled(QWidget* dlg, const char* name)
{
    return Child<QPushButton>(dlg, name)->isEnabled();
}

// Each test has its own settings directory, so its own library file.
class SheetDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strOldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_strOldConfig); }

    std::string LibraryPath() const
    {
        return (m_dir.path() + QStringLiteral("/TAVRO/tavropage.lps")).toStdString();
    }

    void WriteLibrary(const CSheetTypeList& list) { ASSERT_EQ(SaveTypeList(list), 0); }

    CSheetTypeList ReadLibrary() const
    {
        CSheetTypeList list;
        ReadTypeListFile(LibraryPath(), list);
        return list;
    }

    std::vector<std::string> LibraryNames() const
    {
        std::vector<std::string> names;
        for (const CSheetType& type : ReadLibrary())
            names.push_back(type.m_strName);
        return names;
    }

    QTemporaryDir m_dir;
    QByteArray m_strOldConfig;
};

const std::vector<std::string> kPresetNames = {"Tavro Marker Suite K7713-1-3", "Tavro Marker Suite K7713-2-6",
                                               "Tavro Marker Suite K7713-6-10"};

// Where a control of a dialog's template sits, in dialog units.
struct CTemplatePlace
{
    const char* name; // the control's object name
    int x, y, cx, cy;
};

// Checks the dialog's size and each control's place against its template,
// converted to pixels, within two pixels.
void ExpectTemplateLayout(QDialog* dlg, QSize sizeUnits, const std::vector<CTemplatePlace>& places)
{
    constexpr int kSlack = 2;
    const auto near = [](int nActual, int nUnits) {
        return std::abs(nActual - DialogUnits(nUnits)) <= kSlack;
    };
    EXPECT_TRUE(near(dlg->width(), sizeUnits.width()) && near(dlg->height(), sizeUnits.height()))
        << "dialog " << dlg->width() << " x " << dlg->height() << ", template "
        << DialogUnits(sizeUnits.width()) << " x " << DialogUnits(sizeUnits.height());
    for (const CTemplatePlace& place : places) {
        SCOPED_TRACE(place.name);
        auto* control = Child<QWidget>(dlg, place.name);
        if (!control)
            continue;
        const QRect r(control->mapTo(dlg, QPoint(0, 0)), control->size());
        EXPECT_TRUE(control->isVisibleTo(dlg));
        EXPECT_TRUE(near(r.x(), place.x) && near(r.y(), place.y) && near(r.width(), place.cx) &&
                    near(r.height(), place.cy))
            << "at " << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << "; template "
            << DialogUnits(place.x) << ", " << DialogUnits(place.y) << ", " << DialogUnits(place.cx) << " x "
            << DialogUnits(place.cy);
    }
}

// Every caption sits inside the dialog, beside its box and over no other
// control, and shows its whole text.
void ExpectCaptionsWhole(QDialog* dlg)
{
    const QList<QLabel*> labels = dlg->findChildren<QLabel*>();
    for (const QLabel* label : labels) {
        if (!label->isVisibleTo(dlg) || label->text().isEmpty())
            continue;
        SCOPED_TRACE(label->text().toStdString());
        const QRect r(label->mapTo(dlg, QPoint(0, 0)), label->size());
        EXPECT_TRUE(dlg->rect().contains(r));
        const QString shown = QString(label->text()).remove(QLatin1Char('&'));
        EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
        EXPECT_LE(label->fontMetrics().height(), label->contentsRect().height());
        if (const QWidget* buddy = label->buddy()) {
            const QRect b(buddy->mapTo(dlg, QPoint(0, 0)), buddy->size());
            EXPECT_FALSE(r.intersects(b));
        }
    }
}

} // namespace

TEST_F(SheetDialogs, FirstOpeningShowsPresetsAndSelectsNothing)
{
    CDocTypeDlg dlg;
    WhenModal<CDocTypeDlg>([](CDocTypeDlg* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("选择文档类型"));
        EXPECT_EQ(ListTexts(d).size(), 3);
        EXPECT_TRUE(SelectedText(d).isEmpty());
        EXPECT_FALSE(Enabled(d, "btnOK"));
        EXPECT_FALSE(Enabled(d, "btnEdit"));
        EXPECT_FALSE(Enabled(d, "btnDelete"));
        EXPECT_TRUE(Enabled(d, "btnAdd"));
        EXPECT_TRUE(Enabled(d, "btnCancel"));
        // Enter with nothing selected does not confirm.
        QTest::keyClick(Child<QListWidget>(d, "listTypes"), Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        d->reject();
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    // Closing, even with Cancel, writes the presets.
    EXPECT_EQ(LibraryNames(), kPresetNames);
    EXPECT_TRUE(dlg.m_strName.empty());
    EXPECT_EQ(dlg.m_format, CPageFormat());
}

TEST_F(SheetDialogs, LastNameSelectsFromTheSecondEntryOn)
{
    const struct
    {
        const char* name;
        CSheetTypeList library;
        std::string strLast;
        QString strSelected;
    } cases[] = {
        {"A and AB, last A", {{"A", {}}, {"AB", {}}}, "A", QStringLiteral("AB")},
        {"only X", {{"X", {}}}, "X", QStringLiteral("X")},
        {"no match", {{"A", {}}, {"B", {}}}, "C", QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteLibrary(c.library);
        CDocTypeDlg dlg;
        dlg.m_strName = c.strLast;
        WhenModal<CDocTypeDlg>([&](CDocTypeDlg* d) {
            EXPECT_EQ(SelectedText(d), c.strSelected);
            EXPECT_EQ(Enabled(d, "btnOK"), !c.strSelected.isEmpty());
            EXPECT_EQ(Enabled(d, "btnEdit"), !c.strSelected.isEmpty());
            d->reject();
        });
        dlg.exec();
    }
}

TEST_F(SheetDialogs, OkAndDoubleClickHandOverTheChosenFormat)
{
    CDocTypeDlg dlg;
    dlg.m_strName = "Tavro Marker Suite K7713-6";
    WhenModal<CDocTypeDlg>([](CDocTypeDlg* d) {
        EXPECT_EQ(SelectedText(d), QStringLiteral("Tavro Marker Suite K7713-6-10"));
        QTest::mouseClick(Child<QPushButton>(d, "btnOK"), Qt::LeftButton);
    });
    ASSERT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strName, kPresetNames[2]);
    EXPECT_EQ(dlg.m_format, PresetTypes()[2].m_format);

    WhenModal<CDocTypeDlg>([](CDocTypeDlg* d) {
        auto* list = Child<QListWidget>(d, "listTypes");
        const QRect rc = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rc.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rc.center());
        if (d->isVisible())
            d->reject();
    });
    ASSERT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strName, kPresetNames[0]);
    EXPECT_EQ(dlg.m_format, CPageFormat());
}

TEST_F(SheetDialogs, CancelAfterAddingKeepsTheEntryInTheFile)
{
    CDocTypeDlg dlg;
    dlg.m_format = PresetTypes()[2].m_format;
    dlg.m_strName = "Tavro Marker Suite K7713-6-10";
    WhenModal<CDocTypeDlg>([](CDocTypeDlg* d) {
        WhenModal<CPageSetupDlg>([](CPageSetupDlg* setup) {
            EXPECT_EQ(setup->windowTitle(), QStringLiteral("设定页面 - 添加"));
            EXPECT_TRUE(Child<QLineEdit>(setup, "editName")->text().isEmpty());
            EXPECT_EQ(Child<QLineEdit>(setup, "editLabelHeight")->text(), QStringLiteral("865"));
            Child<QLineEdit>(setup, "editName")->setText(QStringLiteral("  新标签 B  "));
            Child<QLineEdit>(setup, "editColumns")->setText(QStringLiteral("3"));
            QTest::mouseClick(Child<QPushButton>(setup, "btnOK"), Qt::LeftButton);
            if (setup->isVisible())
                setup->reject();
        });
        QTest::mouseClick(Child<QPushButton>(d, "btnAdd"), Qt::LeftButton);
        EXPECT_EQ(SelectedText(d), QStringLiteral("新标签 B"));
        EXPECT_TRUE(Enabled(d, "btnOK"));
        d->reject();
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(dlg.m_format, PresetTypes()[2].m_format);
    EXPECT_EQ(dlg.m_strName, "Tavro Marker Suite K7713-6-10");

    const CSheetTypeList library = ReadLibrary();
    ASSERT_EQ(library.size(), 4u);
    EXPECT_EQ(library[3].m_strName, *Utf8ToGbk("新标签 B")); // trimmed, sorted after the Latin names
    EXPECT_EQ(library[3].m_format.m_nColumns, 3);
}

TEST_F(SheetDialogs, RenamingMovesTheEntryAndKeepsItSelected)
{
    CPageFormat tall;
    tall.m_dLabelHeight = 12.34;
    tall.Recalc();
    WriteLibrary({{"A", tall}, {"B", {}}, {"C", {}}});
    CDocTypeDlg dlg;
    dlg.m_strName = "A";
    WhenModal<CDocTypeDlg>([](CDocTypeDlg* d) {
        ASSERT_EQ(SelectedText(d), QStringLiteral("A"));
        WhenModal<CPageSetupDlg>([](CPageSetupDlg* setup) {
            EXPECT_EQ(setup->windowTitle(), QStringLiteral("设定页面 - 修改"));
            EXPECT_EQ(Child<QLineEdit>(setup, "editName")->text(), QStringLiteral("A"));
            EXPECT_EQ(Child<QLineEdit>(setup, "editLabelHeight")->text(), QStringLiteral("1234"));
            Child<QLineEdit>(setup, "editName")->setText(QStringLiteral("D"));
            QTest::mouseClick(Child<QPushButton>(setup, "btnOK"), Qt::LeftButton);
            if (setup->isVisible())
                setup->reject();
        });
        QTest::mouseClick(Child<QPushButton>(d, "btnEdit"), Qt::LeftButton);
        EXPECT_EQ(ListTexts(d), (QStringList{"B", "C", "D"}));
        EXPECT_EQ(SelectedText(d), QStringLiteral("D"));
        QTest::mouseClick(Child<QPushButton>(d, "btnOK"), Qt::LeftButton);
        if (d->isVisible())
            d->reject();
    });
    ASSERT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strName, "D");
    EXPECT_EQ(dlg.m_format, tall);
    EXPECT_EQ(LibraryNames(), (std::vector<std::string>{"B", "C", "D"}));
}

TEST_F(SheetDialogs, EditConfirmedUnchangedKeepsTheValues)
{
    CDocTypeDlg dlg;
    dlg.m_strName = "Tavro Marker Suite K7713-6-10";
    WhenModal<CDocTypeDlg>([](CDocTypeDlg* d) {
        WhenModal<CPageSetupDlg>([](CPageSetupDlg* setup) {
            QTest::mouseClick(Child<QPushButton>(setup, "btnOK"), Qt::LeftButton);
            if (setup->isVisible())
                setup->reject();
        });
        QTest::mouseClick(Child<QPushButton>(d, "btnEdit"), Qt::LeftButton);
        d->reject();
    });
    dlg.exec();
    EXPECT_EQ(ReadLibrary(), PresetTypes());
}

TEST_F(SheetDialogs, DeletingTheLastEntryBringsThePresetsBack)
{
    WriteLibrary({{"X", {}}});
    CDocTypeDlg dlg;
    dlg.m_strName = "X";
    WhenModal<CDocTypeDlg>([](CDocTypeDlg* d) {
        ASSERT_EQ(SelectedText(d), QStringLiteral("X"));
        QTest::mouseClick(Child<QPushButton>(d, "btnDelete"), Qt::LeftButton);
        EXPECT_TRUE(ListTexts(d).isEmpty());
        EXPECT_FALSE(Enabled(d, "btnOK"));
        EXPECT_FALSE(Enabled(d, "btnEdit"));
        EXPECT_FALSE(Enabled(d, "btnDelete"));
        // A confirmation with nothing selected is ignored.
        QMetaObject::invokeMethod(d, "accept");
        EXPECT_TRUE(d->isVisible());
        d->reject();
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_TRUE(ReadLibrary().empty());
    std::ifstream in(LibraryPath(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(4, '\0'));

    WhenModal<CDocTypeDlg>([](CDocTypeDlg* d) {
        EXPECT_EQ(ListTexts(d).size(), 3);
        EXPECT_EQ(SelectedText(d), QString());
        d->reject();
    });
    dlg.exec();
    EXPECT_EQ(LibraryNames(), kPresetNames);
}

TEST_F(SheetDialogs, PageSetupRefusesInOrderAndFocusesTheField)
{
    const QString strLongName = QString(51, QChar(0x4E2D)); // 102 bytes in code page 936
    const struct
    {
        const char* name;
        std::vector<std::pair<const char*, QString>> edits;
        QString strMessage;
        const char* focus;
    } cases[] = {
        {"page height 499",
         {{"editPageHeight", "499"}},
         QStringLiteral("“请填入一个在500和70000之间的整数。”"),
         "editPageHeight"},
        {"page height empty",
         {{"editPageHeight", ""}},
         QStringLiteral("“请填入一个正整数。”"),
         "editPageHeight"},
        {"rows before page width",
         {{"editRows", "26"}, {"editPageWidth", "499"}},
         QStringLiteral("“请填入一个在2和25之间的整数。”"),
         "editRows"},
        {"name of spaces", {{"editName", "   "}}, kMsgEmptyName, "editName"},
        {"empty name checked after the numbers",
         {{"editName", ""}, {"editPageWidth", "70001"}},
         QStringLiteral("“请填入一个在500和70000之间的整数。”"),
         "editPageWidth"},
        {"name too long",
         {{"editName", strLongName}},
         QStringLiteral("“请填入不多于100个的字符。”"),
         "editName"},
        {"name outside code page 936",
         {{"editName", QStringLiteral("标签 \U0001F600")}},
         kMsgNameNotGbk,
         "editName"},
        {"left margin",
         {{"editLeftMargin", "10001"}},
         QStringLiteral("“请填入一个在0和10000之间的整数。”"),
         "editLeftMargin"},
        {"label height 99",
         {{"editLabelHeight", "99"}},
         QStringLiteral("“请填入一个在100和10000之间的整数。”"),
         "editLabelHeight"},
        {"columns 16",
         {{"editColumns", "16"}},
         QStringLiteral("“请填入一个在2和15之间的整数。”"),
         "editColumns"},
        {"columns 1",
         {{"editColumns", "1"}},
         QStringLiteral("“请填入一个在2和15之间的整数。”"),
         "editColumns"},
        {"labels too wide",
         {{"editLabelWidth", "10000"}, {"editPageWidth", "10000"}, {"editLeftMargin", "1"}},
         kMsgLabelsTooWide,
         "editLabelWidth"},
        {"labels too tall",
         {{"editTopMargin", "10000"}, {"editBottomMargin", "10000"}},
         kMsgLabelsTooTall,
         "editLabelHeight"},
        {"15 columns of 19 mm overlap", {{"editColumns", "15"}}, kMsgColumnsOverlap, "editColumns"},
        {"25 rows of 8 mm overlap",
         {{"editRows", "25"}, {"editLabelHeight", "800"}},
         kMsgRowsOverlap,
         "editRows"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPageSetupDlg dlg;
        dlg.m_strName = "Sheet";
        QString strMessage;
        QString strFocus;
        WhenModal<CPageSetupDlg>([&](CPageSetupDlg* d) {
            for (const auto& [field, text] : c.edits)
                Child<QLineEdit>(d, field)->setText(text);
            AnswerMessage(strMessage);
            QTest::mouseClick(Child<QPushButton>(d, "btnOK"), Qt::LeftButton);
            EXPECT_TRUE(d->isVisible());
            if (QWidget* focus = d->focusWidget())
                strFocus = focus->objectName();
            d->reject();
        });
        EXPECT_EQ(dlg.exec(), QDialog::Rejected);
        EXPECT_EQ(strMessage, QStringLiteral("Tavromark|") + c.strMessage);
        EXPECT_EQ(strFocus, QString::fromLatin1(c.focus));
        EXPECT_EQ(dlg.m_strName, "Sheet");
        EXPECT_EQ(dlg.m_format, CPageFormat());
    }
}

// The name's limit counts code page 936 bytes, as the name is stored: a
// Chinese character takes two.
TEST_F(SheetDialogs, PageSetupNameLimitCountsBytesWhileTyping)
{
    CPageSetupDlg dlg;
    QString strTyped;
    WhenModal<CPageSetupDlg>([&](CPageSetupDlg* d) {
        auto* edit = Child<QLineEdit>(d, "editName");
        edit->clear();
        for (int i = 0; i < 60; ++i)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(QChar(0x4E2D)), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("x"), Qt::NoModifier);
        strTyped = edit->text();
        d->reject();
    });
    dlg.exec();
    EXPECT_EQ(strTyped, QString(50, QChar(0x4E2D))); // 100 bytes; the rest did not go in
}

// A library entry with a longer name (written by another program) shows
// whole and is never cut: confirming it unchanged is refused like a name
// typed too long, and it can still be shortened.
TEST_F(SheetDialogs, PageSetupNeverCutsALongerStoredName)
{
    const std::string strStored =
        std::string(150, 'a') + *Utf8ToGbk(QString(75, QChar(0x4E2D)).toStdString());
    ASSERT_EQ(strStored.size(), 300u);
    CPageSetupDlg dlg;
    dlg.m_strName = strStored;
    QString strShown;
    QString strMessage;
    QString strAfterBackspace;
    WhenModal<CPageSetupDlg>([&](CPageSetupDlg* d) {
        auto* edit = Child<QLineEdit>(d, "editName");
        strShown = edit->text();
        AnswerMessage(strMessage);
        QTest::mouseClick(Child<QPushButton>(d, "btnOK"), Qt::LeftButton);
        EXPECT_TRUE(d->isVisible());
        edit->setFocus();
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_Backspace);
        strAfterBackspace = edit->text();
        d->reject();
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(strShown.size(), 225);
    EXPECT_EQ(strMessage, QStringLiteral("Tavromark|“请填入不多于100个的字符。”"));
    EXPECT_EQ(strAfterBackspace.size(), 224);
    EXPECT_EQ(dlg.m_strName, strStored);
}

TEST_F(SheetDialogs, PageSetupStoresHundredthsAsMillimetres)
{
    CPageSetupDlg dlg;
    WhenModal<CPageSetupDlg>([](CPageSetupDlg* d) {
        const std::pair<const char*, const char*> values[] = {
            {"editName", " K-1 "},        {"editPageHeight", "29700"}, {"editPageWidth", "21000"},
            {"editLeftMargin", "1000"},   {"editTopMargin", "1250"},   {"editRightMargin", "1000"},
            {"editBottomMargin", "1250"}, {"editLabelHeight", "865"},  {"editLabelWidth", "1900"},
            {"editColumns", "9"},         {"editRows", "25"},
        };
        for (const auto& [field, text] : values)
            Child<QLineEdit>(d, field)->setText(QString::fromLatin1(text));
        QTest::mouseClick(Child<QPushButton>(d, "btnOK"), Qt::LeftButton);
        if (d->isVisible())
            d->reject();
    });
    ASSERT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strName, "K-1");
    EXPECT_EQ(dlg.m_format.m_dPageHeight, 29700 * 0.01);
    EXPECT_EQ(dlg.m_format.m_dPageWidth, 21000 * 0.01);
    EXPECT_EQ(dlg.m_format.m_dTopMargin, 1250 * 0.01);
    EXPECT_EQ(dlg.m_format.m_dLabelHeight, 8.65);
    EXPECT_EQ(dlg.m_format.m_nColumns, 9);
    EXPECT_EQ(dlg.m_format.m_nRows, 25);
    EXPECT_DOUBLE_EQ(dlg.m_format.m_dColumnPitch, (210.0 - 10 - 10 - 19) / 8);
}

// Both dialogs are as large as their templates in dialog units of the
// dialogs' 9-point Song face, with every control at its template's place.
TEST_F(SheetDialogs, LaidOutAtTheirTemplatesSizes)
{
    CDocTypeDlg dlg;
    dlg.m_strName = "Tavro Marker Suite K7713-2";
    WhenModal<CDocTypeDlg>([&](CDocTypeDlg* d) {
        SCOPED_TRACE("sheet type dialog");
        ExpectTemplateLayout(d, {223, 155},
                             {
                                 {"listTypes", 7, 21, 142, 127},
                                 {"btnAdd", 166, 22, 50, 14},
                                 {"btnEdit", 166, 44, 50, 14},
                                 {"btnDelete", 166, 65, 50, 14},
                                 {"btnOK", 166, 117, 50, 14},
                                 {"btnCancel", 166, 134, 50, 14},
                             });
        ExpectCaptionsWhole(d);
        WhenModal<CPageSetupDlg>([&](CPageSetupDlg* setup) {
            SCOPED_TRACE("page setup dialog");
            ExpectTemplateLayout(setup, {365, 217},
                                 {
                                     {"picture", 5, 11, 109, 159},
                                     {"editName", 180, 6, 171, 14},
                                     {"editPageHeight", 181, 34, 54, 14},
                                     {"editPageWidth", 298, 34, 54, 14},
                                     {"editLeftMargin", 181, 62, 54, 14},
                                     {"editTopMargin", 298, 62, 54, 14},
                                     {"editRightMargin", 181, 90, 54, 14},
                                     {"editBottomMargin", 298, 90, 54, 14},
                                     {"editLabelHeight", 181, 124, 54, 14},
                                     {"editLabelWidth", 298, 124, 54, 14},
                                     {"editColumns", 181, 162, 54, 14},
                                     {"editRows", 298, 162, 54, 14},
                                     {"btnOK", 217, 194, 50, 14},
                                     {"btnCancel", 289, 194, 50, 14},
                                 });
            // The captions of the left column start at 131 units, those of
            // the right one at 248.
            for (const QLabel* label : setup->findChildren<QLabel*>()) {
                const QWidget* buddy = label->buddy();
                if (!buddy || buddy->objectName() == QStringLiteral("editName"))
                    continue;
                SCOPED_TRACE(label->text().toStdString());
                const int nBoxX = buddy->mapTo(setup, QPoint(0, 0)).x();
                const int nExpected = nBoxX < DialogUnits(248) ? DialogUnits(131) : DialogUnits(248);
                EXPECT_NEAR(label->mapTo(setup, QPoint(0, 0)).x(), nExpected, 2);
            }
            ExpectCaptionsWhole(setup);
            setup->reject();
        });
        QTest::mouseClick(Child<QPushButton>(d, "btnEdit"), Qt::LeftButton);
        // The collection's page may grow the dialog; the next opening is at
        // the template's size again.
        Child<QTabWidget>(d, "tabsSource")->setCurrentIndex(1);
        d->reject();
    });
    dlg.exec();
    WhenModal<CDocTypeDlg>([&](CDocTypeDlg* d) {
        SCOPED_TRACE("sheet type dialog, opened again");
        EXPECT_EQ(Child<QTabWidget>(d, "tabsSource")->currentIndex(), 0);
        ExpectTemplateLayout(d, {223, 155},
                             {{"listTypes", 7, 21, 142, 127}, {"btnCancel", 166, 134, 50, 14}});
        d->reject();
    });
    dlg.exec();
}

TEST_F(SheetDialogs, RenderBothDialogs)
{
    // Saved for the documentation when TAVRO_SCREENSHOT_DIR names a directory.
    const QString strDir = qEnvironmentVariable("TAVRO_SCREENSHOT_DIR");
    CDocTypeDlg dlg;
    dlg.m_strName = "Tavro Marker Suite K7713-2";
    WhenModal<CDocTypeDlg>([&](CDocTypeDlg* d) {
        const QPixmap shot = d->grab();
        EXPECT_FALSE(shot.isNull());
        if (!strDir.isEmpty()) {
            EXPECT_TRUE(shot.save(strDir + QStringLiteral("/sheet-type-dialog.png")));
        }
        WhenModal<CPageSetupDlg>([&](CPageSetupDlg* setup) {
            const QPixmap setupShot = setup->grab();
            EXPECT_GE(setupShot.width(), 500);
            if (!strDir.isEmpty()) {
                EXPECT_TRUE(setupShot.save(strDir + QStringLiteral("/page-setup-dialog.png")));
            }
            setup->reject();
        });
        QTest::mouseClick(Child<QPushButton>(d, "btnEdit"), Qt::LeftButton);
        d->reject();
    });
    dlg.exec();
}

TEST_F(SheetDialogs, LibraryThatCannotBeSavedIsReported)
{
    // The settings directory would have to be created inside a regular file.
    const QString strBlocker = m_dir.path() + QStringLiteral("/file");
    QFile blocker(strBlocker);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", (strBlocker + QStringLiteral("/config")).toUtf8());

    CDocTypeDlg dlg;
    QString strMessage;
    WhenModal<CDocTypeDlg>([&](CDocTypeDlg* d) {
        EXPECT_EQ(ListTexts(d).size(), 3); // the presets, as nothing could be read
        AnswerMessage(strMessage);
        d->reject();
    });
    dlg.exec();
    EXPECT_TRUE(strMessage.startsWith(QStringLiteral("Tavromark|无法保存页面类型库 ")))
        << strMessage.toStdString();
    EXPECT_TRUE(strMessage.endsWith(QStringLiteral("：文件或文件夹不存在。"))) << strMessage.toStdString();
}

// A library that exists but cannot be read is never written over: the user is
// told why, the presets serve this opening, and the file stays as it was.
TEST_F(SheetDialogs, LibraryThatCannotBeReadIsLeftAlone)
{
    const std::string path = LibraryPath();
    const struct
    {
        const char* name;
        std::function<void()> make;
        QString strReason;
    } cases[] = {
        {"FIFO", [&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
         QStringLiteral("这不是普通文件（而是管道、设备或套接字）。")},
        {"beyond the size limit",
         [&] {
             WriteLibrary({{"mine", CPageFormat()}});
             // Sparse: its size is all that is looked at.
             ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kMaxTypeListBytes + 1)), 0);
         },
         QStringLiteral("文件太大。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::filesystem::remove(path);
        c.make();
        struct stat before
        {};
        ASSERT_EQ(lstat(path.c_str(), &before), 0);

        CDocTypeDlg dlg;
        QString strMessage;
        qsizetype nShown = 0;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            strMessage = box->windowTitle() + QLatin1Char('|') + box->text();
            WhenModal<CDocTypeDlg>([&](CDocTypeDlg* d) {
                nShown = ListTexts(d).size();
                // Adding an entry changes the list of this opening only.
                WhenModal<CPageSetupDlg>([](CPageSetupDlg* setup) {
                    Child<QLineEdit>(setup, "editName")->setText(QStringLiteral("新标签"));
                    QTest::mouseClick(Child<QPushButton>(setup, "btnOK"), Qt::LeftButton);
                    if (setup->isVisible())
                        setup->reject();
                });
                QTest::mouseClick(Child<QPushButton>(d, "btnAdd"), Qt::LeftButton);
                EXPECT_EQ(ListTexts(d).size(), 4);
                d->reject();
            });
            box->accept();
        });
        EXPECT_EQ(dlg.exec(), QDialog::Rejected);

        EXPECT_EQ(strMessage, QStringLiteral("Tavromark|无法读取页面类型库 %1：%2\n"
                                             "本次只提供预设的页面类型，该文件保持不变，所作的更改不会保存。")
                                  .arg(QString::fromStdString(path), c.strReason));
        EXPECT_EQ(nShown, 3) << "the presets";
        struct stat after
        {};
        ASSERT_EQ(lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_size, before.st_size);
        EXPECT_EQ(after.st_ino, before.st_ino) << "not replaced";
        EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    }
}

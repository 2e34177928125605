#include "test_app_support.h"

#include "model/CSheet.h"
#include "sheets/CDocTypeDlg.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QTest>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// A sheet that differs from the default in a way every test can see.
CSheet MarkedSheet(const CSheet& base)
{
    CSheet sheet = base;
    sheet.m_labels[0][0].m_strText = "A-01";
    sheet.m_labels[0][1].m_bSelected = 0;
    return sheet;
}

} // namespace

TEST_F(AppTest, StartsWithAnUntitledDefaultSheetAllEmptyAndSelected)
{
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Doc()->GetPathName().isEmpty());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("无标题 - TAVRO"));
    const CSheet sheet = View()->GetSheet();
    EXPECT_EQ(sheet.m_format.m_nColumns, 5);
    EXPECT_EQ(sheet.m_format.m_nRows, 14);
    for (const CSheet::Row& row : sheet.m_labels)
        for (const CLabelRecord& label : row) {
            EXPECT_TRUE(label.m_strText.empty());
            EXPECT_EQ(label.m_bSelected, 1);
        }
}

TEST_F(AppTest, SavingAtStartWritesTheDefaultFile)
{
    const QString path = PathOf(QStringLiteral("start.tav"));
    ASSERT_TRUE(Frame()->Controller()->SaveAs(path));
    const QByteArray bytes = ReadFile(path);
    EXPECT_EQ(bytes.size(), 8871);
    EXPECT_EQ(bytes.at(0), 0x30);
    EXPECT_EQ(bytes.mid(1, 48).toStdString(), kSheetSignature);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("start.tav - TAVRO"));
    EXPECT_EQ(m_pApp->RecentFiles().Entries().value(0), QFileInfo(path).canonicalFilePath());
}

TEST_F(AppTest, SaveOfAnUntitledDocumentAsksForANameWithTheTavSuffix)
{
    QStringList filters;
    AnswerNextFileDialog(PathOf(QStringLiteral("named")), &filters);
    RunAction(*Frame()->Controller(), "actionFileSave");
    EXPECT_EQ(filters, QStringList({QStringLiteral("TAVRO 文件 (*.tav)"), QStringLiteral("所有文件 (*.*)")}));
    EXPECT_EQ(ReadFile(PathOf(QStringLiteral("named.tav"))).size(), 8871);
    EXPECT_EQ(Doc()->GetPathName(), PathOf(QStringLiteral("named.tav")));
}

TEST_F(AppTest, OpenReplacesTheSheetAndClearsTheModifiedFlag)
{
    const QString path = PathOf(QStringLiteral("marked.tav"));
    const CSheet marked = MarkedSheet(View()->GetSheet());
    ASSERT_EQ(SaveSheetFile(path.toStdString(), marked), 0);

    Doc()->SetModifiedFlag(true);
    AnswerNextMessageBox(QMessageBox::No); // do not save the current changes
    ASSERT_TRUE(m_pApp->OpenDocumentFile(path));
    EXPECT_EQ(Content(View()->GetSheet()), Content(marked));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("marked.tav - TAVRO"));
}

// Every refusal leaves sheet, path and modified flag as they were, after
// its own message.
TEST_F(AppTest, RefusedFileLeavesAModifiedDocumentUnchanged)
{
    const QByteArray good = QByteArray::fromStdString(SheetBytes(CSheet{}));
    struct
    {
        const char* szName;
        QByteArray bytes; // null: no file at all
        QString message;
    } const cases[] = {
        {"wrong signature", QByteArray("\x05hello") + good.mid(49), QStringLiteral("错误的文件格式！")},
        {"empty file", QByteArray(""), QStringLiteral("文件打开出错,文件被占用或文件格式错误!")},
        {"cut inside the signature", good.left(20), QStringLiteral("文件打开出错,文件被占用或文件格式错误!")},
        {"cut inside a label", good.left(4000), QStringLiteral("非预期的文件格式。")},
        {"missing file", QByteArray(), QStringLiteral("文件不存在")},
    };

    const QString ownPath = PathOf(QStringLiteral("own.tav"));
    ASSERT_TRUE(Frame()->Controller()->SaveAs(ownPath));
    const CSheet current = MarkedSheet(View()->GetSheet());
    View()->SetSheet(current);
    Doc()->SetModifiedFlag(true);

    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        const QString path = PathOf(QString::fromUtf8(c.szName) + QStringLiteral(".tav"));
        if (!c.bytes.isNull())
            WriteFile(path, c.bytes);
        AnswerNextMessageBox(QMessageBox::No); // the save prompt
        CSeenBox seen;
        QTimer::singleShot(0, [&seen] { AnswerNextMessageBox(QMessageBox::Ok, &seen); });
        EXPECT_EQ(m_pApp->OpenDocumentFile(path), nullptr);
        EXPECT_TRUE(seen.m_bShown);
        EXPECT_EQ(seen.m_strCaption, QStringLiteral("Tavromark"));
        EXPECT_TRUE(seen.m_strText.contains(c.message)) << seen.m_strText.toStdString();
        EXPECT_TRUE(Doc()->IsModified());
        EXPECT_EQ(Doc()->GetPathName(), ownPath);
        EXPECT_EQ(Content(View()->GetSheet()), Content(current));
        EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("own.tav* - TAVRO"));
    }
}

TEST_F(AppTest, CancelAtTheSavePromptKeepsTheDocument)
{
    const QString path = PathOf(QStringLiteral("other.tav"));
    ASSERT_EQ(SaveSheetFile(path.toStdString(), MarkedSheet(CSheet{})), 0);
    const CSheet current = View()->GetSheet();
    Doc()->SetModifiedFlag(true);
    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::Cancel, &seen);
    EXPECT_EQ(m_pApp->OpenDocumentFile(path), nullptr);
    EXPECT_EQ(seen.m_strText, QStringLiteral("将改动保存到 无标题？"));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Content(View()->GetSheet()), Content(current));
}

TEST_F(AppTest, NewEmptiesEveryLabelAndTakesTheLastChosenFormat)
{
    CSheet sheet = MarkedSheet(View()->GetSheet());
    sheet.m_labels[24][14].m_strText = "hidden"; // outside 5 × 14
    View()->SetSheet(sheet);
    ASSERT_TRUE(Frame()->Controller()->SaveAs(PathOf(QStringLiteral("before.tav"))));
    Doc()->SetModifiedFlag(true);

    AnswerNextMessageBox(QMessageBox::No);
    ASSERT_NE(m_pApp->NewDocument(), nullptr);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Doc()->GetPathName().isEmpty());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("无标题 - TAVRO"));
    EXPECT_EQ(View()->Format(), Frame()->Controller()->LastChosenFormat());
    for (const CSheet::Row& row : View()->GetSheet().m_labels)
        for (const CLabelRecord& label : row) {
            EXPECT_TRUE(label.m_strText.empty());
            EXPECT_EQ(label.m_bSelected, 1);
        }
}

TEST_F(AppTest, ExitAsksToSaveAModifiedDocument)
{
    Frame()->show();
    Doc()->SetModifiedFlag(true);
    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::Cancel, &seen);
    RunAction(*Frame()->Controller(), "actionExit");
    EXPECT_TRUE(seen.m_bShown);
    EXPECT_EQ(seen.m_strCaption, QStringLiteral("Tavromark"));
    EXPECT_EQ(seen.m_strText, QStringLiteral("将改动保存到 无标题？"));
    EXPECT_TRUE(Frame()->isVisible());

    // Yes saves first: the file dialog of an untitled document, then exit.
    AnswerNextMessageBox(QMessageBox::Yes);
    QTimer::singleShot(0, [this] { AnswerNextFileDialog(PathOf(QStringLiteral("on-exit.tav"))); });
    RunAction(*Frame()->Controller(), "actionExit");
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(ReadFile(PathOf(QStringLiteral("on-exit.tav"))).size(), 8871);
}

TEST_F(AppTest, ExitOfACleanDocumentAsksNothing)
{
    Frame()->show();
    RunAction(*Frame()->Controller(), "actionExit");
    EXPECT_FALSE(Frame()->isVisible());
}

// A save that fails tells why, keeps the document modified and the previous
// file as it was.
TEST_F(AppTest, SaveFailureKeepsTheDocumentModifiedAndTheOldFile)
{
    const QString path = PathOf(QStringLiteral("kept.tav"));
    ASSERT_TRUE(Frame()->Controller()->SaveAs(path));
    const QByteArray before = ReadFile(path);
    View()->SetSheet(MarkedSheet(View()->GetSheet()));
    Doc()->SetModifiedFlag(true);

    struct
    {
        const char* szName;
        std::function<bool()> arrange; // false: not possible here
        std::function<void()> restore;
        QString message;
    } const cases[] = {
        {"directory not writable",
         [this] {
             return geteuid() != 0 && QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
         },
         [this] {
             QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
         },
         QStringLiteral("保存文档失败。")},
        {"file size limit (a full disk)",
         [] {
             signal(SIGXFSZ, SIG_IGN);
             rlimit limit{4096, RLIM_INFINITY};
             return setrlimit(RLIMIT_FSIZE, &limit) == 0;
         },
         [] {
             rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
             setrlimit(RLIMIT_FSIZE, &limit);
         },
         QStringLiteral("保存文档失败。")},
        {"read-only file (for root too)",
         [path] {
             return QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
         },
         [path] { QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner); },
         QStringLiteral("只读文件")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        if (!c.arrange()) {
            c.restore();
            continue;
        }
        CSeenBox seen;
        AnswerNextMessageBox(QMessageBox::Ok, &seen);
        const bool bSaved = Frame()->Controller()->SaveAs(path);
        c.restore();
        EXPECT_FALSE(bSaved);
        EXPECT_TRUE(seen.m_strText.contains(c.message)) << seen.m_strText.toStdString();
        EXPECT_EQ(seen.m_strCaption, QStringLiteral("Tavromark"));
        EXPECT_TRUE(Doc()->IsModified());
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList(QStringLiteral("kept.tav")));
    }
}

TEST_F(AppTest, RecentFileListKeepsTheNewestFourAcrossRuns)
{
    QAction* placeholder = Frame()->Controller()->RecentFileAction(0);
    EXPECT_EQ(placeholder->text(), QStringLiteral("最近文件"));
    EXPECT_TRUE(placeholder->isVisible());
    EXPECT_FALSE(placeholder->isEnabled());

    QStringList saved;
    for (int i = 1; i <= 5; ++i) {
        const QString path = PathOf(QStringLiteral("doc%1.tav").arg(i));
        ASSERT_TRUE(Frame()->Controller()->SaveAs(path));
        saved.prepend(QFileInfo(path).canonicalFilePath());
    }
    // Saving the second newest again moves it to the front, not twice.
    ASSERT_TRUE(Frame()->Controller()->SaveAs(PathOf(QStringLiteral("doc4.tav"))));
    const QStringList expected = {saved[1], saved[0], saved[2], saved[3]};
    EXPECT_EQ(m_pApp->RecentFiles().Entries(), expected);

    m_pApp.reset();
    m_pApp = std::make_unique<CTAVROApp>();
    CCommandLineInfo info;
    info.m_bShowSplash = false;
    ASSERT_TRUE(m_pApp->Start(info));
    EXPECT_EQ(m_pApp->RecentFiles().Entries(), expected);
    for (int i = 0; i < 4; ++i) {
        QAction* action = Frame()->Controller()->RecentFileAction(i);
        EXPECT_TRUE(action->isVisible());
        EXPECT_TRUE(action->isEnabled());
        EXPECT_TRUE(action->text().startsWith(QStringLiteral("&%1 ").arg(i + 1)));
    }

    // An entry whose file has gone leaves the list after its message.
    QFile::remove(expected[0]);
    AnswerNextMessageBox(QMessageBox::Ok);
    Frame()->Controller()->RecentFileAction(0)->trigger();
    EXPECT_EQ(m_pApp->RecentFiles().Entries(), expected.mid(1));
    EXPECT_FALSE(Frame()->Controller()->RecentFileAction(3)->isVisible());
}

TEST_F(AppTest, ADroppedFileIsOpened)
{
    const QString path = PathOf(QStringLiteral("dropped.tav"));
    const CSheet marked = MarkedSheet(CSheet{});
    ASSERT_EQ(SaveSheetFile(path.toStdString(), marked), 0);
    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    QDragEnterEvent enterText(QPoint(100, 100), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &enterText);
    EXPECT_FALSE(enterText.isAccepted());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QCoreApplication::processEvents();
    EXPECT_EQ(Doc()->GetPathName(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(View()->GetSheet().m_labels[0][0].m_strText, "A-01");
}

// A document named on the command line: opened, or refused after its message,
// which ends the program (Start false).
TEST(StartUp, OpensTheDocumentOnTheCommandLineOrEndsAfterItsMessage)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.tav"));
    CSheet sheet;
    sheet.m_labels[0][0].m_strText = "W-1";
    ASSERT_EQ(SaveSheetFile(good.toStdString(), sheet), 0);
    const QString bad = dir.filePath(QStringLiteral("bad.tav"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\x05other and more bytes");
    }

    {
        CTAVROApp app;
        CCommandLineInfo info = ParseCommandLine({"/nologo", good.toStdString()});
        ASSERT_TRUE(app.Start(info));
        EXPECT_EQ(ShownTitle(app.MainFrame()), QStringLiteral("good.tav - TAVRO"));
        EXPECT_EQ(app.MainFrame()->GetView()->GetSheet().m_labels[0][0].m_strText, "W-1");
        EXPECT_FALSE(app.Document()->IsModified());
    }
    {
        CTAVROApp app;
        CCommandLineInfo info = ParseCommandLine({"/nologo", bad.toStdString()});
        CSeenBox seen;
        AnswerNextMessageBox(QMessageBox::Ok, &seen);
        EXPECT_FALSE(app.Start(info));
        EXPECT_EQ(seen.m_strText, QStringLiteral("错误的文件格式！"));
        EXPECT_FALSE(app.MainFrame()->isVisible());
    }
    {
        CTAVROApp app;
        ASSERT_TRUE(app.Start(ParseCommandLine({"/nologo", "/dde"})));
        EXPECT_EQ(ShownTitle(app.MainFrame()), QStringLiteral("无标题 - TAVRO"));
    }
}

TEST_F(AppTest, ClickingALabelMakesExitAskToSave)
{
    Frame()->show();
    const QRect rcLabel = View()->LabelRect(0, 0);
    ASSERT_FALSE(rcLabel.isEmpty());
    QTest::mouseClick(View()->viewport(), Qt::RightButton, {},
                      rcLabel.topLeft() + QPoint(5, 5)); // deselects it
    EXPECT_EVENTUALLY(Doc()->IsModified());
    EXPECT_EQ(View()->GetSheet().m_labels[0][0].m_bSelected, 0);

    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::Cancel, &seen);
    Frame()->close();
    EXPECT_EQ(seen.m_strText, QStringLiteral("将改动保存到 无标题？"));
    EXPECT_TRUE(Frame()->isVisible());
}

// The view's New, once confirmed, runs file-new: the save prompt, then a
// new sheet of the type chosen.
TEST_F(AppTest, NewOfTheViewEndsInANewDocument)
{
    View()->SetSheet(MarkedSheet(View()->GetSheet()));
    Doc()->SetModifiedFlag(true);
    AnswerNextDialog<CDocTypeDlg>([](CDocTypeDlg* dlg) {
        auto* list = dlg->findChild<QListWidget*>(QStringLiteral("listTypes"));
        list->setCurrentRow(0);
        dlg->accept();
    });
    RunAction(*Frame()->Controller(), "actionFileNew");
    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::No, &seen);
    EXPECT_EVENTUALLY(!Doc()->IsModified());
    EXPECT_EQ(seen.m_strText, QStringLiteral("将改动保存到 无标题？"));
    EXPECT_EQ(View()->Format(), Frame()->Controller()->LastChosenFormat());
    EXPECT_TRUE(View()->GetSheet().m_labels[0][0].m_strText.empty());
    EXPECT_EQ(View()->GetSheet().m_labels[0][1].m_bSelected, 1);
}

#pragma once

// Helpers of the application shell's front-end tests: a started application
// without splash, and answers to the modal dialogs it opens.

#include "app/CMainController.h"
#include "app/CMainFrame.h"
#include "app/CTAVROApp.h"
#include "app/CommandLine.h"
#include "base/AppSettings.h"
#include "base/SettingsKeys.h"
#include "model/CSheetModel.h"
#include "model/CTAVRODoc.h"
#include "model/SettingsDir.h"
#include "view/CTAVROView.h"
#include "view/LabelPictures.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Waits up to five seconds for the condition, then checks it in the test.
// (QTRY_VERIFY and QTRY_COMPARE report to QTest, which does not run here:
// their failures would pass unseen.)
#define EXPECT_EVENTUALLY(condition)                                                                         \
    do {                                                                                                     \
        (void)QTest::qWaitFor([&] { return bool(condition); });                                              \
        EXPECT_TRUE(condition) << #condition;                                                                \
    } while (false)
#define EXPECT_EVENTUALLY_EQ(actual, expected)                                                               \
    do {                                                                                                     \
        (void)QTest::qWaitFor([&] { return (actual) == (expected); });                                       \
        EXPECT_EQ(actual, expected);                                                                         \
    } while (false)

#include <functional>
#include <memory>
#include <set>

// What a message box showed.
struct CSeenBox
{
    bool m_bShown = false;
    QString m_strCaption;
    QString m_strText;
};

// Calls `answer` with the next modal dialog of type T once it is shown, so
// that the exec() about to run returns. Gives up after five seconds; a
// dialog the answer leaves open is closed, so no test hangs.
template <class T>
void AnswerNextDialog(std::function<void(T*)> answer)
{
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, clock, answer] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && clock->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (!dialog) {
            ADD_FAILURE() << "no dialog appeared";
            return;
        }
        answer(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll->start();
}

// Answers the next message box with `button`, recording what it showed.
inline void AnswerNextMessageBox(QMessageBox::StandardButton button, CSeenBox* seen = nullptr)
{
    AnswerNextDialog<QMessageBox>([button, seen](QMessageBox* box) {
        if (seen)
            *seen = {true, box->windowTitle(), box->text()};
        if (QAbstractButton* b = box->button(button))
            b->click();
        else
            ADD_FAILURE() << "the message box has no button " << button;
    });
}

// Accepts a file dialog with `path` typed whole into its name box: chosen
// from the list instead, a file of another folder would depend on the
// dialog's folder loading in time.
inline void AcceptFileDialog(QFileDialog* dlg, const QString& path)
{
    if (auto* pName = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        pName->setText(path);
    else
        dlg->selectFile(path);
    QMetaObject::invokeMethod(dlg, "accept");
}

// Answers the next file dialog with `path` (accepted as typed).
inline void AnswerNextFileDialog(const QString& path, QStringList* filters = nullptr)
{
    AnswerNextDialog<QFileDialog>([path, filters](QFileDialog* dlg) {
        if (filters)
            *filters = dlg->nameFilters();
        AcceptFileDialog(dlg, path);
    });
}

// Answers the next print dialog as a user printing to a PDF file would:
// the printer list's file entry, then the file's name. `beforeAccept` runs
// just before the dialog is accepted (to answer what the print opens next).
inline void AnswerNextPrintDialogWithFile(const QString& path, std::function<void()> beforeAccept = {})
{
    AnswerNextDialog<QPrintDialog>([path, beforeAccept](QPrintDialog* dlg) {
        auto* printers = dlg->findChild<QComboBox*>(QStringLiteral("printers"));
        auto* fileName = dlg->findChild<QLineEdit*>(QStringLiteral("filename"));
        ASSERT_NE(printers, nullptr);
        ASSERT_NE(fileName, nullptr);
        printers->setCurrentIndex(printers->count() - 1); // "打印到文件(PDF)"
        fileName->setText(path);
        if (beforeAccept)
            beforeAccept();
        QMetaObject::invokeMethod(dlg, "accept");
    });
}

// Triggers the controller's action of that object name as its menu item,
// button or key would (a disabled action does nothing); false when there is
// no such action.
inline bool RunAction(const CMainController& controller, const char* szName)
{
    QAction* action = controller.Action(QLatin1String(szName));
    if (action)
        action->trigger();
    return action != nullptr;
}

// A menu item as the menu shows it: its text, then its key after a tab.
inline QString ShownText(const QAction* action)
{
    if (action->isSeparator())
        return QStringLiteral("-");
    const QKeySequence key = action->shortcut();
    return key.isEmpty() ? action->text()
                         : action->text() + QLatin1Char('\t') + key.toString(QKeySequence::PortableText);
}

// What the user put in a sheet: its font heights and widths, which every
// painting of a label recomputes, left out.
inline CSheet Content(CSheet sheet)
{
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.m_logFont.lfHeight = label.m_logFont.lfWidth = 0;
    return sheet;
}

// The labels whose records differ between two sheets.
inline std::set<LabelIndex> Differing(const CSheet& a, const CSheet& b)
{
    std::set<LabelIndex> differing;
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c)
            if (!(a.m_labels[r][c] == b.m_labels[r][c]))
                differing.insert(CSheetModel::IndexOf(r, c));
    return differing;
}

// The title as the window shows it: "[*]" is "*" while modified.
inline QString ShownTitle(const QWidget* window)
{
    QString title = window->windowTitle();
    return title.replace(QStringLiteral("[*]"), window->isWindowModified() ? QStringLiteral("*") : QString());
}

// Changes one label of the model as one edit.
inline void EditLabel(CSheetModel& model, int nRow, int nColumn,
                      const std::function<void(CLabelRecord&)>& edit)
{
    CLabelRecord after = model.Label(nRow, nColumn);
    edit(after);
    model.ApplyEdit(model.MakeEdit({CSheetModel::IndexOf(nRow, nColumn)}, {after}));
}

// A label's cell of width × height mm as the view paints it at dZoom, on
// red, with the pictures the view would keep.
inline QImage PaintedCell(CLabelPictures& pictures, const CLabelRecord& label, double dWidth, double dHeight,
                          double dZoom)
{
    const QSize cell(LabelPixelWidth(dWidth, dZoom), LabelPixelHeight(dHeight, dZoom));
    QImage image(cell.boundedTo(QSize(400, 400)), QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    pictures.PaintCell(painter, 0, label, cell, image.rect(), dZoom, CLabelPictures::Stale::Redraw);
    return image;
}

// A started application with an untitled document, no splash, an empty
// settings file and a temporary directory for documents.
class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const std::optional<std::string> settings =
                SettingsFilePath(SettingsKeys::kFileName.toStdString()))
            QFile::remove(QString::fromStdString(*settings));
        m_pApp = std::make_unique<CTAVROApp>();
        CCommandLineInfo info;
        info.m_bShowSplash = false;
        ASSERT_TRUE(m_pApp->Start(info));
    }

    void TearDown() override
    {
        // Leave without questions.
        Doc()->SetModifiedFlag(false);
        m_pApp.reset();
    }

    CMainFrame* Frame() const { return m_pApp->MainFrame(); }
    CTAVRODoc* Doc() const { return m_pApp->Document(); }
    CTAVROView* View() const { return Frame()->GetView(); }
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CTAVROApp> m_pApp;
};

#include "app/CMainController.h"

#include "base/AppMessageBox.h"
#include "base/ErrorText.h"
#include "model/CPageFormat.h"
#include "model/CTAVRODoc.h"
#include "sheets/CDocTypeDlg.h"
#include "view/CTAVROView.h"
#include "wirelist/WireListImport.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QTimer>

void CMainController::CreateFileActions()
{
    QAction* action = AddAction({"actionFileNew", "新建(&N)", "建立新文档", "新建", "file-new"},
                                QKeySequence::keyBindings(QKeySequence::New));
    connect(action, &QAction::triggered, this, &CMainController::OnFileNew);
    AddAction({"actionFileOpen", "打开(&O)...", "打开一个现有文档", "打开", "file-open"},
              QKeySequence::keyBindings(QKeySequence::Open));
    action = AddAction(
        {"actionImportWireList", "导入线号表(&W)...", "读入线号表，按表中的线号填写并打印标签", "", ""});
    connect(action, &QAction::triggered, this,
            [this] { ImportWireList(m_view.window(), m_view, Printing()); });
    action = AddAction({"actionFileSave", "保存(&S)", "保存活动文档", "保存", "file-save"},
                       QKeySequence::keyBindings(QKeySequence::Save));
    connect(action, &QAction::triggered, this, &CMainController::Save);
    action = AddAction({"actionFileSaveAs", "另存为(&A)...", "将活动文档以一个新文件名保存", "", ""});
    connect(action, &QAction::triggered, this, [this] { SaveAs(); });

    action = AddAction({"actionPageOffset", "设定偏移量(&M)...", "设定打印偏移量", "", ""});
    connect(action, &QAction::triggered, this, [this] { Printing().EditPageOffset(m_view.window()); });
    action = AddAction({"actionCalibrationPage", "打印校准页(&C)...",
                        "打印校准页，量出这台打印机的偏移量和比例", "打印校准页", ""});
    connect(action, &QAction::triggered, this,
            [this] { Printing().PrintCalibrationPage(m_view.window(), m_view.Format()); });
    action = AddAction({"actionPrintSetup", "设置打印机(&R)...", "改变打印机及打印选项", "", ""});
    connect(action, &QAction::triggered, this, [this] { Printing().Setup(m_view.window()); });
    action = AddAction({"actionPrintPreview", "打印预览(&V)", "打印预览", "", ""});
    connect(action, &QAction::triggered, this, [this] { PostPrint(PrintMode::Preview); });
    action =
        AddAction({"actionPrintBaseline", "打印基准线(&L)...", "打印基准线", "打印基准线", "print-baseline"},
                  {Qt::CTRL | Qt::Key_L});
    connect(action, &QAction::triggered, this, [this] { PostPrint(PrintMode::Baseline); });
    action =
        AddSelectionAction({"actionPrintLabels", "打印标签(&P)...", "打印标签", "打印标签", "print-labels"},
                           QKeySequence::keyBindings(QKeySequence::Print));
    connect(action, &QAction::triggered, this, [this] { PostPrint(PrintMode::Labels); });

    for (int i = 0; i < kRecentFileCount; ++i) {
        action = AddAction({"", "最近文件", "打开该文档", "", ""});
        action->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
        m_recentFileActions.append(action);
    }
    AddAction({"actionExit", "退出(&X)", "退出应用程序；提示保存文档", "", ""});
}

CPageFormat CMainController::LastChosenFormat() const
{
    return m_pDocTypeDlg ? m_pDocTypeDlg->m_format : CPageFormat();
}

void CMainController::OnFileNew()
{
    if (!m_pDocTypeDlg)
        m_pDocTypeDlg = std::make_unique<CDocTypeDlg>(m_view.window());
    if (m_pDocTypeDlg->exec() != QDialog::Accepted)
        return;
    QMetaObject::invokeMethod(this, &CMainController::newDocumentRequested, Qt::QueuedConnection);
}

void CMainController::PostPrint(PrintMode mode)
{
    QTimer::singleShot(0, this, [this, mode] {
        if (mode == PrintMode::Preview)
            Printing().Preview(m_view.window(), m_view.GetSheet());
        else
            Printing().Print(m_view.window(), m_view.GetSheet(), mode);
    });
}

bool CMainController::Save()
{
    return SaveAs(m_document.IsSavedInPlace() ? m_document.GetPathName() : QString());
}

bool CMainController::SaveAs(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        const QString& own = m_document.GetPathName();
        QFileDialog dlg(m_view.window(), QString(),
                        own.isEmpty() ? m_document.GetTitle() + QStringLiteral(".tav") : own);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setNameFilters({QStringLiteral("TAVRO 文件 (*.tav)"), QStringLiteral("所有文件 (*.*)")});
        dlg.setDefaultSuffix(QStringLiteral("tav"));
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return false;
        target = dlg.selectedFiles().constFirst();
    }
    if (const std::optional<CDocumentError> error = m_document.Save(target)) {
        ShowDocumentError(m_view.window(), *error);
        return false;
    }
    m_document.SetPathName(target);
    Q_EMIT fileSaved(m_document.GetPathName());
    return true;
}

bool CMainController::SaveModified()
{
    if (!m_document.IsModified())
        return true;
    const QString& own = m_document.GetPathName();
    const QString name = own.isEmpty() ? m_document.GetTitle() : QDir::toNativeSeparators(own);
    switch (AppMessageBox(m_view.window(), QMessageBox::Question,
                          QStringLiteral("将改动保存到 %1？").arg(name),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Save();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

#include "print/CJobPrintDlg.h"

#include "base/NumberText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <optional>

namespace {

// What a sheet list says wrong, or an empty string; `sheets` takes it when
// it is right. A list typed with a Chinese input method ("7，9－11") reads
// as its ASCII form.
QString ReadSheetList(const QString& typed, std::size_t nSheets, CPageSelection& sheets)
{
    const QString text = typed.normalized(QString::NormalizationForm_KC).trimmed();
    if (text.isEmpty()) {
        sheets = {};
        return {};
    }
    const std::optional<CPageSelection> read = CPageSelection::Parse(text.toStdString());
    if (!read)
        return QStringLiteral("“%1”不是页码列表；请写成 7 或 7-9,12 这样。").arg(typed);
    if (read->Last() > nSheets)
        return QStringLiteral("没有第 %1 页：这个任务共 %2 页。")
            .arg(NumberText(read->Last()), NumberText(nSheets));
    sheets = *read;
    return {};
}

} // namespace

CJobPrintDlg::CJobPrintDlg(QPrinter* printer, std::size_t nSheets, QWidget* parent)
    : QPrintDialog(printer, parent), m_nSheets(nSheets)
{
    setOption(QAbstractPrintDialog::PrintPageRange, false);
    auto* tab = m_tab = new QWidget;
    tab->setWindowTitle(QStringLiteral("页面"));
    m_sheetList = new QLineEdit(tab);
    m_sheetList->setObjectName(QStringLiteral("sheetList"));
    m_sheetList->setPlaceholderText(QStringLiteral("全部 %1 页").arg(NumberText(nSheets)));
    m_problem = new QLabel(tab);
    m_problem->setObjectName(QStringLiteral("sheetListProblem"));
    m_problem->setWordWrap(true);
    auto* layout = new QFormLayout(tab);
    layout->addRow(QStringLiteral("打印页(&S):"), m_sheetList);
    layout->addRow(
        QString(),
        new QLabel(QStringLiteral("例如 7 或 7, 9-11（共 %1 页）；空着则打印全部。").arg(NumberText(nSheets)),
                   tab));
    layout->addRow(QString(), m_problem);
    setOptionTabs({tab});
    connect(m_sheetList, &QLineEdit::textChanged, this, [this] { m_problem->clear(); });
}

void CJobPrintDlg::showEvent(QShowEvent* event)
{
    QPrintDialog::showEvent(event);
    // Qt keeps its option tabs folded away behind a button of the reset role;
    // the sheets are what a job's dialog is opened for.
    if (m_sheetList->isVisible())
        return;
    for (QDialogButtonBox* box : findChildren<QDialogButtonBox*>())
        for (QAbstractButton* button : box->buttons())
            if (box->buttonRole(button) == QDialogButtonBox::ResetRole)
                button->click();
    for (QWidget* w = m_tab->parentWidget(); w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            tabs->setCurrentWidget(m_tab);
            break;
        }
}

void CJobPrintDlg::accept()
{
    const QString problem = ReadSheetList(m_sheetList->text(), m_nSheets, m_sheets);
    if (!problem.isEmpty()) {
        m_problem->setText(problem);
        m_sheetList->setFocus();
        m_sheetList->selectAll();
        return;
    }
    QPrintDialog::accept();
}

#include "print/CLabelPrintDlg.h"

#include "base/NumberText.h"
#include "print/PageOffsetSettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

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

// The margin a queue cannot print on, left and top, mm; nullopt for no
// installed queue of that name (the PDF file entry among them).
std::optional<QPointF> UnprintableMargin(const QString& queue)
{
    if (queue.isEmpty() || QPrinterInfo::printerInfo(queue).isNull())
        return std::nullopt;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(queue);
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF margins = layout.minimumMargins();
    return QPointF(margins.left(), margins.top());
}

} // namespace

CLabelPrintDlg::CLabelPrintDlg(QPrinter* printer, std::size_t nSheets, QWidget* parent)
    : QPrintDialog(printer, parent), m_nSheets(nSheets)
{
    setOption(QAbstractPrintDialog::PrintPageRange, false);
    m_tab = new QWidget;
    m_tab->setWindowTitle(QStringLiteral("标签"));
    auto* column = new QVBoxLayout(m_tab);
    if (nSheets > 0) {
        m_sheetList = new QLineEdit(m_tab);
        m_sheetList->setObjectName(QStringLiteral("sheetList"));
        m_sheetList->setPlaceholderText(QStringLiteral("全部 %1 页").arg(NumberText(nSheets)));
        m_problem = new QLabel(m_tab);
        m_problem->setObjectName(QStringLiteral("sheetListProblem"));
        m_problem->setWordWrap(true);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("打印页(&S):"), m_sheetList);
        form->addRow(
            QString(),
            new QLabel(
                QStringLiteral("例如 7 或 7, 9-11（共 %1 页）；空着则打印全部。").arg(NumberText(nSheets)),
                m_tab));
        form->addRow(QString(), m_problem);
        column->addLayout(form);
        connect(m_sheetList, &QLineEdit::textChanged, this, [this] { m_problem->clear(); });
    }
    m_calibrationNote = new QLabel(m_tab);
    m_calibrationNote->setObjectName(QStringLiteral("calibrationNote"));
    m_calibrationNote->setWordWrap(true);
    m_calibrate = new QPushButton(QStringLiteral("打印校准页(&C)..."), m_tab);
    m_calibrate->setObjectName(QStringLiteral("printCalibrationPage"));
    m_calibrate->setAutoDefault(false);
    auto* calibrateRow = new QHBoxLayout;
    calibrateRow->addWidget(m_calibrate);
    calibrateRow->addStretch();
    column->addWidget(m_calibrationNote);
    column->addLayout(calibrateRow);
    column->addStretch();
    m_calibrationNote->hide();
    m_calibrate->hide();
    connect(m_calibrate, &QPushButton::clicked, this, [this] {
        m_bCalibrationChosen = true;
        reject();
    });
    setOptionTabs({m_tab});
    // Qt's name for its printer choice; the note follows it.
    if (auto* printers = findChild<QComboBox*>(QStringLiteral("printers")))
        connect(printers, &QComboBox::currentTextChanged, this, &CLabelPrintDlg::ShowCalibrationNote);
}

void CLabelPrintDlg::ShowCalibrationNote(const QString& queue)
{
    std::optional<QPointF> margin;
    if (!CalibrationNoteSaid(queue) && !ReadPrinterCalibration(queue))
        margin = UnprintableMargin(queue);
    const bool bShown = margin && (margin->x() > 0 || margin->y() > 0);
    m_strNotedQueue = bShown ? queue : QString();
    if (bShown)
        m_calibrationNote->setText(
            QStringLiteral("打印机“%1”还没有校准：它在纸边留出不能打印的边距，标签会因此向右偏 %2 mm、向下偏 "
                           "%3 mm。打印一张校准页，用直尺量出偏移，以后的标签就会打在标签纸上。")
                .arg(queue, QString::number(margin->x(), 'g', 4), QString::number(margin->y(), 'g', 4)));
    m_calibrationNote->setVisible(bShown);
    m_calibrate->setVisible(bShown);
    if (QTabWidget* tabs = Tabs())
        tabs->setTabVisible(tabs->indexOf(m_tab), m_sheetList || bShown);
    if (bShown && isVisible())
        OpenTab();
}

QTabWidget* CLabelPrintDlg::Tabs() const
{
    for (QWidget* w = m_tab->parentWidget(); w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            return tabs;
    return nullptr;
}

void CLabelPrintDlg::OpenTab()
{
    // Qt keeps its option tabs folded away behind a button of the reset role.
    if (!m_tab->isVisible())
        for (QDialogButtonBox* box : findChildren<QDialogButtonBox*>())
            for (QAbstractButton* button : box->buttons())
                if (box->buttonRole(button) == QDialogButtonBox::ResetRole)
                    button->click();
    if (QTabWidget* tabs = Tabs())
        tabs->setCurrentWidget(m_tab);
}

void CLabelPrintDlg::showEvent(QShowEvent* event)
{
    QPrintDialog::showEvent(event);
    ShowCalibrationNote(printer()->outputFormat() == QPrinter::NativeFormat ? printer()->printerName()
                                                                            : QString());
    if (m_sheetList || !m_strNotedQueue.isEmpty())
        OpenTab();
}

void CLabelPrintDlg::accept()
{
    if (m_sheetList) {
        const QString problem = ReadSheetList(m_sheetList->text(), m_nSheets, m_sheets);
        if (!problem.isEmpty()) {
            m_problem->setText(problem);
            m_sheetList->setFocus();
            m_sheetList->selectAll();
            return;
        }
    }
    QPrintDialog::accept();
}

void CLabelPrintDlg::done(int nResult)
{
    // Said once: the next dialog for this queue prints without a word.
    if (!m_strNotedQueue.isEmpty())
        MarkCalibrationNoteSaid(m_strNotedQueue);
    QPrintDialog::done(nResult);
}

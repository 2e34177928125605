#include "print/CMarkerPreviewDlg.h"

#include "base/NumberText.h"
#include "print/PrintPage.h"
#include "wirelist/MarkerSheets.h"

#include <QAbstractScrollArea>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

// The job's sheets one under the other, each with its number beneath it.
// Only the sheets in view are made and drawn; their pictures are kept while
// they are near the view.
class CSheetPagesView : public QAbstractScrollArea
{
public:
    CSheetPagesView(CMarkerSheets& sheets, const CPrinterCalibration& calibration, QWidget* parent)
        : QAbstractScrollArea(parent), m_sheets(sheets), m_calibration(calibration),
          m_nSheets(std::min<std::size_t>(sheets.SheetCount(), INT_MAX / 4096))
    {
        setFocusPolicy(Qt::StrongFocus);
        viewport()->setAutoFillBackground(false);
    }

    std::size_t SheetCount() const { return m_nSheets; }

    void ShowSheet(std::size_t nSheet)
    {
        nSheet = std::clamp<std::size_t>(nSheet, 1, std::max<std::size_t>(m_nSheets, 1));
        verticalScrollBar()->setValue(static_cast<int>((nSheet - 1) * Pitch()));
    }

    std::size_t CurrentSheet() const
    {
        if (m_nSheets == 0)
            return 0;
        const int nTop = verticalScrollBar()->value() + Pitch() / 2;
        return std::min<std::size_t>(static_cast<std::size_t>(nTop / Pitch()) + 1, m_nSheets);
    }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        const std::size_t nSheet = CurrentSheet();
        const CPageFormat& format = m_sheets.Template().m_format;
        const double dFitHeight = (viewport()->height() - kGap - kCaption) / format.m_dPageHeight;
        const double dFitWidth = (viewport()->width() - 2 * kGap) / format.m_dPageWidth;
        const double dScale = std::max(1.0, std::min(dFitHeight, dFitWidth));
        if (dScale != m_dScale) {
            m_dScale = dScale;
            m_pictures.clear();
        }
        verticalScrollBar()->setRange(0, static_cast<int>(m_nSheets > 0 ? (m_nSheets - 1) * Pitch() : 0));
        verticalScrollBar()->setPageStep(Pitch());
        verticalScrollBar()->setSingleStep(std::max(1, Pitch() / 10));
        ShowSheet(nSheet);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
            ShowSheet(event->key() == Qt::Key_Home ? 1 : m_nSheets);
            return;
        }
        QAbstractScrollArea::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
        if (m_nSheets == 0)
            return;
        const int nTop = verticalScrollBar()->value();
        const std::size_t nFirst = static_cast<std::size_t>(nTop / Pitch()) + 1;
        const std::size_t nLast = std::min<std::size_t>(
            static_cast<std::size_t>((nTop + viewport()->height()) / Pitch()) + 1, m_nSheets);
        for (std::size_t n = nFirst; n <= nLast; ++n) {
            const QImage& picture = Picture(n);
            const int x = (viewport()->width() - picture.width()) / 2;
            const int y = static_cast<int>((n - 1) * Pitch()) - nTop + kGap / 2;
            painter.drawImage(x, y, picture);
            painter.setPen(palette().color(QPalette::BrightText));
            painter.drawText(QRect(0, y + picture.height(), viewport()->width(), kCaption), Qt::AlignCenter,
                             QStringLiteral("第 %1 页，共 %2 页").arg(NumberText(n), NumberText(m_nSheets)));
        }
        Forget(nFirst, nLast);
    }

private:
    static constexpr int kGap = 16;
    static constexpr int kCaption = 24;
    static constexpr std::size_t kKeptAround = 3; // pictures kept beyond those in view

    int PageHeight() const
    {
        return static_cast<int>(std::lround(m_sheets.Template().m_format.m_dPageHeight * m_dScale));
    }
    int Pitch() const { return PageHeight() + kGap + kCaption; }

    const QImage& Picture(std::size_t nSheet)
    {
        if (const auto found = m_pictures.find(nSheet); found != m_pictures.end())
            return found->second;
        const CPageFormat& format = m_sheets.Template().m_format;
        QImage picture(static_cast<int>(std::lround(format.m_dPageWidth * m_dScale)), PageHeight(),
                       QImage::Format_RGB32);
        picture.setDotsPerMeterX(static_cast<int>(std::lround(m_dScale * 1000)));
        picture.setDotsPerMeterY(static_cast<int>(std::lround(m_dScale * 1000)));
        picture.fill(Qt::white);
        CSheet sheet;
        if (m_sheets.SheetAt(nSheet, sheet)) {
            QPainter painter(&picture);
            PrintSheetPage(painter, sheet, PrintMode::Preview, m_calibration);
        }
        return m_pictures.emplace(nSheet, std::move(picture)).first->second;
    }

    void Forget(std::size_t nFirst, std::size_t nLast)
    {
        for (auto it = m_pictures.begin(); it != m_pictures.end();) {
            if (it->first + kKeptAround < nFirst || it->first > nLast + kKeptAround)
                it = m_pictures.erase(it);
            else
                ++it;
        }
    }

    CMarkerSheets& m_sheets;
    CPrinterCalibration m_calibration;
    std::size_t m_nSheets;
    double m_dScale = 1.0; // pixels per millimetre
    std::map<std::size_t, QImage> m_pictures;
};

CMarkerPreviewDlg::CMarkerPreviewDlg(CMarkerSheets& sheets, const CPrinterCalibration& calibration,
                                     QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("打印预览"));
    m_view = new CSheetPagesView(sheets, calibration, this);
    const int nSheets = static_cast<int>(m_view->SheetCount());

    m_sheetNumber = new QSpinBox(this);
    m_sheetNumber->setObjectName(QStringLiteral("sheetNumber"));
    m_sheetNumber->setRange(std::min(1, nSheets), nSheets);
    m_sheetNumber->setPrefix(QStringLiteral("第 "));
    m_sheetNumber->setSuffix(
        QStringLiteral(" 页，共 %1 页").arg(NumberText(static_cast<std::size_t>(nSheets))));
    m_sheetNumber->setLocale(CountLocale());
    m_sheetNumber->setGroupSeparatorShown(true);
    m_sheetNumber->setKeyboardTracking(false);
    auto* sheetLabel = new QLabel(QStringLiteral("转到(&G):"), this);
    sheetLabel->setBuddy(m_sheetNumber);

    // No button is the default: Enter belongs to the sheet box, and a job of
    // thousands of sheets is printed only by a click (or Alt+P) on 打印.
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* print = buttons->addButton(QStringLiteral("打印(&P)..."), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    for (QPushButton* button : {print, close})
        button->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, [this] {
        m_bPrintChosen = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bar = new QHBoxLayout;
    bar->addWidget(sheetLabel);
    bar->addWidget(m_sheetNumber);
    bar->addStretch();
    bar->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);
    resize(720, 860);

    connect(m_sheetNumber, &QSpinBox::valueChanged, this, [this](int nSheet) {
        if (static_cast<std::size_t>(nSheet) != CurrentSheet())
            ShowSheet(static_cast<std::size_t>(nSheet));
    });
    m_sheetNumber->installEventFilter(this);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        const QSignalBlocker blocker(m_sheetNumber);
        m_sheetNumber->setValue(static_cast<int>(CurrentSheet()));
    });
    m_view->setFocus();
}

void CMarkerPreviewDlg::ShowSheet(std::size_t nSheet)
{
    m_view->ShowSheet(nSheet);
}

std::size_t CMarkerPreviewDlg::CurrentSheet() const
{
    return m_view->CurrentSheet();
}

bool CMarkerPreviewDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The spin box passes Enter on to the dialog once it has taken the
    // number; the number is the whole answer, so Enter ends there.
    if (watched == m_sheetNumber && event->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(event)->key();
        if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter) {
            m_sheetNumber->interpretText();
            ShowSheet(static_cast<std::size_t>(m_sheetNumber->value()));
            m_sheetNumber->selectAll();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

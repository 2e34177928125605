#include "app/CMainController.h"

#include "model/CSheetModel.h"
#include "model/CTAVRODoc.h"
#include "sheets/CDocTypeDlg.h"
#include "view/CTAVROView.h"

#include <QAction>
#include <QIcon>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QUndoStack>

#include <map>
#include <tuple>

namespace {

QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// A toolbar picture with a disabled look of its own: grey and faint, so a
// disabled button never looks enabled (the look Qt derives from a dark SVG
// picture stays almost black). Each size is drawn from the SVG file when
// first asked for, so that none is read before the window is shown, and each
// file is read once a size (Qt's own SVG icons read it three times).
class CToolbarIconEngine : public QIconEngine
{
public:
    explicit CToolbarIconEngine(const QString& name) : m_strFile(QStringLiteral(":/icons/%1.svg").arg(name))
    {}

    QIconEngine* clone() const override { return new CToolbarIconEngine(*this); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const bool bDisabled = mode == QIcon::Disabled;
        QPixmap& cached = m_cache[{size.width(), size.height(), bDisabled}];
        if (cached.isNull())
            cached = bDisabled ? Faded(pixmap(size, QIcon::Normal, state)) : Drawn(size);
        return cached;
    }

private:
    // The picture scaled into `size`, its proportions kept.
    QPixmap Drawn(const QSize& size) const
    {
        QSvgRenderer renderer(m_strFile);
        QSize drawn = renderer.defaultSize();
        if (!renderer.isValid() || drawn.isEmpty() || size.isEmpty())
            return {};
        drawn.scale(size, Qt::KeepAspectRatio);
        QImage image(drawn, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        return QPixmap::fromImage(image);
    }

    static QPixmap Faded(const QPixmap& normal)
    {
        QImage faded = normal.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < faded.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
            for (int x = 0; x < faded.width(); ++x) {
                const int nGrey = 128 + qGray(line[x]) / 2;
                line[x] = qRgba(nGrey, nGrey, nGrey, qAlpha(line[x]) * 2 / 5);
            }
        }
        return QPixmap::fromImage(faded);
    }

    QString m_strFile;
    std::map<std::tuple<int, int, bool>, QPixmap> m_cache;
};

QIcon ToolbarIcon(const QString& name)
{
    return QIcon(new CToolbarIconEngine(name));
}

void SetTexts(QAction* action, const char* szName, const char* szText, const char* szPrompt,
              const char* szToolTip, const char* szIcon, const QList<QKeySequence>& keys)
{
    action->setObjectName(QLatin1String(szName));
    action->setText(Utf8(szText));
    action->setStatusTip(Utf8(szPrompt));
    if (szToolTip[0])
        action->setToolTip(Utf8(szToolTip));
    if (szIcon[0]) {
        action->setIcon(ToolbarIcon(Utf8(szIcon)));
        action->setIconVisibleInMenu(false);
    }
    action->setShortcuts(keys);
}

} // namespace

void ShowChecked(QAction* action, bool bChecked)
{
    action->setCheckable(bChecked);
    action->setChecked(bChecked);
}

CMainController::CMainController(CTAVRODoc& document, CTAVROView& view, QObject* parent)
    : QObject(parent), m_document(document), m_view(view)
{
    CreateFileActions();
    CreateEditActions();
    CreateFormatActions();
    CreateViewActions();

    const CSheetModel* pModel = &document.Model();
    connect(pModel, &CSheetModel::selectionChanged, this, &CMainController::UpdateSelectionActions);
    connect(pModel, &CSheetModel::labelsChanged, this, &CMainController::UpdateAutoShrinkAction);
    connect(pModel, &CSheetModel::labelsChanged, this, &CMainController::UpdateDirectionActions);
    UpdateSelectionActions();
    SetRecentFileCount(0);
}

CMainController::~CMainController() = default;

QAction* CMainController::Action(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

CPrintService& CMainController::Printing()
{
    if (!m_pPrinting)
        m_pPrinting = std::make_unique<CPrintService>();
    return *m_pPrinting;
}

QAction* CMainController::RecentFileAction(int nIndex) const
{
    return m_recentFileActions.value(nIndex);
}

QAction* CMainController::AddAction(const CActionText& text, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(this);
    SetTexts(action, text.szName, text.szText, text.szPrompt, text.szToolTip, text.szIcon, keys);
    return action;
}

QAction* CMainController::AddSelectionAction(const CActionText& text, const QList<QKeySequence>& keys)
{
    QAction* action = AddAction(text, keys);
    m_selectionActions.append(action);
    return action;
}

void CMainController::AddHistoryAction(QAction* action, const char* szName, const char* szCommand,
                                       const char* szMnemonic, const char* szPrompt, const char* szIcon,
                                       const QList<QKeySequence>& keys)
{
    SetTexts(action, szName, szCommand, szPrompt, "", szIcon, keys);
    // The history names the step on every change ("撤销 设定文字"), after
    // which the menu item gets its mnemonic back and the button the plain
    // name as its tip.
    const QString mnemonic = Utf8(szMnemonic);
    const auto showStep = [action, mnemonic] {
        const QString strName = action->text();
        if (strName.endsWith(mnemonic))
            return;
        action->setText(strName + mnemonic);
        action->setToolTip(strName);
    };
    showStep();
    connect(action, &QAction::changed, this, showStep);
}

void CMainController::UpdateSelectionActions()
{
    const bool bSelected = m_document.Model().SelectedCount() > 0;
    for (QAction* action : std::as_const(m_selectionActions))
        action->setEnabled(bSelected);
    UpdatePasteAction();
    UpdateAutoShrinkAction();
    UpdateDirectionActions();
}

void CMainController::UpdateAutoShrinkAction()
{
    const CSheetModel& model = m_document.Model();
    const std::optional<LabelIndex> first = model.FirstSelected();
    QAction* action = Action(QStringLiteral("actionAutoShrink"));
    action->setEnabled(first.has_value());
    ShowChecked(action, first && model.Label(*first).m_bAutoShrink != 0);
}

void CMainController::SetRecentFileCount(int nCount)
{
    for (int i = 0; i < m_recentFileActions.size(); ++i)
        m_recentFileActions[i]->setEnabled(i < nCount);
}

#include "app/CMainController.h"

#include "model/CSheetModel.h"
#include "model/CTAVRODoc.h"
#include "text/LabelFormat.h"
#include "text/TextCommands.h"
#include "view/CTAVROView.h"

#include <QAction>

namespace {

// The nine alignments of the format bar, top left to bottom right.
struct CAlignmentAction
{
    const char* szName;
    const char* szText;
    const char* szIcon;
    HAlign m_hAlign;
    VAlign m_vAlign;
};

constexpr CAlignmentAction kAlignments[] = {
    {"actionAlignTopLeft", "靠上左对齐", "align-top-left", HAlign::Left, VAlign::Top},
    {"actionAlignTopCentre", "靠上中对齐", "align-top-centre", HAlign::Centre, VAlign::Top},
    {"actionAlignTopRight", "靠上右对齐", "align-top-right", HAlign::Right, VAlign::Top},
    {"actionAlignMiddleLeft", "靠中左对齐", "align-middle-left", HAlign::Left, VAlign::Middle},
    {"actionAlignMiddleCentre", "靠中中对齐", "align-middle-centre", HAlign::Centre, VAlign::Middle},
    {"actionAlignMiddleRight", "靠中右对齐", "align-middle-right", HAlign::Right, VAlign::Middle},
    {"actionAlignBottomLeft", "靠下左对齐", "align-bottom-left", HAlign::Left, VAlign::Bottom},
    {"actionAlignBottomCentre", "靠下中对齐", "align-bottom-centre", HAlign::Centre, VAlign::Bottom},
    {"actionAlignBottomRight", "靠下右对齐", "align-bottom-right", HAlign::Right, VAlign::Bottom},
};

// The text directions of the format bar's direction menu.
struct CDirectionAction
{
    const char* szName;
    const char* szText;
    const char* szPrompt;
    const char* szIcon;
    TextDirection m_direction;
};

constexpr CDirectionAction kDirections[] = {
    {"actionDirectionHorizontal", "横排", "文字横排", "text-direction-horizontal", TextDirection::Horizontal},
    {"actionDirectionUp", "向上", "文字向左转，由下往上读", "text-direction-up", TextDirection::Up},
    {"actionDirectionDown", "向下", "文字向右转，由上往下读", "text-direction-down", TextDirection::Down},
    {"actionDirectionUpsideDown", "倒置", "文字倒置", "text-direction-upside-down",
     TextDirection::UpsideDown},
    {"actionDirectionVertical", "竖排", "中文竖排，由上往下、由右往左", "text-direction-vertical",
     TextDirection::Vertical},
};

} // namespace

void CMainController::UpdateDirectionActions()
{
    const CSheetModel& model = m_document.Model();
    const std::optional<LabelIndex> first = model.FirstSelected();
    for (const CDirectionAction& direction : kDirections)
        ShowChecked(Action(QLatin1String(direction.szName)),
                    first && DirectionOfFont(model.Label(*first).m_logFont) == direction.m_direction);
}

template <typename Command>
void CMainController::ApplyFormat(const QString& strStep, Command command)
{
    m_document.Model().EditGrid(command, CSheetModel::Marking::Always, strStep);
}

// The label format bar.
void CMainController::CreateFormatActions()
{
    QAction* action = AddSelectionAction({"actionFont", "字体", "设置字体", "字体", "font"});
    connect(action, &QAction::triggered, this, [this] {
        ApplyFormat(QStringLiteral("字体"),
                    [this](const LabelGrid& grid) { return RunFont(&m_view, grid).has_value(); });
    });
    // Enabled and checked by the template label, not by the selection alone.
    action = AddAction({"actionAutoShrink", "自动缩小", "文字太多时按比例缩小", "自动缩小", "auto-shrink"});
    connect(action, &QAction::triggered, this, [this] {
        ApplyFormat(QStringLiteral("自动缩小"), [](const LabelGrid& grid) {
            if (!FindTemplateLabel(grid))
                return false;
            ToggleAutoShrink(grid);
            return true;
        });
    });
    action =
        AddSelectionAction({"actionLabelSettings", "标签设置", "标签设置", "标签设置", "label-settings"});
    connect(action, &QAction::triggered, this, [this] {
        ApplyFormat(QStringLiteral("标签设置"), [this](const LabelGrid& grid) {
            const CPageFormat& format = m_view.Format();
            return RunLabelSettings(&m_view, grid, format.m_dLabelWidth, format.m_dLabelHeight).has_value();
        });
    });
    for (const CAlignmentAction& alignment : kAlignments) {
        action = AddSelectionAction(
            {alignment.szName, alignment.szText, alignment.szText, alignment.szText, alignment.szIcon});
        // The action's text names its undo step too.
        connect(action, &QAction::triggered, this, [this, alignment] {
            ApplyFormat(QString::fromUtf8(alignment.szText), [alignment](const LabelGrid& grid) {
                if (!FindTemplateLabel(grid))
                    return false;
                ApplyAlignment(grid, alignment.m_hAlign, alignment.m_vAlign);
                return true;
            });
        });
    }
    // The bar's button opens the menu of the directions; each is one step.
    AddSelectionAction({"actionTextDirection", "文字方向", "设置文字方向", "文字方向", "text-direction"});
    for (const CDirectionAction& direction : kDirections) {
        action = AddSelectionAction(
            {direction.szName, direction.szText, direction.szPrompt, direction.szText, direction.szIcon});
        action->setIconVisibleInMenu(true);
        connect(action, &QAction::triggered, this, [this, direction] {
            ApplyFormat(QStringLiteral("文字方向"), [direction](const LabelGrid& grid) {
                if (!FindTemplateLabel(grid))
                    return false;
                ApplyTextDirection(grid, direction.m_direction);
                return true;
            });
            // A checked entry chosen again unchecks itself; it is still the direction.
            UpdateDirectionActions();
        });
    }
}

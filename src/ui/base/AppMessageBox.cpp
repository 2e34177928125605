#include "base/AppMessageBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <utility>

namespace {

std::function<void()>& BeforeMessageBox()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

void SetBeforeMessageBox(std::function<void()> hook)
{
    BeforeMessageBox() = std::move(hook);
}

QMessageBox::StandardButton AppMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton)
{
    if (BeforeMessageBox())
        BeforeMessageBox()();
    QMessageBox box(icon, kAppName, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int ExecAppMessageBox(QMessageBox& box)
{
    if (BeforeMessageBox())
        BeforeMessageBox()();
    box.setWindowTitle(kAppName);
    return box.exec();
}

void ShowFieldMessage(QWidget* pField, const QString& message, bool bWarningIcon)
{
    AppMessageBox(pField ? pField->window() : nullptr,
                  bWarningIcon ? QMessageBox::Warning : QMessageBox::NoIcon, message);
    if (!pField)
        return;
    pField->setFocus(Qt::OtherFocusReason);
    if (auto* pLine = qobject_cast<QLineEdit*>(pField))
        pLine->selectAll();
    else if (auto* pText = qobject_cast<QPlainTextEdit*>(pField))
        pText->selectAll();
}

QString IntegerRequiredMessage()
{
    return QStringLiteral("请键入一个整数。");
}

QString PositiveIntegerMessage()
{
    return QStringLiteral("“请填入一个正整数。”");
}

QString IntegerRangeMessage(int nMin, int nMax)
{
    return QStringLiteral("“请填入一个在%1和%2之间的整数。”").arg(nMin).arg(nMax);
}

QString TextTooLongMessage(std::size_t nLimit)
{
    return QStringLiteral("“请填入不多于%1个的字符。”").arg(nLimit);
}

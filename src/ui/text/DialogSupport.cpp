#include "text/DialogSupport.h"

#include "base/CharacterText.h"
#include "model/FontFace.h"
#include "model/SharedConstants.h"
#include "text/EditText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <memory>

namespace {

// The text between `before` and `after` that is new in `after`, cut from its
// end until the whole of `after` takes at most `nAllowed` stored bytes.
QString CutInsertion(const QString& before, const QString& after, std::size_t nAllowed)
{
    qsizetype nPrefix = 0;
    while (nPrefix < before.size() && nPrefix < after.size() && before[nPrefix] == after[nPrefix])
        ++nPrefix;
    qsizetype nSuffix = 0;
    while (nSuffix < before.size() - nPrefix && nSuffix < after.size() - nPrefix &&
           before[before.size() - 1 - nSuffix] == after[after.size() - 1 - nSuffix])
        ++nSuffix;
    QString inserted = after.mid(nPrefix, after.size() - nPrefix - nSuffix);
    const QString head = after.left(nPrefix);
    const QString tail = after.right(nSuffix);
    while (!inserted.isEmpty() && StoredLength((head + inserted + tail).toStdString()) > nAllowed) {
        inserted.chop(1);
        if (!inserted.isEmpty() && inserted.back().isHighSurrogate())
            inserted.chop(1);
    }
    return head + inserted + tail;
}

std::optional<std::string> CheckText(QWidget* pField, const QString& text, std::size_t nLimit)
{
    const std::string utf8 = text.toStdString();
    if (const auto bad = FirstUnstorableCharacter(utf8)) {
        ShowFieldMessage(pField, QStringLiteral("字符 %1 无法保存在标签文字中，请删除或换用其他字符。")
                                     .arg(CharacterText(QString::fromStdString(*bad))));
        return std::nullopt;
    }
    const auto gbk = EditTextToGbk(utf8);
    if (!gbk || gbk->size() > nLimit) {
        ShowFieldMessage(pField, TextTooLongMessage(nLimit));
        return std::nullopt;
    }
    return gbk;
}

} // namespace

QFont DialogFont()
{
    QFont font(QString::fromUtf8(InstalledFamilyForFace(kSongFaceGbk)));
    font.setPixelSize(12);
    return font;
}

int DialogUnits(int nUnits)
{
    return nUnits * 3 / 2;
}

int DialogSpan(int nFrom, int nTo)
{
    return DialogUnits(nTo) - DialogUnits(nFrom);
}

COkCancelButtons MakeOkCancelButtons(QDialog* dialog)
{
    auto* pOk = new QPushButton(QStringLiteral("确定"), dialog);
    pOk->setObjectName(QStringLiteral("buttonOk"));
    pOk->setFixedSize(DialogSize(50, 14));
    pOk->setDefault(true);
    auto* pCancel = new QPushButton(QStringLiteral("取消"), dialog);
    pCancel->setFixedSize(DialogSize(50, 14));
    QObject::connect(pOk, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(pCancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return {pOk, pCancel};
}

QSize DialogSize(int cx, int cy)
{
    return QSize(DialogUnits(cx), DialogUnits(cy));
}

CUpperCaseEntry::CUpperCaseEntry(QWidget* pEdit) : QObject(pEdit)
{
    pEdit->installEventFilter(this);
}

bool CUpperCaseEntry::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (!m_bEnabled || pEvent->type() != QEvent::KeyPress)
        return false;
    auto* pKey = static_cast<QKeyEvent*>(pEvent);
    const QString upper = pKey->text().toUpper();
    if (pKey->text().isEmpty() || upper == pKey->text())
        return false;
    QKeyEvent converted(QEvent::KeyPress, pKey->key(), pKey->modifiers(), upper, pKey->isAutoRepeat(),
                        static_cast<ushort>(pKey->count()));
    // The converted event goes past this filter: its text is upper case.
    QApplication::sendEvent(pWatched, &converted);
    return true;
}

void LimitStoredLength(QLineEdit* pEdit, std::size_t nLimit)
{
    auto previous = std::make_shared<QString>(pEdit->text());
    QObject::connect(pEdit, &QLineEdit::textChanged, pEdit, [pEdit, nLimit, previous](const QString& text) {
        const std::size_t nBefore = StoredLength(previous->toStdString());
        const std::size_t nAllowed = std::max(nLimit, nBefore);
        if (StoredLength(text.toStdString()) > nAllowed && pEdit->isModified()) {
            const QString cut = CutInsertion(*previous, text, nAllowed);
            const int nCursor = pEdit->cursorPosition() - static_cast<int>(text.size() - cut.size());
            *previous = cut;
            pEdit->setText(cut);
            pEdit->setCursorPosition(std::max(0, nCursor));
            QApplication::beep();
            return;
        }
        *previous = text;
    });
}

CMultiLineEdit::CMultiLineEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    // A line of the box is a line of the label: long lines scroll sideways,
    // following the cursor without a scroll bar, and never wrap.
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(Qt::AlignHCenter);
    document()->setDefaultTextOption(option);
}

void CMultiLineEdit::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent == QKeySequence::Paste) {
        PastePlainText();
        pEvent->accept();
        return;
    }
    const bool bEnter = pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
    const QString typed = bEnter ? QStringLiteral("\n") : pEvent->text();
    if (m_nLimit > 0 && !isReadOnly() && !typed.isEmpty() && (bEnter || typed[0].isPrint())) {
        QTextCursor cursor = textCursor();
        const QString before = toPlainText();
        const QString after =
            before.left(cursor.selectionStart()) + typed + before.mid(cursor.selectionEnd());
        if (StoredLength(after.toStdString()) > std::max(m_nLimit, StoredLength(before.toStdString()))) {
            QApplication::beep();
            pEvent->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(pEvent);
}

// Qt's own paste reads the clipboard's MIME data, which some Qt versions
// crash on in a session whose clipboard was never owned: the plain text is
// all a label holds, so it is read as text and inserted as typed.
void CMultiLineEdit::PastePlainText()
{
    if (isReadOnly())
        return;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard)
        InsertLimited(clipboard->text(QClipboard::Clipboard));
}

void CMultiLineEdit::contextMenuEvent(QContextMenuEvent* pEvent)
{
    QMenu* menu = createStandardContextMenu(pEvent->pos());
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this, &CMultiLineEdit::PastePlainText);
    }
    menu->exec(pEvent->globalPos());
    delete menu;
}

void CMultiLineEdit::insertFromMimeData(const QMimeData* pSource)
{
    if (pSource && pSource->hasText())
        InsertLimited(pSource->text());
}

void CMultiLineEdit::InsertLimited(QString inserted)
{
    inserted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    inserted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor cursor = textCursor();
    if (m_nLimit == 0) {
        cursor.insertText(inserted);
        return;
    }
    const QString before = toPlainText();
    const QString head = before.left(cursor.selectionStart());
    const QString tail = before.mid(cursor.selectionEnd());
    const std::size_t nAllowed = std::max(m_nLimit, StoredLength(before.toStdString()));
    const qsizetype nWanted = inserted.size();
    while (!inserted.isEmpty() && StoredLength((head + inserted + tail).toStdString()) > nAllowed) {
        inserted.chop(1);
        if (!inserted.isEmpty() && inserted.back().isHighSurrogate())
            inserted.chop(1);
    }
    if (inserted.size() < nWanted)
        QApplication::beep();
    cursor.insertText(inserted);
}

std::optional<std::string> ReadTextField(QLineEdit* pEdit, std::size_t nLimit)
{
    return CheckText(pEdit, pEdit->text(), nLimit);
}

std::optional<std::string> ReadTextField(QPlainTextEdit* pEdit, std::size_t nLimit)
{
    return CheckText(pEdit, pEdit->toPlainText(), nLimit);
}

std::optional<int> ReadIntField(QLineEdit* pEdit, int nMin, int nMax)
{
    const auto value = ParseDialogInt(pEdit->text().toStdString());
    if (!value) {
        ShowFieldMessage(pEdit, IntegerRequiredMessage());
        return std::nullopt;
    }
    if (*value < nMin || *value > nMax) {
        ShowFieldMessage(pEdit, IntegerRangeMessage(nMin, nMax));
        return std::nullopt;
    }
    return value;
}

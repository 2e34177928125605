#pragma once

#include "base/AppMessageBox.h"

#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSize>
#include <QString>

#include <cstddef>
#include <optional>
#include <string>

class QFont;
class QLineEdit;
class QWidget;

// What the dialogs share: their font, dialog units and OK and Cancel
// buttons; and for the text and label settings dialogs the standard field
// messages, upper-case entry, byte limits and the reading of text fields into
// code page 936.

// The dialogs' 9-point "宋体", drawn with the installed Song-style face.
QFont DialogFont();

// Dialog units of a 9-point Song face: 4 units are one average character
// (6 pixels) across, 8 units one character (12 pixels) high. The dialogs'
// layouts keep their boxes, gaps and margins at these sizes.
int DialogUnits(int nUnits);
QSize DialogSize(int cx, int cy);
// The pixels from one place to another, both in dialog units: a layout that
// adds up such spans puts every control where its units place it, where
// adding up rounded sizes and gaps could drift by a pixel a step.
int DialogSpan(int nFrom, int nTo);

// The dialogs' 确定 (the default) and 取消 buttons, 50 × 14 units,
// connected to the dialog's accept and reject.
struct COkCancelButtons
{
    QPushButton* pOk;
    QPushButton* pCancel;
};
COkCancelButtons MakeOkCancelButtons(QDialog* dialog);

// Upper-case entry: while on, letters typed into the edit arrive in upper
// case. Pasted or earlier text is left as it is.
class CUpperCaseEntry : public QObject
{
    Q_OBJECT

public:
    explicit CUpperCaseEntry(QWidget* pEdit);
    void SetEnabled(bool bEnabled) { m_bEnabled = bEnabled; }
    bool IsEnabled() const { return m_bEnabled; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    bool m_bEnabled = true;
};

// Limits what can be typed or pasted into an edit to `nLimit` stored bytes
// (StoredLength). What is inserted is cut to fit; a text that was longer
// already, as read from a file, may shrink but never grow.
void LimitStoredLength(QLineEdit* pEdit, std::size_t nLimit);

// The multi-line edit of the text dialogs: centred lines that never wrap
// (long ones scroll sideways), Enter inserts a line break, Tab moves on, and
// what is typed or pasted is limited to a number of stored bytes (0: no
// limit) as LimitStoredLength does. Pasting inserts the clipboard's plain
// text through the same limit.
class CMultiLineEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CMultiLineEdit(QWidget* parent = nullptr);
    void SetStoredLimit(std::size_t nLimit) { m_nLimit = nLimit; }
    void PastePlainText();

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void insertFromMimeData(const QMimeData* pSource) override;

private:
    void InsertLimited(QString inserted);

    std::size_t m_nLimit = 0;
};

// Reads an edit's text as stored bytes. Shows the message and moves the
// focus to the field (returning nullopt) when a character cannot be stored
// in code page 936 or the text is longer than `nLimit` bytes.
std::optional<std::string> ReadTextField(QLineEdit* pEdit, std::size_t nLimit);
std::optional<std::string> ReadTextField(QPlainTextEdit* pEdit, std::size_t nLimit);

// Reads an integer field: "请键入一个整数。" or the range message on failure.
std::optional<int> ReadIntField(QLineEdit* pEdit, int nMin, int nMax);

#pragma once

#include "model/SharedConstants.h"

#include <QMessageBox>

#include <cstddef>
#include <functional>

// The program's messages: every message box goes through here, captioned
// with the program's name, and the standard texts of the fields live here
// once each.

// Run before every message box is shown: the splash window hides itself
// there, as a message needs the user's eyes and keys, which it would take.
void SetBeforeMessageBox(std::function<void()> hook);

// The program's name: the caption of every message box.
inline const QString kAppName = QString::fromLatin1(kAppCaption);

// A modal message box captioned with the program's name; returns the button
// the user chose.
QMessageBox::StandardButton AppMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                          QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// A message box the caller has made (buttons of its own, a check box), run
// as the others are: captioned with the program's name, modal. Returns
// exec()'s result; box.clickedButton() says which button was chosen.
int ExecAppMessageBox(QMessageBox& box);

// A field's value was refused: the message (with the warning icon, or plain
// for the dialogs' own messages), then the focus goes to `pField` with its
// text selected. Returns when the box is closed.
void ShowFieldMessage(QWidget* pField, const QString& message, bool bWarningIcon = true);

QString IntegerRequiredMessage();                // "请键入一个整数。"
QString PositiveIntegerMessage();                // "“请填入一个正整数。”"
QString IntegerRangeMessage(int nMin, int nMax); // "“请填入一个在%1和%2之间的整数。”"
QString TextTooLongMessage(std::size_t nLimit);  // "“请填入不多于%1个的字符。”"

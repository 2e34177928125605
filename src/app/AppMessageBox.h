#pragma once

#include "model/SharedConstants.h"

#include <QMessageBox>

// The program's name: the caption of every message box.
inline const QString kAppName = QString::fromLatin1(kAppCaption);

// A modal message box captioned with the program's name; returns the button
// the user chose.
QMessageBox::StandardButton AppMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                          QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

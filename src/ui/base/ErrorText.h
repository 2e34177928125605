#pragma once

#include "base/SystemErrorText.h"
#include "model/DocumentError.h"

#include <QString>

class QWidget;

// The front end's wording of what the core reports as codes with facts:
// every message about a document the user could not open or save is made
// here (system errors by SystemErrorText, characters by CharacterText).
QString DocumentErrorText(const CDocumentError& error);

// A file that could not be written (a PDF, say), and why.
QString CannotWriteText(const QString& path, const QString& reason);

// Shows the message of `error` over `window`.
void ShowDocumentError(QWidget* window, const CDocumentError& error);

#pragma once

class CTAVROView;
class QString;
class QWidget;

// "导入线号表(&W)...": asks for a wire list and shows it in the import dialog
// over the view's current sheet.
void ImportWireList(QWidget* parent, CTAVROView& view);
// The import dialog for the list at `path` (opened or dropped like a document).
void ImportWireListFile(QWidget* parent, CTAVROView& view, const QString& path);

// "序列编号(&Q)...": asks for a sequence pattern; fills the selected labels
// with its markers as one step, or prints them as a job like a wire list's.
void NumberWithPattern(QWidget* parent, CTAVROView& view);

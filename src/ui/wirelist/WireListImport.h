#pragma once

class CPrintService;
class CTAVROView;
class QString;
class QWidget;

// Every job prints as the sheet does: on the printer chosen and stored with
// 设置打印机, moved by the page offset in force in `printing` (which may be
// one that could not be saved).

// "导入线号表(&W)...": asks for a wire list and shows it in the import dialog
// over the view's current sheet.
void ImportWireList(QWidget* parent, CTAVROView& view, CPrintService& printing);
// The import dialog for the list at `path` (opened or dropped like a document).
void ImportWireListFile(QWidget* parent, CTAVROView& view, CPrintService& printing, const QString& path);

// "序列编号(&Q)...": asks for a sequence pattern; fills the selected labels
// with its markers as one step, or prints them as a job like a wire list's.
void NumberWithPattern(QWidget* parent, CTAVROView& view, CPrintService& printing);

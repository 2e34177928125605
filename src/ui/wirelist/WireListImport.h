#pragma once

class CTAVROView;
class QWidget;

// "导入线号表(&W)...": asks for a wire list and shows it in the import dialog
// over the view's current sheet.
void ImportWireList(QWidget* parent, CTAVROView& view);

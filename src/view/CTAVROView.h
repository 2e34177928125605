#pragma once

#include "app/CCommandMap.h"
#include "model/CPageFormat.h"
#include "model/CSheet.h"
#include "print/CPrinterSettings.h"
#include "sheets/CDocTypeDlg.h"
#include "text/LabelGrid.h"
#include "view/ViewGeometry.h"

#include <QAbstractScrollArea>
#include <QPen>

#include <array>
#include <vector>

class CBatchTextDlg;
class CLabelWnd;
class CTAVRODoc;

// The one view of the document: the current sheet drawn to scale with its
// rulers, hosting one label cell widget per label. The view owns the sheet
// (m_format and the cells); the document only points at the view.
//
// The 25 × 15 cells are made once and live as long as the view; a sheet
// format only decides which of them show. Cells outside rows × columns keep
// their content while hidden.
class CTAVROView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CTAVROView(CTAVRODoc* pDocument, QWidget* parent = nullptr);
    ~CTAVROView() override;

    CTAVRODoc* GetDocument() const { return m_pDocument; }
    const CCommandMap& CommandMap() const { return m_commands; }

    // The sheet as a file holds it: the format and every cell's record.
    CSheet GetSheet() const;
    // Takes a sheet read from a file: assigns format and records, without
    // notifying. OnInitialUpdate() follows.
    void SetSheet(const CSheet& sheet);
    // Every one of the 375 cells becomes selected and empty; formats stay.
    void ResetLabels();
    // After every new or opened document: zoom, show the cells of rows ×
    // columns, lay them out. Emits initialUpdateDone().
    void OnInitialUpdate();
    // The sheet type chosen last with New; the next new document takes it.
    const CPageFormat& LastChosenFormat() const { return m_dlgDocType.m_format; }

    // Zoom and scroll size from the client height.
    void UpdateZoom();
    // Zoom, size and place every cell of rows × columns, and show it.
    void LayoutLabels();

    // The cell of the grid, row 0..24 and column 0..14; null outside.
    CLabelWnd* Label(int nRow, int nColumn) const;
    // The scroll size: the scaled page plus 80 pixels each way.
    QSize ScrollSize() const { return {m_rcExtent.Width(), m_rcExtent.Height()}; }

    // Full-page display on or off (menu "整页显示").
    void OnFullPage();
    void OnUpdateFullPage(CCmdUI& cmdUI) const;
    // New: confirms the sheet type, then asks the frame for a new document.
    void OnFileNewSheet();

    // Selection (CTAVROView_Select.cpp). Every operation walks the cells of
    // rows × columns row by row from the top, left to right in a row.
    void OnSelectAll();
    void OnSelectNone();
    void OnInvertSelection();
    void OnSelectText();
    void OnSelectBlank();
    // The selected cells of rows × columns.
    int GetSelectedCount() const;
    // Enables a command exactly while a label is selected.
    void OnUpdateNeedSelection(CCmdUI& cmdUI) const;

    // Printing (src/print/CTAVROView_Print.cpp): one page per job; the
    // print commands set m_nPrintMode and post the print or the preview.
    void OnPrintLabels();
    void OnPrintBaseline();
    void OnPrintPreview();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnPageOffset();
    // Prints the calibration page of the sheet on a printer the user picks,
    // then asks for the measurements and stores that printer's calibration.
    void OnCalibrationPage();
    // The page callback: draws the page m_nPrintMode asks for (the preview
    // when bPreview), then sets m_nPrintMode back to none.
    void OnPrint(QPainter& painter, bool bPreview);
    int m_nPrintMode = -1;  // a PrintMode
    int m_nPageMoveX = 0;   // page offset, 0.01 mm
    int m_nPageMoveY = 0;
    CPrinterSettings m_printerSettings;

    CPageFormat m_format;
    double m_dMinZoom = kNormalMinZoom; // pixels per mm; 0 in full-page display
    double m_dZoom = 2.5;               // screen pixels per mm

Q_SIGNALS:
    void initialUpdateDone();
    // Posted once the New command was confirmed; the frame runs its file-new.
    void newDocumentRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // A command that acts on the selected labels: its handler, and the
    // update handler that disables it while none is selected.
    void OnSelectionCommand(int nID, CCommandMap::Handler handler);

    CCommandMap m_commands;

private:
    void OnLabelChanged();
    // Registers the selection commands and makes the band's window.
    void InitSelection();
    // Registers the print commands, loads the printer choice and the page offset.
    void InitPrinting();
    // Calls fn(cell) for every cell of rows × columns, in the grid walk.
    template <typename Fn>
    void ForEachGridLabel(Fn fn) const;
    CViewZoom CurrentZoom() const { return {m_dZoom, m_rcExtent.right, m_rcExtent.bottom}; }
    CPixelPoint ScrollPosition() const;

    CTAVRODoc* m_pDocument;
    std::array<std::array<CLabelWnd*, CPageFormat::kMaxColumns>, CPageFormat::kMaxRows> m_pLabels{};
    CPixelRect m_rcExtent; // (0, 0, scroll width, scroll height)
    QPen m_penRuler;
    QPen m_penBackground;

    // The rubber band: started by a left or right press on the page
    // background, ended by the first left or right release, which decides
    // whether the labels it touches are selected or deselected.
    bool m_bDragging = false;
    CPixelPoint m_ptDragStart; // view client pixels
    CPixelPoint m_ptDragEnd;
    QWidget* m_pBand = nullptr; // draws the band above the cells

    // Text and format commands on the selected labels (CTAVROView_Text.cpp,
    // CTAVROView_Format.cpp), and the sheet type of New. The template is the
    // first selected label of the grid walk; labels with text repaint.
public:
    void OnSetText();
    void OnClearText();
    void OnLabelDoubleClicked(CLabelWnd* pLabel);
    void OnFont();
    // nHAlign 0 left, 1 centre, 2 right; nVAlign 0 top, 4 middle, 8 bottom.
    void SetAlignment(int nHAlign, int nVAlign);
    void OnLabelSettings();
    void OnAutoShrink();
    void OnUpdateAutoShrink(CCmdUI& cmdUI) const;

private:
    void InitTextCommands();
    void InitFormatCommands();
    // The cells of rows × columns in the grid walk, and their records.
    std::vector<CLabelWnd*> GridLabels() const;
    LabelGrid GridRecords() const;
    // Repaints the changed labels that have text and marks the document modified.
    void FormatApplied(const LabelGrid& grid, const ChangedLabels& changed);

    // Kept for the program's life, so each remembers its last choice; the
    // next new document takes the sheet type chosen last.
    CDocTypeDlg m_dlgDocType;
    CBatchTextDlg* m_pBatchTextDlg = nullptr; // made at the first set-text
};

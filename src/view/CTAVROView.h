#pragma once

#include "app/CCommandMap.h"
#include "model/CPageFormat.h"
#include "model/CSheet.h"
#include "view/ViewGeometry.h"

#include <QAbstractScrollArea>
#include <QPen>

#include <array>

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
    const CPageFormat& LastChosenFormat() const { return m_formatLastChosen; }

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

    CCommandMap m_commands;

private:
    void OnLabelChanged();
    CViewZoom CurrentZoom() const { return {m_dZoom, m_rcExtent.right, m_rcExtent.bottom}; }
    CPixelPoint ScrollPosition() const;

    CTAVRODoc* m_pDocument;
    CPageFormat m_formatLastChosen;
    std::array<std::array<CLabelWnd*, CPageFormat::kMaxColumns>, CPageFormat::kMaxRows> m_pLabels{};
    CPixelRect m_rcExtent; // (0, 0, scroll width, scroll height)
    QPen m_penRuler;
    QPen m_penBackground;
};

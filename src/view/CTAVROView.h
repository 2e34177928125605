#pragma once

#include "app/CCommandMap.h"
#include "model/CPageFormat.h"
#include "model/CSheet.h"

#include <QAbstractScrollArea>

class CTAVRODoc;

// The one view of the document: the current sheet drawn to scale with its
// rulers, hosting one label cell widget per label. The view owns the sheet
// (m_format and the cells); the document only points at the view.
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
    // repainting or notifying. OnInitialUpdate() follows.
    void SetSheet(const CSheet& sheet);
    // Every one of the 375 cells becomes selected and empty; formats stay.
    void ResetLabels();
    // After every new or opened document: zoom, show the cells of rows ×
    // columns, lay them out. Emits initialUpdateDone().
    void OnInitialUpdate();
    // The sheet type chosen last with New; the next new document takes it.
    const CPageFormat& LastChosenFormat() const { return m_formatLastChosen; }

    CPageFormat m_format;

Q_SIGNALS:
    void initialUpdateDone();

protected:
    CCommandMap m_commands;

private:
    CTAVRODoc* m_pDocument;
    CPageFormat m_formatLastChosen;
    CSheet m_sheet; // stand-in storage until the label cells exist
};

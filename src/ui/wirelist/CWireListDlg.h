#pragma once

#include "model/CSheet.h"
#include "print/WireListPrint.h"
#include "wirelist/ListChoices.h"
#include "wirelist/MarkerSheets.h"
#include "wirelist/SequencePattern.h"
#include "wirelist/WireListReader.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPaintDevice;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTableView;
class CWireTableModel;

// "导入线号表": a wire list shown as a table, the options that turn its rows
// into markers with a live count, a picture of the first sheet, and the
// actions: fill the current sheet, preview, print, export every sheet to a
// PDF. The program is touched only through `applyToSelected`, which puts
// texts (code page 936) into the selected labels in scan order and returns
// how many it put.
class CWireListDlg : public QDialog
{
    Q_OBJECT

public:
    using ApplyTexts = std::function<std::size_t(const std::vector<std::string>&)>;

    CWireListDlg(const QString& path, const CSheet& sheet, int nPageMoveX, int nPageMoveY,
                 ApplyTexts applyToSelected, QWidget* parent = nullptr);
    // The same job for the markers of a sequence pattern ("序列编号"): the
    // options that read a list are not shown.
    CWireListDlg(const CSequencePattern& pattern, const QString& patternText, const CSheet& sheet,
                 int nPageMoveX, int nPageMoveY, ApplyTexts applyToSelected, QWidget* parent = nullptr);

    ~CWireListDlg() override;

    // The count line, e.g. "共 1,240 个标签，需要 9 页", or why there is none.
    QString CountText() const;
    // What the last action did, e.g. after 填入本页.
    QString StatusText() const;
    // 填入本页: the first markers into the current sheet's selected labels.
    void OnFill();

private:
    CWireListDlg(const CSheet& sheet, int nPageMoveX, int nPageMoveY, ApplyTexts applyToSelected,
                 QWidget* parent);
    // Shows the list at `path` with the choices last made for it, read once
    // the caller asks.
    void ShowList(const QString& path);
    CListChoices Choices() const;
    void ApplyChoices(const CListChoices& choices);
    void RememberChoices() const;
    void ReadWholeList();
    void Rebuild();
    void ShowEnds();
    void DrawFirstSheet();
    void OnPreview();
    void OnPrint();
    void OnExportPdf();
    // Runs `job` over the sheets to print with a cancellable progress dialog
    // when there are more than a few; false when cancelled.
    bool WithProgress(const QString& title, const CMarkerSheets& sheets,
                      const std::function<bool(const SheetProgress&)>& job);
    // The calibration of the printer a job prints on (else the machine-wide
    // offset).
    CPrinterCalibration PrinterCalibration(const QPrinter& printer) const;
    // Before a job prints (bPrint) or is exported: where labels would cut
    // markers off, says which and asks whether to shrink them, go on as they
    // are, or stop. Returns whether to shrink them; nullopt to stop.
    std::optional<bool> AskAboutClippedMarkers(const CMarkerSheets& sheets, QPaintDevice& device,
                                               const CPrinterCalibration& calibration, bool bPrint);
    CWireListOptions ReadOptions() const;
    CMarkerOptions MarkerOptions(QString& error) const;

    QString m_path;
    CSheet m_template;
    int m_nPageMoveX;
    int m_nPageMoveY;
    ApplyTexts m_applyToSelected;
    std::optional<CSequencePattern> m_pattern; // markers from a pattern instead of a list
    CWireList m_list;
    CMarkerList m_markers;
    QString m_strProblem;      // why the list could not be read, or empty
    QString m_strCountProblem; // why nothing can be printed, or empty

    QComboBox* m_recentLists = nullptr; // the lists used last, this one first
    QFormLayout* m_recentRow = nullptr; // "线号表" and m_recentLists
    QTableView* m_table = nullptr;
    CWireTableModel* m_tableModel = nullptr;
    QLabel* m_tableNote = nullptr;  // how many columns are not shown
    QLineEdit* m_columns = nullptr; // with m_twoEnds: end A's
    QCheckBox* m_twoEnds = nullptr;
    QLineEdit* m_farEndColumns = nullptr;
    QLineEdit* m_join = nullptr;
    QSpinBox* m_headerRows = nullptr;
    QCheckBox* m_skipEmptyCells = nullptr;
    QSpinBox* m_copies = nullptr;
    QLineEdit* m_quantityColumn = nullptr;
    QComboBox* m_encoding = nullptr;
    QPushButton* m_otherEncoding = nullptr; // the other plausible reading, when there is one
    QWidget* m_encodingRow = nullptr;       // the encoding and the other reading
    QLineEdit* m_worksheet = nullptr;
    QCheckBox* m_selectedOnly = nullptr;
    QFormLayout* m_options = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_status = nullptr; // what the last action did
    QLabel* m_picture = nullptr;
    std::vector<QPushButton*> m_actions;
};

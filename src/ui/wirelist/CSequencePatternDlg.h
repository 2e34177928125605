#pragma once

#include "wirelist/SequencePattern.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// "序列编号": a sequence pattern with the last ones used, a live list of its
// first markers and their count against the selected labels, and the two
// ways on: fill the selected labels (Fill) or print the markers as a job
// across as many sheets as they need (PrintAsJob).
class CSequencePatternDlg : public QDialog
{
    Q_OBJECT

public:
    enum Result { Fill = QDialog::Accepted + 1, PrintAsJob };

    // How many markers the list shows.
    static constexpr int kShownMarkers = 200;
    // How many patterns the box remembers.
    static constexpr int kRememberedPatterns = 10;

    CSequencePatternDlg(std::size_t nSelectedLabels, QWidget* parent = nullptr);

    // The pattern typed, and its markers once it gives some.
    QString PatternText() const;
    const std::optional<CSequencePattern>& Pattern() const { return m_pattern; }
    // "共 72 个，已选 70 个标签", or why the pattern gives no markers.
    QString CountText() const;

private:
    void Update();
    void Finish(Result result);

    std::size_t m_nSelectedLabels;
    std::optional<CSequencePattern> m_pattern;
    QComboBox* m_patternBox = nullptr;
    QListWidget* m_markerList = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_fill = nullptr;
    QPushButton* m_print = nullptr;
};

// The patterns used last, the newest first, and one more used.
QStringList RememberedPatterns();
void RememberPattern(const QString& pattern);

#include "text/BatchFill.h"

#include "text/Sequence.h"

namespace {

class CFill
{
public:
    explicit CFill(const LabelGrid& grid) : m_grid(grid) {}

    // Stores `text` when overwriting or when the label is empty, as the label
    // cell's own set-text does.
    void SetText(std::size_t i, const std::string& text, bool bOverwrite = true)
    {
        CLabelRecord& label = *m_grid[i];
        if (!bOverwrite && !label.m_strText.empty())
            return;
        label.m_strText = text;
        m_changed.push_back(i);
    }

    const ChangedLabels& Changed() const { return m_changed; }

private:
    const LabelGrid& m_grid;
    ChangedLabels m_changed;
};

} // namespace

ChangedLabels FillLabels(const LabelGrid& grid, const CBatchFillRequest& request)
{
    const std::string& prefix = request.m_strPrefix;
    const std::string& middle = request.m_strMiddle;
    const std::string& suffix = request.m_strSuffix;
    CFill fill(grid);
    if (prefix.empty() && middle.empty() && suffix.empty())
        return fill.Changed();

    int n = 0; // labels counted so far
    bool bStop = false;
    std::string letter;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        if (request.m_nCount <= n)
            break;
        if (!IsSelectedLabel(grid[i]))
            continue;
        const bool bHasText = !grid[i]->m_strText.empty();
        switch (request.m_nMode) {
        case CBatchFillRequest::SameText:
            ++n;
            fill.SetText(i, prefix + middle + suffix, !request.m_bSkipFilled);
            break;
        case CBatchFillRequest::Number:
            if (!request.m_bSkipFilled) {
                const std::string number = IncrementNumber(middle, n);
                ++n;
                fill.SetText(i, number == kNoNumber ? std::string() : prefix + number + suffix);
            } else if (!bHasText) {
                const std::string number = IncrementNumber(middle, n);
                if (number == kNoNumber)
                    return fill.Changed();
                ++n;
                fill.SetText(i, prefix + number + suffix);
            }
            break;
        case CBatchFillRequest::Letter:
            ++n;
            if (!request.m_bSkipFilled) {
                if (bStop) {
                    fill.SetText(i, std::string());
                } else {
                    letter = IncrementLetter(middle, n);
                    fill.SetText(i, prefix + letter + suffix);
                }
                if (letter == "Z" || letter == "z")
                    bStop = true;
            } else if (!bHasText) {
                letter = IncrementLetter(middle, n);
                fill.SetText(i, prefix + letter + suffix);
                if (letter == "Z" || letter == "z")
                    return fill.Changed();
            }
            break;
        default:
            return fill.Changed();
        }
    }
    return fill.Changed();
}

ChangedLabels ClearLabels(const LabelGrid& grid)
{
    CFill fill(grid);
    for (std::size_t i = 0; i < grid.size(); ++i)
        if (IsSelectedLabel(grid[i]))
            fill.SetText(i, std::string());
    return fill.Changed();
}

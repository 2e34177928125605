// libFuzzer target for clipboard HTML as 粘贴 reads it: any bytes are read
// into a table within the limits of a wire list or refused, without a
// crash, a leak, a hang or undefined behaviour; a paste either gives every
// cell as a label can store it or names why it gives none.
#include "clipboard/HtmlTable.h"
#include "clipboard/LabelClipboard.h"
#include "text/EditText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    CWireList list;
    if (!ReadHtmlTable(html, list)) {
        const CWireTable& table = list.m_table;
        std::size_t nCells = 0;
        for (std::size_t r = 0; r < table.RowCount(); ++r)
            for (std::size_t c = 0; c < table.CellCount(r); ++c, ++nCells)
                if (table.Cell(r, c).size() > html.size())
                    std::abort();
        if (table.RowCount() > kMaxWireListRows || nCells > kMaxWireListCells)
            std::abort();
    }
    const CClipboardTexts texts = ReadClipboardHtml(html);
    if (texts.m_refusal && !texts.m_texts.empty())
        std::abort();
    for (const std::string& text : texts.m_texts)
        if (text.size() > kLabelTextLimit)
            std::abort();
    return 0;
}

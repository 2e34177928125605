// libFuzzer target for the wire list reader: any bytes (text in any
// encoding, a zip workbook, junk) must be read or refused with a message,
// without a crash, a leak, a hang or undefined behaviour; whatever reads must
// give cells that can be visited and markers that fit a label.
#include "text/EditText.h"
#include "wirelist/WireListReader.h"
#include "wirelist/WireMarkers.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::size_t nRowLimit : {std::size_t{0}, std::size_t{3}}) {
        CWireListOptions options;
        options.m_nRowLimit = nRowLimit;
        CWireList list;
        if (const CWireListProblem problem = ReadWireListBytes(bytes, options, list)) {
            if (EnglishText(problem).empty())
                std::abort();
            continue;
        }
        const CWireTable& table = list.m_table;
        if (table.RowCount() == 0 || (nRowLimit && table.RowCount() > nRowLimit))
            std::abort();
        std::size_t nChars = 0;
        for (std::size_t r = 0; r < table.RowCount(); ++r)
            for (std::size_t c = 0; c <= table.ColumnCount(); ++c)
                nChars += table.Cell(r, c).size();
        (void)nChars;
        CMarkerOptions markerOptions;
        markerOptions.m_columns = {0, 1};
        markerOptions.m_quantityColumn = 2;
        CMarkerList markers;
        if (BuildMarkers(table, markerOptions, markers).empty())
            for (const CMarkerRun& run : markers)
                if (run.m_strText.size() > kLabelTextLimit)
                    std::abort();
    }
    return 0;
}

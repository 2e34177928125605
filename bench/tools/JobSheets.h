#pragma once

// The sheet and markers of the job benchmarks, as tests/e2e/job_word_boxes.sh
// makes them: 15 × 25 labels of 12 × 10 mm on A4 (margins 5 mm), every
// record as a new document has it, and markers that are Latin, Chinese, one
// and two lines.

#include "model/CSheet.h"
#include "model/Gbk.h"
#include "wirelist/WireMarkers.h"

#include <cstdio>
#include <string>

inline CSheet JobSheet()
{
    CSheet sheet;
    CPageFormat& format = sheet.m_format;
    format.m_dPageWidth = 210;
    format.m_dPageHeight = 297;
    format.m_dLeftMargin = format.m_dRightMargin = format.m_dTopMargin = format.m_dBottomMargin = 5;
    format.m_dLabelWidth = 12;
    format.m_dLabelHeight = 10;
    format.m_nColumns = 15;
    format.m_nRows = 25;
    format.Recalc();
    return sheet;
}

// The n'th marker (from 1), UTF-8, lines separated by \n.
inline std::string JobMarker(int n)
{
    const char* words[] = {"电机", "水泵", "火警", "黄绿", "用电"};
    char text[64];
    if (n % 7 == 0)
        std::snprintf(text, sizeof text, "W%05d\n%s", n, words[n % 5]);
    else if (n % 5 == 0)
        std::snprintf(text, sizeof text, "%s%d", words[n % 5], n);
    else
        std::snprintf(text, sizeof text, "W%05d", n);
    return text;
}

// Markers 1 to nCount as a job takes them: code page 936, CR LF.
inline CMarkerList JobMarkers(int nCount)
{
    CMarkerList markers;
    markers.Reserve(static_cast<std::size_t>(nCount) * 10); // a header byte and 6 to 13 of text
    for (int n = 1; n <= nCount; ++n) {
        std::string text = JobMarker(n);
        if (const std::size_t nBreak = text.find('\n'); nBreak != std::string::npos)
            text.replace(nBreak, 1, "\r\n");
        markers.Add({*Utf8ToGbk(text), 1, static_cast<std::uint32_t>(n)});
    }
    return markers;
}

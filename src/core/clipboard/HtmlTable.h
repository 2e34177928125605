#pragma once

#include "wirelist/WireListReader.h"

#include <string>
#include <string_view>

// Tables as spreadsheet programs put them on the clipboard in HTML: the
// richest form Calc and Excel offer, the one that keeps a cell's line breaks
// (their plain text loses them).

// The cells of the first table in `html` into list.m_table, row by row: a
// cell's text as a browser shows it, <br> and paragraph ends as line breaks,
// entities decoded, a cell spanning columns followed by empty ones. The
// limits of a wire list hold (rows, cells, a span's empty ones counted
// before they are made, and text): reading stops at the first one passed,
// which the problem names. NoCells when the HTML holds no table.
CWireListProblem ReadHtmlTable(std::string_view html, CWireList& list);

// HTML text for one cell of UTF-8 text: markup characters escaped, line
// breaks as <br>.
std::string HtmlCellText(std::string_view utf8);

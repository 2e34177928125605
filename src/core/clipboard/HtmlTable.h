#pragma once

#include "wirelist/WireTable.h"

#include <string>
#include <string_view>

// Tables as spreadsheet programs put them on the clipboard in HTML: the
// richest form Calc and Excel offer, the one that keeps a cell's line breaks
// (their plain text loses them).

// The cells of the first table in `html`, row by row: a cell's text as a
// browser shows it, <br> and paragraph ends as line breaks, entities
// decoded, a cell spanning columns followed by empty ones. False when the
// HTML holds no table.
bool ReadHtmlTable(std::string_view html, CWireTable& table);

// HTML text for one cell of UTF-8 text: markup characters escaped, line
// breaks as <br>.
std::string HtmlCellText(std::string_view utf8);

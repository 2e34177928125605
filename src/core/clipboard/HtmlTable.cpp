#include "clipboard/HtmlTable.h"

#include "wirelist/TableBuilder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace {

// A cell spanning more columns than this is a damaged table.
constexpr std::size_t kMaxColumnSpan = 1000;
// From & to ; an entity read is at most this long ("&#01114111;").
constexpr std::size_t kMaxEntityBytes = 11;

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t nFrom)
{
    for (std::size_t i = nFrom; i + what.size() <= text.size(); ++i)
        if (EqualsNoCase(text.substr(i, what.size()), what))
            return i;
    return std::string_view::npos;
}

void AppendUtf8(std::string& out, std::uint32_t nCode)
{
    if (nCode == 0 || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF))
        nCode = 0xFFFD;
    if (nCode < 0x80) {
        out += static_cast<char>(nCode);
    } else if (nCode < 0x800) {
        out += static_cast<char>(0xC0 | (nCode >> 6));
        out += static_cast<char>(0x80 | (nCode & 0x3F));
    } else if (nCode < 0x10000) {
        out += static_cast<char>(0xE0 | (nCode >> 12));
        out += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (nCode & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (nCode >> 18));
        out += static_cast<char>(0x80 | ((nCode >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}

// The text of a cell as a browser lays it out: runs of white space are one
// space, none at the start of a line or the end of the cell.
class CCellText
{
public:
    void Text(std::string_view html)
    {
        for (std::size_t i = 0; i < html.size(); ++i) {
            const char ch = html[i];
            if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f') {
                m_bSpace = true;
                continue;
            }
            Flush();
            if (ch != '&') {
                m_text += ch;
                continue;
            }
            // Only the next few bytes can end a known entity: a search
            // further on would cost a text of many "&" the square of its
            // length.
            const std::size_t nEnd = html.substr(0, i + kMaxEntityBytes).find(';', i);
            if (nEnd == std::string_view::npos || !Entity(html.substr(i + 1, nEnd - i - 1))) {
                m_text += ch;
                continue;
            }
            i = nEnd;
        }
    }
    void Break()
    {
        while (!m_text.empty() && m_text.back() == ' ')
            m_text.pop_back();
        m_text += '\n';
        m_bSpace = false;
    }
    bool Empty() const { return m_text.empty(); }
    std::string Take()
    {
        std::string text;
        text.swap(m_text);
        m_bSpace = false;
        const std::size_t nFirst = text.find_first_not_of(" \n");
        if (nFirst == std::string::npos)
            return {};
        return text.substr(nFirst, text.find_last_not_of(" \n") - nFirst + 1);
    }

private:
    void Flush()
    {
        if (m_bSpace && !m_text.empty() && m_text.back() != '\n')
            m_text += ' ';
        m_bSpace = false;
    }
    // Appends the character of "&name;"; false for a name it does not know.
    bool Entity(std::string_view name)
    {
        static const std::pair<std::string_view, std::uint32_t> kNames[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '},
        };
        for (const auto& [known, nCode] : kNames)
            if (name == known) {
                AppendUtf8(m_text, nCode);
                return true;
            }
        if (name.size() < 2 || name[0] != '#')
            return false;
        const bool bHex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(bHex ? 2 : 1);
        std::uint32_t nCode = 0;
        const auto [ptr, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), nCode, bHex ? 16 : 10);
        if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size())
            return false;
        AppendUtf8(m_text, nCode);
        return true;
    }

    std::string m_text;
    bool m_bSpace = false;
};

// The column span of a cell tag's attributes; 1 without one.
std::size_t ColumnSpan(std::string_view attributes)
{
    const std::size_t nAt = FindNoCase(attributes, "colspan", 0);
    if (nAt == std::string_view::npos)
        return 1;
    std::size_t i = attributes.find_first_of("0123456789", nAt);
    if (i == std::string_view::npos)
        return 1;
    std::size_t nSpan = 0;
    std::from_chars(attributes.data() + i, attributes.data() + attributes.size(), nSpan);
    return std::clamp<std::size_t>(nSpan, 1, kMaxColumnSpan);
}

} // namespace

CWireListProblem ReadHtmlTable(std::string_view html, CWireList& list)
{
    list = {};
    CTableBuilder builder(list, 0);
    bool bInTable = false;
    int nNested = 0; // tables inside a cell: their text joins the cell
    bool bRowOpen = false;
    bool bCellOpen = false;
    std::size_t nSpan = 1;
    CCellText cell;
    // Each returns false once a limit is passed.
    const auto endCell = [&] {
        if (!bCellOpen)
            return true;
        bCellOpen = false;
        const std::string text = cell.Take();
        if (!builder.Admits(1, nSpan, text.size()) || !builder.AddCell(text))
            return false;
        for (std::size_t i = 1; i < nSpan; ++i)
            if (!builder.AddCell({}))
                return false;
        return true;
    };
    const auto endRow = [&] {
        if (!endCell())
            return false;
        const bool bWasOpen = bRowOpen;
        bRowOpen = false;
        return !bWasOpen || builder.EndRow();
    };
    std::size_t i = 0;
    while (i < html.size() && !builder.Stopped()) {
        if (html[i] != '<') {
            const std::size_t nNext = std::min(html.find('<', i), html.size());
            if (bCellOpen)
                cell.Text(html.substr(i, nNext - i));
            i = nNext;
            continue;
        }
        if (html.substr(i).starts_with("<!--")) {
            const std::size_t nEnd = html.find("-->", i + 4);
            i = nEnd == std::string_view::npos ? html.size() : nEnd + 3;
            continue;
        }
        const std::size_t nClose = html.find('>', i);
        if (nClose == std::string_view::npos)
            break;
        std::string_view tag = html.substr(i + 1, nClose - i - 1);
        i = nClose + 1;
        const bool bClosing = tag.starts_with('/');
        if (bClosing)
            tag.remove_prefix(1);
        std::size_t nNameEnd = 0;
        while (nNameEnd < tag.size() && std::isalnum(static_cast<unsigned char>(tag[nNameEnd])))
            ++nNameEnd;
        const std::string_view name = tag.substr(0, nNameEnd);
        const std::string_view attributes = tag.substr(nNameEnd);
        // What these hold is never a cell's text.
        if (!bClosing &&
            (EqualsNoCase(name, "script") || EqualsNoCase(name, "style") || EqualsNoCase(name, "title"))) {
            const std::size_t nEnd = FindNoCase(html, "</" + std::string(name), i);
            i = nEnd == std::string_view::npos ? html.size() : nEnd;
            continue;
        }
        if (EqualsNoCase(name, "table")) {
            if (!bInTable) {
                bInTable = !bClosing;
            } else if (!bClosing) {
                ++nNested;
            } else if (nNested > 0) {
                --nNested;
            } else {
                endRow();
                break;
            }
            continue;
        }
        if (!bInTable)
            continue;
        if (nNested == 0 && EqualsNoCase(name, "tr")) {
            if (endRow())
                bRowOpen = !bClosing;
        } else if (nNested == 0 && (EqualsNoCase(name, "td") || EqualsNoCase(name, "th"))) {
            if (endCell() && !bClosing) {
                bRowOpen = true;
                bCellOpen = true;
                nSpan = ColumnSpan(attributes);
            }
        } else if (bCellOpen && (EqualsNoCase(name, "br") ||
                                 (bClosing && (EqualsNoCase(name, "p") || EqualsNoCase(name, "div") ||
                                               EqualsNoCase(name, "li"))))) {
            cell.Break();
        }
    }
    if (!bInTable)
        return {CWireListProblem::Kind::NoCells};
    endRow();
    builder.Finish();
    return builder.Problem();
}

std::string HtmlCellText(std::string_view utf8)
{
    std::string html;
    for (const char ch : utf8) {
        switch (ch) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\n':
            html += "<br>";
            break;
        case '\r':
            break;
        default:
            html += ch;
        }
    }
    return html;
}

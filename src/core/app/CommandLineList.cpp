#include "app/CommandLineList.h"

#include "model/Gbk.h"
#include "wirelist/SequencePattern.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

enum class ListOption {
    None,
    List,
    Pattern,
    Columns,
    Ends,
    Join,
    Header,
    KeepEmptyCells,
    Copies,
    QuantityColumn,
    Worksheet,
    Encoding,
    SelectedOnly,
    Pages,
    Shrink,
    AllowClipping
};

ListOption ListOptionOf(const std::string& arg)
{
    if (!arg.starts_with('-'))
        return ListOption::None;
    std::string name = arg.substr(arg.starts_with("--") ? 2 : 1);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    static const std::pair<const char*, ListOption> kNames[] = {
        {"list", ListOption::List},
        {"pattern", ListOption::Pattern},
        {"columns", ListOption::Columns},
        {"ends", ListOption::Ends},
        {"join", ListOption::Join},
        {"header", ListOption::Header},
        {"keep-empty-cells", ListOption::KeepEmptyCells},
        {"copies", ListOption::Copies},
        {"quantity-column", ListOption::QuantityColumn},
        {"worksheet", ListOption::Worksheet},
        {"encoding", ListOption::Encoding},
        {"selected-only", ListOption::SelectedOnly},
        {"pages", ListOption::Pages},
        {"shrink", ListOption::Shrink},
        {"allow-clipping", ListOption::AllowClipping},
    };
    for (const auto& [text, option] : kNames)
        if (name == text)
            return option;
    return ListOption::None;
}

std::optional<int> WholeNumberIn(const std::string& text, int nLowest, int nHighest)
{
    int nValue = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), nValue);
    if (ec != std::errc() || ptr != text.data() + text.size() || nValue < nLowest || nValue > nHighest)
        return std::nullopt;
    return nValue;
}

bool AllDigits(const std::string& text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char ch) { return std::isdigit(ch) != 0; });
}

} // namespace

ListSwitch TakeWireListSwitch(const std::vector<std::string>& args, std::size_t& i, CWireListRequest& request,
                              std::string& error)
{
    const std::string& arg = args[i];
    const ListOption option = ListOptionOf(arg);
    if (option == ListOption::None)
        return ListSwitch::NotList;
    if (option == ListOption::Header) {
        // Bare, one row names the columns; a number after it counts the rows.
        request.m_markers.m_nHeaderRows = 1;
        if (i + 1 < args.size() && AllDigits(args[i + 1])) {
            const std::optional<int> nRows = WholeNumberIn(args[++i], 0, kMaxHeaderRows);
            if (!nRows) {
                error = "--header takes a number of rows from 0 to " + std::to_string(kMaxHeaderRows) +
                        ", not '" + args[i] + "'";
                return ListSwitch::Error;
            }
            request.m_markers.m_nHeaderRows = static_cast<std::size_t>(*nRows);
        }
        return ListSwitch::Taken;
    }
    if (option == ListOption::KeepEmptyCells) {
        request.m_markers.m_bSkipEmptyCells = false;
        return ListSwitch::Taken;
    }
    if (option == ListOption::SelectedOnly) {
        request.m_bSelectedOnly = true;
        return ListSwitch::Taken;
    }
    if (option == ListOption::Shrink || option == ListOption::AllowClipping) {
        (option == ListOption::Shrink ? request.m_bShrinkCut : request.m_bAllowClipping) = true;
        return ListSwitch::Taken;
    }
    if (i + 1 == args.size()) {
        error = arg + " needs a value";
        return ListSwitch::Error;
    }
    const std::string& value = args[++i];
    switch (option) {
    case ListOption::List:
        if (!request.m_strPath.empty()) {
            error = "only one wire list can be printed at a time";
            return ListSwitch::Error;
        }
        if (value.empty()) {
            error = "--list needs the name of the wire list";
            return ListSwitch::Error;
        }
        request.m_strPath = value;
        break;
    case ListOption::Pattern:
        if (!request.m_strPattern.empty()) {
            error = "only one pattern can be printed at a time";
            return ListSwitch::Error;
        }
        if (value.empty()) {
            error = "--pattern needs a pattern, such as 'X{1-3}:{1-24}'";
            return ListSwitch::Error;
        }
        request.m_strPattern = value;
        break;
    case ListOption::Columns:
        if (const auto columns = ParseColumnList(value)) {
            request.m_markers.m_columns = *columns;
            request.m_bColumnsGiven = true;
            break;
        }
        error = "--columns takes column numbers from 1 or letters, separated by commas (1,3 or A,C), not '" +
                value + "'";
        return ListSwitch::Error;
    case ListOption::Ends:
        if (const std::optional<CEndColumns> ends = ParseEndColumns(value)) {
            request.m_markers.m_columns = ends->m_near;
            request.m_markers.m_farEndColumns = ends->m_far;
            break;
        }
        error = "--ends takes the columns of end A, a slash and those of end B (1,2/1,3 or A,B/A,C), not '" +
                value + "'";
        return ListSwitch::Error;
    case ListOption::QuantityColumn:
        if (const auto column = ParseColumn(value)) {
            request.m_markers.m_quantityColumn = *column;
            break;
        }
        error = "--quantity-column takes one column, a number from 1 or a letter, not '" + value + "'";
        return ListSwitch::Error;
    case ListOption::Join:
        request.m_markers.m_strJoin = value;
        break;
    case ListOption::Copies:
        if (const std::optional<int> nCopies = WholeNumberIn(value, 1, kMaxMarkerCopies)) {
            request.m_markers.m_nCopies = *nCopies;
            break;
        }
        error = "--copies takes a whole number from 1 to " + std::to_string(kMaxMarkerCopies) + ", not '" +
                value + "'";
        return ListSwitch::Error;
    case ListOption::Pages:
        if (const std::optional<CPageSelection> pages = CPageSelection::Parse(value)) {
            request.m_pages = *pages;
            break;
        }
        error = "--pages takes sheet numbers from 1 and ranges, separated by commas (7 or 7-9,12), not '" +
                value + "'";
        return ListSwitch::Error;
    case ListOption::Worksheet:
        request.m_read.m_strWorksheet = value;
        break;
    case ListOption::Encoding:
        if (!IsKnownEncoding(value.c_str())) {
            error =
                "unknown encoding '" + value + "' (names as iconv knows them: UTF-8, GB18030, UTF-16, ...)";
            return ListSwitch::Error;
        }
        request.m_read.m_strEncoding = value;
        break;
    default:
        break;
    }
    return ListSwitch::Taken;
}

std::string CheckWireListRequest(const CWireListRequest& request, bool bPrinting, bool bListSwitchSeen)
{
    if (request.m_bShrinkCut && request.m_bAllowClipping)
        return "--shrink and --allow-clipping cannot be combined";
    if (!request.m_strPattern.empty()) {
        if (!request.m_strPath.empty())
            return "--list and --pattern cannot be combined";
        if (!bPrinting)
            return "--pattern goes with --pdf, /p or /pt";
        const CWireListRequest plain;
        const CMarkerOptions& markers = request.m_markers;
        if (markers.m_columns != plain.m_markers.m_columns || !markers.m_farEndColumns.empty() ||
            markers.m_strJoin != plain.m_markers.m_strJoin || markers.m_nHeaderRows != 0 ||
            !markers.m_bSkipEmptyCells || markers.m_quantityColumn ||
            !request.m_read.m_strWorksheet.empty() || !request.m_read.m_strEncoding.empty())
            return "--columns, --ends, --join, --header, --keep-empty-cells, --quantity-column, --worksheet "
                   "and --encoding go with --list, not --pattern";
        CSequencePattern pattern;
        if (const std::optional<CPatternError> error = CSequencePattern::Parse(request.m_strPattern, pattern))
            return "--pattern: " + EnglishText(*error);
        return {};
    }
    if (request.m_strPath.empty())
        return bListSwitchSeen ? "the wire list options need --list WIRES or --pattern PATTERN"
                               : std::string();
    if (!bPrinting)
        return "--list goes with --pdf, /p or /pt";
    if (request.m_bColumnsGiven && !request.m_markers.m_farEndColumns.empty())
        return "--columns and --ends cannot be combined: --ends names the columns of both ends";
    if (request.m_markers.m_quantityColumn && request.m_markers.m_nCopies != 1)
        return "--copies and --quantity-column cannot be combined";
    return {};
}

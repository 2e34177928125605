#include "wirelist/TableBuilder.h"

#include "model/Gbk.h"
#include "wirelist/TextEncoding.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>

namespace {

// The list's text as UTF-8: a view of the file's own bytes when they are
// UTF-8 already, so a large list is not held twice.
struct CDecodedText
{
    std::string_view Text() const { return m_bConverted ? std::string_view(m_strConverted) : m_bytes; }

    std::string_view m_bytes; // the file's bytes from the first character on
    std::string m_strConverted;
    bool m_bConverted = false;
    std::string m_strEncoding;
    std::string m_strOtherEncoding; // another plausible reading, when weighed
    bool m_bWeighed = false;        // the encoding was weighed, neither named nor marked
};

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return text;
}

bool IsUtf8Name(const std::string& encoding)
{
    const std::string name = Upper(encoding);
    return name == "UTF-8" || name == "UTF8";
}

// `bytes` must outlive the result, which may view them. Text whose UTF-8
// would pass nTextLimit bytes is not decoded further (`bOverLimit`).
std::optional<CDecodedText> Decode(std::string_view bytes, const std::string& encoding,
                                   std::size_t nTextLimit, bool& bOverLimit)
{
    CDecodedText decoded;
    decoded.m_strEncoding = encoding;
    bOverLimit = false;
    if (IsUtf8Name(encoding)) {
        if (!IsValidIn(bytes, "UTF-8"))
            return std::nullopt;
        decoded.m_bytes = bytes;
        return decoded;
    }
    std::optional<std::string> text = ToUtf8Within(bytes, encoding.c_str(), nTextLimit, bOverLimit);
    if (!text)
        return std::nullopt;
    decoded.m_strConverted = std::move(*text);
    decoded.m_bConverted = true;
    return decoded;
}

CWireListProblem Problem(CWireListProblem::Kind kind, std::string detail = {})
{
    CWireListProblem problem{kind};
    problem.m_strDetail = std::move(detail);
    return problem;
}

CWireListProblem DecodeText(std::string_view bytes, const std::string& encoding, std::size_t nTextLimit,
                            CDecodedText& decoded)
{
    using Kind = CWireListProblem::Kind;
    bool bOverLimit = false;
    if (!encoding.empty()) {
        if (!IsKnownEncoding(encoding.c_str()))
            return Problem(Kind::UnknownEncoding, encoding);
        std::optional<CDecodedText> text = Decode(bytes, encoding, nTextLimit, bOverLimit);
        if (bOverLimit)
            return MoreTextThanAList();
        if (!text)
            return Problem(Kind::InvalidText, encoding);
        // A byte order mark the named encoding keeps is no part of the first cell.
        if (text->Text().starts_with("\xEF\xBB\xBF")) {
            if (text->m_bConverted)
                text->m_strConverted.erase(0, 3);
            else
                text->m_bytes.remove_prefix(3);
        }
        decoded = std::move(*text);
        return {};
    }
    struct CByteOrderMark
    {
        std::string_view m_bytes;
        const char* m_encoding;
    };
    static const std::array<CByteOrderMark, 3> kMarks = {
        {{"\xEF\xBB\xBF", "UTF-8"}, {"\xFF\xFE", "UTF-16LE"}, {"\xFE\xFF", "UTF-16BE"}}};
    for (const CByteOrderMark& mark : kMarks) {
        if (!bytes.starts_with(mark.m_bytes))
            continue;
        std::optional<CDecodedText> text =
            Decode(bytes.substr(mark.m_bytes.size()), mark.m_encoding, nTextLimit, bOverLimit);
        if (bOverLimit)
            return MoreTextThanAList();
        if (!text)
            return Problem(Kind::InvalidText, mark.m_encoding);
        decoded = std::move(*text);
        return {};
    }
    // Text that is not UTF-8 is read in the likelier of the readings
    // weighed, another plausible one offered beside it.
    std::optional<CDecodedText> text = Decode(bytes, "UTF-8", nTextLimit, bOverLimit);
    if (!text) {
        const CEncodingChoice choice = ChooseEncoding(bytes);
        if (!choice.m_strEncoding.empty())
            text = Decode(bytes, choice.m_strEncoding, nTextLimit, bOverLimit);
        if (bOverLimit)
            return MoreTextThanAList();
        if (!text)
            return Problem(Kind::NeitherUtf8NorGb18030);
        text->m_strOtherEncoding = choice.m_strOther;
        text->m_bWeighed = true;
    }
    decoded = std::move(*text);
    return {};
}

bool IsBinary(std::string_view text)
{
    std::size_t nControls = 0;
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte == 0)
            return true;
        if (byte < 0x20 && ch != '\t' && ch != '\n' && ch != '\r' && ch != '\f')
            ++nControls;
    }
    return nControls * 100 > text.size();
}

// The delimiter whose count is the same on most of the first records, with
// quoted text left out; a comma when none appears.
char DetectDelimiter(std::string_view text)
{
    constexpr std::array<char, 3> kCandidates = {',', ';', '\t'};
    constexpr std::size_t kSampleRecords = 50;
    std::vector<std::array<std::size_t, 3>> records(1);
    bool bQuoted = false;
    for (std::size_t i = 0; i < text.size() && records.size() <= kSampleRecords; ++i) {
        const char ch = text[i];
        if (ch == '"')
            bQuoted = !bQuoted;
        else if (!bQuoted && (ch == '\n' || ch == '\r')) {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            records.push_back({});
        } else if (!bQuoted) {
            for (std::size_t d = 0; d < kCandidates.size(); ++d)
                records.back()[d] += ch == kCandidates[d] ? 1 : 0;
        }
    }
    char best = ',';
    std::pair<std::size_t, std::size_t> bestScore{0, 0}; // records agreeing, then total
    for (std::size_t d = 0; d < kCandidates.size(); ++d) {
        std::map<std::size_t, std::size_t> countsSeen;
        std::size_t nTotal = 0;
        for (const auto& record : records) {
            if (record[d] > 0)
                ++countsSeen[record[d]];
            nTotal += record[d];
        }
        std::size_t nAgreeing = 0;
        for (const auto& [nCount, nRecords] : countsSeen)
            nAgreeing = std::max(nAgreeing, nRecords);
        const std::pair<std::size_t, std::size_t> score{nAgreeing, nTotal};
        if (score > bestScore) {
            bestScore = score;
            best = kCandidates[d];
        }
    }
    return best;
}

// The text of one cell as it is read: a view of the list's text while it is
// one run of it (nearly every cell), a copy only once a doubled quote or
// text after a closing quote makes it several runs.
class CCellText
{
public:
    explicit CCellText(std::string_view text) : m_text(text) {}
    void Append(std::size_t nBegin, std::size_t nEnd)
    {
        if (nBegin == nEnd)
            return;
        if (!m_bCopied && m_nEnd == 0) {
            m_nBegin = nBegin;
            m_nEnd = nEnd;
        } else if (!m_bCopied && m_nEnd == nBegin) {
            m_nEnd = nEnd;
        } else {
            if (!m_bCopied)
                m_strCopy.assign(m_text.substr(m_nBegin, m_nEnd - m_nBegin));
            m_bCopied = true;
            m_strCopy.append(m_text.substr(nBegin, nEnd - nBegin));
        }
    }
    bool Empty() const { return m_bCopied ? m_strCopy.empty() : m_nEnd == 0; }
    std::string_view View() const
    {
        return m_bCopied ? std::string_view(m_strCopy) : m_text.substr(m_nBegin, m_nEnd - m_nBegin);
    }
    void Clear()
    {
        m_nBegin = m_nEnd = 0;
        m_bCopied = false;
        m_strCopy.clear();
    }

private:
    std::string_view m_text;
    std::size_t m_nBegin = 0;
    std::size_t m_nEnd = 0; // 0: nothing yet (a run never ends at 0)
    bool m_bCopied = false;
    std::string m_strCopy;
};

// RFC 4180, leniently: a quote inside an unquoted cell is text, and text
// after a closing quote joins the cell. CR LF, LF and CR end a record.
CWireListProblem ParseDelimited(std::string_view text, char delimiter, CTableBuilder& builder)
{
    CCellText cell(text);
    std::size_t nRecord = 1;
    bool bRecordOpen = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char ch = text[i];
        if (ch == '"' && cell.Empty()) {
            const std::size_t nStartRecord = nRecord;
            ++i;
            for (;;) {
                const std::size_t nQuote = text.find('"', i);
                if (nQuote == std::string_view::npos) {
                    CWireListProblem problem{CWireListProblem::Kind::QuoteNotClosed};
                    problem.m_nRow = nStartRecord;
                    return problem;
                }
                cell.Append(i, nQuote);
                if (nQuote + 1 < text.size() && text[nQuote + 1] == '"') {
                    cell.Append(nQuote, nQuote + 1);
                    i = nQuote + 2;
                    continue;
                }
                i = nQuote + 1;
                break;
            }
            bRecordOpen = true;
            continue;
        }
        if (ch == delimiter) {
            if (!builder.AddCell(cell.View()))
                return builder.Problem();
            cell.Clear();
            bRecordOpen = true;
            ++i;
            continue;
        }
        if (ch == '\n' || ch == '\r') {
            i += ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            if (!builder.AddCell(cell.View()) || !builder.EndRow())
                return builder.Problem();
            cell.Clear();
            bRecordOpen = false;
            ++nRecord;
            continue;
        }
        // Unquoted text runs to the next delimiter, line end or quote.
        std::size_t nEnd = i + 1;
        while (nEnd < text.size() && text[nEnd] != delimiter && text[nEnd] != '\n' && text[nEnd] != '\r' &&
               text[nEnd] != '"')
            ++nEnd;
        cell.Append(i, nEnd);
        bRecordOpen = true;
        i = nEnd;
    }
    if (bRecordOpen && (!builder.AddCell(cell.View()) || !builder.EndRow()))
        return builder.Problem();
    return {};
}

} // namespace

CWireListProblem ReadTextList(std::string_view bytes, const CWireListOptions& options, CWireList& list,
                              std::size_t nTextLimit)
{
    CDecodedText decoded;
    if (CWireListProblem problem = DecodeText(bytes, options.m_strEncoding, nTextLimit, decoded))
        return problem;
    const std::string_view text = decoded.Text();
    if (IsBinary(text))
        return {CWireListProblem::Kind::Binary};
    list.m_kind = WireListKind::Text;
    list.m_strEncoding = decoded.m_strEncoding;
    list.m_strOtherEncoding = decoded.m_strOtherEncoding;
    list.m_bEncodingWeighed = decoded.m_bWeighed;
    list.m_cDelimiter = DetectDelimiter(text);
    // The cells' text is never longer than the list's, so the whole list
    // fits without the table's text growing past it.
    if (options.m_nRowLimit == 0)
        list.m_table.ReserveText(std::min(text.size(), kMaxWireListBytes));
    CTableBuilder builder(list, options.m_nRowLimit);
    CWireListProblem problem = ParseDelimited(text, list.m_cDelimiter, builder);
    builder.Finish();
    return problem;
}

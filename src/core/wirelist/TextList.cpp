#include "wirelist/TableBuilder.h"

#include "model/Gbk.h"

#include <uchardet.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>

namespace {

struct CDecodedText
{
    std::string m_strText; // UTF-8
    std::string m_strEncoding;
};

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return text;
}

// What libuchardet makes of text that is not UTF-8; "" when it cannot tell.
std::string GuessEncoding(std::string_view bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(
        uchardet_new(), &uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0)
        return {};
    uchardet_data_end(detector.get());
    return Upper(uchardet_get_charset(detector.get()));
}

// Encodings a guess may name instead of GB18030: other multi-byte East Asian
// ones, which GB18030 would read as the wrong characters. A single-byte code
// page reads any bytes at all, so such a guess never wins over GB18030, the
// encoding Chinese spreadsheet programs write CSV in.
bool OutranksGb18030(const std::string& guess)
{
    static const std::array<std::string_view, 8> kMultiByte = {
        "BIG5", "EUC-TW", "SHIFT_JIS", "EUC-JP", "EUC-KR", "UHC", "ISO-2022-JP", "ISO-2022-KR"};
    return std::find(kMultiByte.begin(), kMultiByte.end(), guess) != kMultiByte.end();
}

std::optional<CDecodedText> Decode(std::string_view bytes, const std::string& encoding)
{
    std::optional<std::string> text = ToUtf8(bytes, encoding.c_str());
    if (!text)
        return std::nullopt;
    return CDecodedText{std::move(*text), encoding};
}

std::string DecodeText(std::string_view bytes, const std::string& encoding, CDecodedText& decoded)
{
    if (!encoding.empty()) {
        if (!IsKnownEncoding(encoding.c_str()))
            return "unknown encoding '" + encoding + "'";
        std::optional<CDecodedText> text = Decode(bytes, encoding);
        if (!text)
            return "the text is not valid " + encoding;
        // A byte order mark the named encoding keeps is no part of the first cell.
        if (text->m_strText.starts_with("\xEF\xBB\xBF"))
            text->m_strText.erase(0, 3);
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
        std::optional<CDecodedText> text = Decode(bytes.substr(mark.m_bytes.size()), mark.m_encoding);
        if (!text)
            return std::string("the text is not valid ") + mark.m_encoding;
        decoded = std::move(*text);
        return {};
    }
    std::optional<CDecodedText> text = Decode(bytes, "UTF-8");
    const std::string guess = text ? std::string() : GuessEncoding(bytes);
    if (!text && OutranksGb18030(guess))
        text = Decode(bytes, guess);
    if (!text)
        text = Decode(bytes, "GB18030");
    if (!text)
        return "the text is neither UTF-8 nor GB18030";
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

// RFC 4180, leniently: a quote inside an unquoted cell is text, and text
// after a closing quote joins the cell. CR LF, LF and CR end a record.
std::string ParseDelimited(std::string_view text, char delimiter, CTableBuilder& builder)
{
    std::string cell;
    std::size_t nRecord = 1;
    bool bRecordOpen = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char ch = text[i];
        if (ch == '"' && cell.empty()) {
            const std::size_t nStartRecord = nRecord;
            ++i;
            for (;;) {
                if (i == text.size())
                    return "row " + std::to_string(nStartRecord) + ": a quoted cell is not closed";
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
            bRecordOpen = true;
            continue;
        }
        if (ch == delimiter) {
            if (!builder.AddCell(cell))
                return builder.Error();
            cell.clear();
            bRecordOpen = true;
            ++i;
            continue;
        }
        if (ch == '\n' || ch == '\r') {
            i += ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            if (!builder.AddCell(cell) || !builder.EndRow())
                return builder.Error();
            cell.clear();
            bRecordOpen = false;
            ++nRecord;
            continue;
        }
        cell += ch;
        bRecordOpen = true;
        ++i;
    }
    if (bRecordOpen && (!builder.AddCell(cell) || !builder.EndRow()))
        return builder.Error();
    return {};
}

} // namespace

std::string ReadTextList(std::string_view bytes, const CWireListOptions& options, CWireList& list)
{
    CDecodedText decoded;
    if (std::string error = DecodeText(bytes, options.m_strEncoding, decoded); !error.empty())
        return error;
    if (IsBinary(decoded.m_strText))
        return "not a wire list: the file holds binary data, not text or a workbook";
    list.m_kind = WireListKind::Text;
    list.m_strEncoding = decoded.m_strEncoding;
    list.m_cDelimiter = DetectDelimiter(decoded.m_strText);
    CTableBuilder builder(list, options.m_nRowLimit);
    std::string error = ParseDelimited(decoded.m_strText, list.m_cDelimiter, builder);
    builder.Finish();
    return error;
}

#include "wirelist/TextEncoding.h"

#include "model/Gbk.h"

#include <uchardet.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

namespace {

constexpr double kPlausible = 0.5;
// libuchardet weighs character frequencies, which breaks a tie between
// readings that are both plausible (Korean that also reads as common hanzi).
constexpr double kGuessWeight = 0.25;

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return text;
}

enum class Language {
    SimplifiedChinese,
    TraditionalChinese,
    Japanese,
    Korean,
    SingleByte, // letters of any alphabet, one byte each
};

Language LanguageOf(std::string_view encoding)
{
    const std::string name = Upper(std::string(encoding));
    for (const char* chinese : {"GB18030", "GBK", "CP936", "GB2312", "EUC-CN", "HZ-GB-2312"})
        if (name == chinese)
            return Language::SimplifiedChinese;
    if (name.starts_with("BIG5") || name == "EUC-TW" || name == "CP950")
        return Language::TraditionalChinese;
    for (const char* japanese : {"SHIFT_JIS", "SJIS", "CP932", "EUC-JP", "ISO-2022-JP", "EUC-JP-MS"})
        if (name == japanese)
            return Language::Japanese;
    for (const char* korean : {"EUC-KR", "UHC", "CP949", "ISO-2022-KR", "JOHAB"})
        if (name == korean)
            return Language::Korean;
    return Language::SingleByte;
}

std::vector<char32_t> CodePoints(std::string_view utf8)
{
    std::vector<char32_t> points;
    points.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t ch = n == 1 ? lead : lead & (0x7F >> n);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            ch = ch << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        points.push_back(ch);
        i += n;
    }
    return points;
}

// The characters of a double-byte encoding's rows [leadFirst, leadLast] with
// trail bytes in either range.
std::unordered_set<char32_t> CharactersOf(const char* encoding, int leadFirst, int leadLast,
                                          std::array<std::pair<int, int>, 2> trails)
{
    std::unordered_set<char32_t> characters;
    for (int lead = leadFirst; lead <= leadLast; ++lead)
        for (const auto& [first, last] : trails)
            for (int trail = first; trail <= last; ++trail) {
                const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (const std::optional<std::string> text = ToUtf8({code, 2}, encoding))
                    for (const char32_t ch : CodePoints(*text))
                        characters.insert(ch);
            }
    return characters;
}

bool InRange(char32_t ch, char32_t first, char32_t last)
{
    return ch >= first && ch <= last;
}

// Punctuation and full-width forms every East Asian language writes.
bool IsEastAsianPunctuation(char32_t ch)
{
    return InRange(ch, 0x3000, 0x303F) || InRange(ch, 0xFF01, 0xFF5E);
}

bool IsCommonIn(Language language, char32_t ch)
{
    if (IsEastAsianPunctuation(ch))
        return true;
    switch (language) {
    case Language::SimplifiedChinese: {
        // GB2312's first level: the 3,755 hanzi of everyday text.
        static const std::unordered_set<char32_t> kCommon =
            CharactersOf("GB18030", 0xB0, 0xD7, {{{0xA1, 0xFE}, {0, -1}}});
        return kCommon.contains(ch);
    }
    case Language::TraditionalChinese: {
        // Big5's frequent characters, A440 to C67E.
        static const std::unordered_set<char32_t> kCommon =
            CharactersOf("BIG5", 0xA4, 0xC6, {{{0x40, 0x7E}, {0xA1, 0xFE}}});
        return kCommon.contains(ch);
    }
    case Language::Japanese: {
        // JIS X 0208's first level of kanji (Shift_JIS 889F to 9872).
        static const std::unordered_set<char32_t> kCommon =
            CharactersOf("SHIFT_JIS", 0x88, 0x98, {{{0x40, 0x7E}, {0x80, 0xFC}}});
        return InRange(ch, 0x3041, 0x3096) || InRange(ch, 0x30A1, 0x30FC) || kCommon.contains(ch);
    }
    case Language::Korean:
        return InRange(ch, 0xAC00, 0xD7A3);
    case Language::SingleByte:
        break;
    }
    return false;
}

bool IsAsciiLetter(char32_t ch)
{
    return InRange(ch, 'A', 'Z') || InRange(ch, 'a', 'z');
}

bool IsLatinLetter(char32_t ch)
{
    return (InRange(ch, 0xC0, 0x24F) && ch != 0xD7 && ch != 0xF7);
}

// Letters of the alphabets single-byte encodings write besides Latin; the
// lower-case ones, or those of a script without case.
bool IsOtherLetter(char32_t ch, bool& bCapital)
{
    bCapital = InRange(ch, 0x386, 0x3AB) || InRange(ch, 0x400, 0x42F);
    return bCapital || InRange(ch, 0x3AC, 0x3CE) || InRange(ch, 0x430, 0x45F) || InRange(ch, 0x5D0, 0x5EA) ||
           InRange(ch, 0x621, 0x64A) || InRange(ch, 0xE01, 0xE3A) || InRange(ch, 0xE40, 0xE4E);
}

// A character of a single-byte reading is a word's letter: a Latin letter
// with an ASCII letter beside it ("schütz"), a letter of another alphabet
// among its own (a capital only before a lower-case one or after a letter).
bool IsWordLetter(const std::vector<char32_t>& points, std::size_t i)
{
    const char32_t ch = points[i];
    const char32_t before = i > 0 ? points[i - 1] : 0;
    const char32_t after = i + 1 < points.size() ? points[i + 1] : 0;
    if (IsLatinLetter(ch))
        return IsAsciiLetter(before) || IsAsciiLetter(after);
    bool bCapital = false;
    if (!IsOtherLetter(ch, bCapital))
        return false;
    if (!bCapital)
        return true;
    bool bCapitalAfter = false;
    bool bCapitalBefore = false;
    return (IsOtherLetter(after, bCapitalAfter) && !bCapitalAfter) || IsOtherLetter(before, bCapitalBefore);
}

// Slices of a large text from all over it, each whole lines, where every
// multi-byte encoding starts and ends a character; a small text whole.
std::vector<std::string_view> Sample(std::string_view bytes)
{
    constexpr std::size_t kSlices = 8;
    constexpr std::size_t kSliceBytes = 256 * 1024;
    if (bytes.size() <= kSlices * kSliceBytes)
        return {bytes};
    std::vector<std::string_view> slices;
    for (std::size_t i = 0; i < kSlices; ++i) {
        std::size_t nStart = bytes.size() / kSlices * i;
        if (i > 0) {
            const std::size_t nLineEnd = bytes.find('\n', nStart);
            nStart = nLineEnd == std::string_view::npos ? bytes.size() : nLineEnd + 1;
        }
        std::size_t nEnd = std::min(bytes.size(), nStart + kSliceBytes);
        const std::size_t nLastLineEnd = bytes.substr(nStart, nEnd - nStart).rfind('\n');
        if (nLastLineEnd != std::string_view::npos)
            nEnd = nStart + nLastLineEnd + 1;
        else if (const std::size_t nNext = bytes.find('\n', nEnd); nNext != std::string_view::npos)
            nEnd = nNext + 1;
        else
            nEnd = bytes.size();
        if (nStart < nEnd)
            slices.push_back(bytes.substr(nStart, nEnd - nStart));
    }
    return slices;
}

// What libuchardet makes of the sample; "" when it cannot tell.
std::string GuessEncoding(const std::vector<std::string_view>& sample)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(
        uchardet_new(), &uchardet_delete);
    if (!detector)
        return {};
    for (const std::string_view slice : sample)
        if (uchardet_handle_data(detector.get(), slice.data(), slice.size()) != 0)
            return {};
    uchardet_data_end(detector.get());
    const std::string guess = Upper(uchardet_get_charset(detector.get()));
    // Text called ISO-8859-1 or -9 is in practice written by Windows in its
    // supersets, which also give the bytes 0x80 to 0x9F characters (€, “).
    if (guess == "ISO-8859-1")
        return "WINDOWS-1252";
    if (guess == "ISO-8859-9")
        return "WINDOWS-1254";
    return guess;
}

struct CReading
{
    std::string m_strEncoding;
    double m_dPlausibility = 0;
    double m_dWeight = 0; // plausibility, and the detector's word
    bool m_bSingleByte = false;
    bool m_bPrintable = false; // every character one a label can hold
    std::size_t m_nTried = 0;  // the order the readings were tried in
};

} // namespace

double ReadingPlausibility(std::string_view utf8, std::string_view encoding)
{
    const Language language = LanguageOf(encoding);
    const std::vector<char32_t> points = CodePoints(utf8);
    std::size_t nCharacters = 0;
    double dSum = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i] < 0x80)
            continue;
        ++nCharacters;
        if (language == Language::SingleByte ? IsWordLetter(points, i) : IsCommonIn(language, points[i]))
            dSum += 1;
        else if (language == Language::SingleByte && !IsCodePage936Character(points[i]))
            dSum -= 1;
    }
    return nCharacters == 0 ? 1 : dSum / static_cast<double>(nCharacters);
}

CEncodingChoice ChooseEncoding(std::string_view bytes)
{
    const std::vector<std::string_view> sample = Sample(bytes);
    const std::string guess = GuessEncoding(sample);
    // In this order where readings weigh the same: labels hold code page
    // 936, and the lists are Chinese.
    std::vector<std::string> candidates = {"GB18030"};
    if (!guess.empty() && IsKnownEncoding(guess.c_str()))
        candidates.push_back(guess);
    for (const char* other : {"BIG5", "SHIFT_JIS", "EUC-JP"})
        candidates.push_back(other);
    std::vector<CReading> readings;
    for (const std::string& encoding : candidates) {
        if (std::any_of(readings.begin(), readings.end(),
                        [&](const CReading& reading) { return reading.m_strEncoding == encoding; }))
            continue;
        std::string text;
        bool bDecodes = true;
        for (const std::string_view slice : sample) {
            const std::optional<std::string> decoded = ToUtf8(slice, encoding.c_str());
            if (!decoded) {
                bDecodes = false;
                break;
            }
            text += *decoded;
        }
        if (!bDecodes)
            continue;
        const double dPlausibility = ReadingPlausibility(text, encoding);
        const std::vector<char32_t> points = CodePoints(text);
        readings.push_back({encoding, dPlausibility, dPlausibility + (encoding == guess ? kGuessWeight : 0),
                            LanguageOf(encoding) == Language::SingleByte,
                            std::all_of(points.begin(), points.end(), IsCodePage936Character)});
    }
    // Bytes that read as plausible text a label can hold are not read in a
    // single-byte encoding that gives characters it cannot hold ('Ø' for
    // the GBK of 红): that reading is dropped, however its letters weigh.
    const bool bPrintableReading = std::any_of(readings.begin(), readings.end(), [](const CReading& reading) {
        return !reading.m_bSingleByte && reading.m_bPrintable && reading.m_dPlausibility >= kPlausible;
    });
    if (bPrintableReading)
        std::erase_if(readings,
                      [](const CReading& reading) { return reading.m_bSingleByte && !reading.m_bPrintable; });
    // Equal weights keep the order the readings were tried in. (Not by
    // std::stable_sort: GCC 12's temporary buffer for it is allocated and
    // freed in ways AddressSanitizer reports as mismatched.)
    for (std::size_t i = 0; i < readings.size(); ++i)
        readings[i].m_nTried = i;
    std::sort(readings.begin(), readings.end(), [](const CReading& a, const CReading& b) {
        return a.m_dWeight != b.m_dWeight ? a.m_dWeight > b.m_dWeight : a.m_nTried < b.m_nTried;
    });
    CEncodingChoice choice;
    for (const CReading& reading : readings) {
        // The sample decoding says little of the rest of a large text.
        if (sample.size() > 1 || sample.front().size() != bytes.size())
            if (!IsValidIn(bytes, reading.m_strEncoding.c_str()))
                continue;
        if (choice.m_strEncoding.empty()) {
            choice.m_strEncoding = reading.m_strEncoding;
        } else if (reading.m_dPlausibility >= kPlausible) {
            choice.m_strOther = reading.m_strEncoding;
            break;
        }
    }
    return choice;
}

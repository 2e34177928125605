#include "wirelist/NumberFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// ---- decimal digits ------------------------------------------------------

// |value| as 0.DIGITS × 10^nExponent with at most 15 significant digits, the
// precision a spreadsheet keeps; DIGITS is empty for zero.
struct CDecimal
{
    std::string m_digits;
    int m_nExponent = 0;
};

CDecimal Significant(double dValue)
{
    CDecimal decimal;
    if (dValue == 0 || !std::isfinite(dValue))
        return decimal;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(dValue));
    const std::string_view text(buffer);
    const std::size_t nE = text.find('e');
    decimal.m_digits = std::string(1, text[0]) + std::string(text.substr(2, nE - 2));
    int nExponent = 0;
    const char* exponent = buffer + nE + 1;
    if (*exponent == '+')
        ++exponent;
    std::from_chars(exponent, buffer + text.size(), nExponent);
    decimal.m_nExponent = nExponent + 1;
    while (!decimal.m_digits.empty() && decimal.m_digits.back() == '0')
        decimal.m_digits.pop_back();
    return decimal;
}

// The integer digits (without leading zeros, "" for zero) and exactly
// nDecimals fraction digits of a decimal rounded half away from zero.
void Fixed(CDecimal decimal, int nDecimals, std::string& integer, std::string& fraction)
{
    std::string& digits = decimal.m_digits;
    int& nExponent = decimal.m_nExponent;
    const int nKeep = nExponent + nDecimals;
    if (nKeep < 0) {
        integer.clear();
        fraction.assign(static_cast<std::size_t>(nDecimals), '0');
        return;
    }
    if (static_cast<std::size_t>(nKeep) < digits.size()) {
        const bool bUp = digits[static_cast<std::size_t>(nKeep)] >= '5';
        digits.resize(static_cast<std::size_t>(nKeep));
        if (bUp) {
            int i = nKeep - 1;
            for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i)
                digits[static_cast<std::size_t>(i)] = '0';
            if (i < 0) {
                digits.insert(0, "1");
                ++nExponent;
            } else {
                ++digits[static_cast<std::size_t>(i)];
            }
        }
    }
    digits.resize(static_cast<std::size_t>(std::max(nExponent + nDecimals, 0)), '0');
    if (nExponent <= 0) {
        integer.clear();
        fraction = std::string(static_cast<std::size_t>(-nExponent), '0') + digits;
    } else {
        integer = digits.substr(0, static_cast<std::size_t>(nExponent));
        fraction = digits.substr(static_cast<std::size_t>(nExponent));
    }
    fraction.resize(static_cast<std::size_t>(nDecimals), '0');
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
}

std::string Padded(long long nValue, int nWidth)
{
    std::string text = std::to_string(nValue);
    if (static_cast<int>(text.size()) < nWidth)
        text.insert(0, static_cast<std::size_t>(nWidth) - text.size(), '0');
    return text;
}

std::string Grouped(const std::string& digits)
{
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

// ---- format codes ----------------------------------------------------------

enum class TokenKind {
    Literal,
    Digit, // m_text: "0", "#" or "?"
    Point,
    Comma,
    Percent,
    Exponent, // m_nCount: 1 for E+, 0 for E-
    Slash,
    General,
    At,
    Year,
    Month,
    Minute,
    Day,
    Hour,
    Second,
    SecondFraction, // m_nCount digits
    ElapsedHours,
    ElapsedMinutes,
    ElapsedSeconds,
    AmPm, // m_nCount: 2 for AM/PM, 1 for A/P
};

struct CToken
{
    TokenKind m_kind;
    std::string m_text;
    int m_nCount = 0;
};

struct CSection
{
    std::vector<CToken> m_tokens;
    bool m_bEnglish = false; // [$-409] and the like: English names

    bool Has(TokenKind kind) const
    {
        return std::any_of(m_tokens.begin(), m_tokens.end(),
                           [&](const CToken& t) { return t.m_kind == kind; });
    }
    bool IsDate() const
    {
        return std::any_of(m_tokens.begin(), m_tokens.end(),
                           [](const CToken& t) { return t.m_kind >= TokenKind::Year; });
    }
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::size_t RunLength(std::string_view code, std::size_t i)
{
    const char ch = static_cast<char>(std::tolower(static_cast<unsigned char>(code[i])));
    std::size_t n = i;
    while (n < code.size() && std::tolower(static_cast<unsigned char>(code[n])) == ch)
        ++n;
    return n - i;
}

void AddLiteral(CSection& section, std::string_view text)
{
    if (!section.m_tokens.empty() && section.m_tokens.back().m_kind == TokenKind::Literal)
        section.m_tokens.back().m_text += text;
    else
        section.m_tokens.push_back({TokenKind::Literal, std::string(text)});
}

// A bracketed part: elapsed time, a currency symbol with its locale; colours,
// conditions and the rest change nothing in the text.
void AddBracket(CSection& section, std::string_view inside)
{
    if (!inside.empty() &&
        (std::tolower(static_cast<unsigned char>(inside[0])) == 'h' ||
         std::tolower(static_cast<unsigned char>(inside[0])) == 'm' ||
         std::tolower(static_cast<unsigned char>(inside[0])) == 's') &&
        RunLength(inside, 0) == inside.size()) {
        const char unit = static_cast<char>(std::tolower(static_cast<unsigned char>(inside[0])));
        const TokenKind kind = unit == 'h'   ? TokenKind::ElapsedHours
                               : unit == 'm' ? TokenKind::ElapsedMinutes
                                             : TokenKind::ElapsedSeconds;
        section.m_tokens.push_back({kind, {}, static_cast<int>(inside.size())});
        return;
    }
    if (!inside.starts_with('$'))
        return;
    inside.remove_prefix(1);
    const std::size_t nDash = inside.find('-');
    AddLiteral(section, inside.substr(0, nDash));
    if (nDash == std::string_view::npos)
        return;
    unsigned nLocale = 0;
    const std::string_view id = inside.substr(nDash + 1);
    std::from_chars(id.data(), id.data() + id.size(), nLocale, 16);
    // English locales share their low byte: 0x409 (US), 0x809 (UK) ...
    section.m_bEnglish = (nLocale & 0xFF) == 0x09;
}

std::vector<CSection> Sections(std::string_view code)
{
    std::vector<CSection> sections(1);
    for (std::size_t i = 0; i < code.size();) {
        CSection& section = sections.back();
        const char ch = code[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (ch == ';') {
            sections.emplace_back();
            ++i;
        } else if (ch == '"') {
            const std::size_t nEnd = code.find('"', i + 1);
            AddLiteral(section, code.substr(i + 1, nEnd == std::string_view::npos ? nEnd : nEnd - i - 1));
            i = nEnd == std::string_view::npos ? code.size() : nEnd + 1;
        } else if (ch == '\\' || ch == '!') {
            if (i + 1 < code.size())
                AddLiteral(section, code.substr(i + 1, 1));
            i += 2;
        } else if (ch == '_') {
            AddLiteral(section, " "); // the width of the next character
            i += 2;
        } else if (ch == '*') {
            i += 2; // fills the cell's width: nothing in its text
        } else if (ch == '[') {
            const std::size_t nEnd = code.find(']', i);
            if (nEnd == std::string_view::npos)
                break;
            AddBracket(section, code.substr(i + 1, nEnd - i - 1));
            i = nEnd + 1;
        } else if (StartsWithNoCase(code.substr(i), "general")) {
            section.m_tokens.push_back({TokenKind::General, {}});
            i += 7;
        } else if (ch == '0' || ch == '#' || ch == '?') {
            section.m_tokens.push_back({TokenKind::Digit, std::string(1, ch)});
            ++i;
        } else if (ch == '.') {
            // ".0" after seconds: fractions of a second.
            std::size_t nZeros = 0;
            while (i + 1 + nZeros < code.size() && code[i + 1 + nZeros] == '0')
                ++nZeros;
            const bool bAfterSeconds =
                !section.m_tokens.empty() && (section.m_tokens.back().m_kind == TokenKind::Second ||
                                              section.m_tokens.back().m_kind == TokenKind::ElapsedSeconds);
            if (bAfterSeconds && nZeros > 0) {
                section.m_tokens.push_back({TokenKind::SecondFraction, {}, static_cast<int>(nZeros)});
                i += 1 + nZeros;
            } else {
                section.m_tokens.push_back({TokenKind::Point, {}});
                ++i;
            }
        } else if (ch == ',') {
            section.m_tokens.push_back({TokenKind::Comma, {}});
            ++i;
        } else if (ch == '%') {
            section.m_tokens.push_back({TokenKind::Percent, {}});
            ++i;
        } else if (lower == 'e' && i + 1 < code.size() && (code[i + 1] == '+' || code[i + 1] == '-')) {
            section.m_tokens.push_back({TokenKind::Exponent, {}, code[i + 1] == '+' ? 1 : 0});
            i += 2;
        } else if (ch == '/') {
            section.m_tokens.push_back({TokenKind::Slash, {}});
            ++i;
        } else if (ch == '@') {
            section.m_tokens.push_back({TokenKind::At, {}});
            ++i;
        } else if (StartsWithNoCase(code.substr(i), "am/pm")) {
            section.m_tokens.push_back({TokenKind::AmPm, {}, 2});
            i += 5;
        } else if (StartsWithNoCase(code.substr(i), "a/p")) {
            section.m_tokens.push_back({TokenKind::AmPm, {}, 1});
            i += 3;
        } else if (lower == 'y' || lower == 'm' || lower == 'd' || lower == 'h' || lower == 's') {
            const std::size_t n = RunLength(code, i);
            const TokenKind kind = lower == 'y'   ? TokenKind::Year
                                   : lower == 'm' ? TokenKind::Month
                                   : lower == 'd' ? TokenKind::Day
                                   : lower == 'h' ? TokenKind::Hour
                                                  : TokenKind::Second;
            section.m_tokens.push_back({kind, {}, static_cast<int>(n)});
            i += n;
        } else {
            AddLiteral(section, code.substr(i, 1));
            ++i;
        }
    }
    // "m" and "mm" next to hours or seconds are minutes.
    for (CSection& section : sections) {
        std::vector<CToken>& tokens = section.m_tokens;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].m_kind != TokenKind::Month || tokens[i].m_nCount > 2)
                continue;
            bool bMinute = false;
            for (std::size_t j = i; j-- > 0;) {
                if (tokens[j].m_kind == TokenKind::Literal)
                    continue;
                bMinute = tokens[j].m_kind == TokenKind::Hour || tokens[j].m_kind == TokenKind::ElapsedHours;
                break;
            }
            for (std::size_t j = i + 1; !bMinute && j < tokens.size(); ++j) {
                if (tokens[j].m_kind == TokenKind::Literal)
                    continue;
                bMinute =
                    tokens[j].m_kind == TokenKind::Second || tokens[j].m_kind == TokenKind::ElapsedSeconds;
                break;
            }
            if (bMinute)
                tokens[i].m_kind = TokenKind::Minute;
        }
    }
    return sections;
}

// ---- dates -----------------------------------------------------------------

struct CCivilDate
{
    long long m_nYear;
    int m_nMonth; // 1 to 12
    int m_nDay;   // 1 to 31
};

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar, and back.
long long DaysFromCivil(long long nYear, int nMonth, int nDay)
{
    nYear -= nMonth <= 2;
    const long long nEra = (nYear >= 0 ? nYear : nYear - 399) / 400;
    const long long nYearOfEra = nYear - nEra * 400;
    const long long nDayOfYear = (153 * (nMonth + (nMonth > 2 ? -3 : 9)) + 2) / 5 + nDay - 1;
    const long long nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
    return nEra * 146097 + nDayOfEra - 719468;
}

CCivilDate CivilFromDays(long long nDays)
{
    nDays += 719468;
    const long long nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
    const long long nDayOfEra = nDays - nEra * 146097;
    const long long nYearOfEra =
        (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
    const long long nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
    const long long nMonthIndex = (5 * nDayOfYear + 2) / 153;
    const int nDay = static_cast<int>(nDayOfYear - (153 * nMonthIndex + 2) / 5 + 1);
    const int nMonth = static_cast<int>(nMonthIndex < 10 ? nMonthIndex + 3 : nMonthIndex - 9);
    return {nYearOfEra + nEra * 400 + (nMonth <= 2), nMonth, nDay};
}

constexpr std::array<const char*, 12> kEnglishMonths = {"January",   "February", "March",    "April",
                                                        "May",       "June",     "July",     "August",
                                                        "September", "October",  "November", "December"};
constexpr std::array<const char*, 7> kEnglishDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kChineseMonths = {"一月", "二月", "三月", "四月", "五月",   "六月",
                                                        "七月", "八月", "九月", "十月", "十一月", "十二月"};
constexpr std::array<const char*, 7> kChineseDays = {"日", "一", "二", "三", "四", "五", "六"};

// The first character of UTF-8 text.
std::string FirstCharacter(std::string_view text)
{
    std::size_t n = 1;
    while (n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        ++n;
    return std::string(text.substr(0, n));
}

std::string DateText(double dValue, const CSection& section, bool bDates1904)
{
    int nFractionDigits = 0;
    for (const CToken& token : section.m_tokens)
        if (token.m_kind == TokenKind::SecondFraction)
            nFractionDigits = std::max(nFractionDigits, std::min(token.m_nCount, 3));
    const long long nScale = nFractionDigits == 0   ? 1
                             : nFractionDigits == 1 ? 10
                             : nFractionDigits == 2 ? 100
                                                    : 1000;
    // Beyond year 9999 no spreadsheet shows a date.
    if (dValue < 0 || dValue > 2958466.0)
        return GeneralNumberText(dValue);
    // Shown fractions of a second are rounded; whole seconds are cut, as
    // Calc does, so that 23:59:59.7 never shows as the next day.
    // A stored time is exact to some microseconds only: milliseconds first.
    const long long nMilliseconds = std::llround(dValue * 86400e3);
    const long long nDivisor = 1000 / nScale;
    const long long nUnits =
        nFractionDigits == 0 ? nMilliseconds / nDivisor : (nMilliseconds + nDivisor / 2) / nDivisor;
    const long long nSeconds = nUnits / nScale;
    const long long nSerialDay = nSeconds / 86400;
    const long long nSecondOfDay = nSeconds % 86400;
    const long long nDays =
        nSerialDay + (bDates1904 ? DaysFromCivil(1904, 1, 1) : DaysFromCivil(1899, 12, 30));
    const CCivilDate date = CivilFromDays(nDays);
    const int nWeekday = static_cast<int>(((nDays % 7) + 11) % 7); // 1970-01-01 was a Thursday
    const bool bTwelveHours = section.Has(TokenKind::AmPm);
    const long long nHour = nSecondOfDay / 3600;
    std::string text;
    for (const CToken& token : section.m_tokens) {
        const int n = token.m_nCount;
        switch (token.m_kind) {
        case TokenKind::Year:
            text += n <= 2 ? Padded(date.m_nYear % 100, 2) : Padded(date.m_nYear, 4);
            break;
        case TokenKind::Month:
            if (n <= 2)
                text += Padded(date.m_nMonth, n);
            else if (section.m_bEnglish)
                text += n == 3   ? std::string(kEnglishMonths[date.m_nMonth - 1]).substr(0, 3)
                        : n == 4 ? std::string(kEnglishMonths[date.m_nMonth - 1])
                                 : std::string(kEnglishMonths[date.m_nMonth - 1]).substr(0, 1);
            else
                text += n == 3   ? std::to_string(date.m_nMonth) + "月"
                        : n == 4 ? std::string(kChineseMonths[date.m_nMonth - 1])
                                 : FirstCharacter(kChineseMonths[date.m_nMonth - 1]);
            break;
        case TokenKind::Day:
            if (n <= 2)
                text += Padded(date.m_nDay, n);
            else if (section.m_bEnglish)
                text += n == 3 ? std::string(kEnglishDays[nWeekday]).substr(0, 3) : kEnglishDays[nWeekday];
            else
                text += n == 3 ? std::string(kChineseDays[nWeekday])
                               : "星期" + std::string(kChineseDays[nWeekday]);
            break;
        case TokenKind::Hour:
            text += Padded(bTwelveHours ? (nHour % 12 == 0 ? 12 : nHour % 12) : nHour, std::min(n, 2));
            break;
        case TokenKind::Minute:
            text += Padded(nSecondOfDay / 60 % 60, std::min(n, 2));
            break;
        case TokenKind::Second:
            text += Padded(nSecondOfDay % 60, std::min(n, 2));
            break;
        case TokenKind::SecondFraction:
            text += "." + Padded(nUnits % nScale, nFractionDigits).substr(0, static_cast<std::size_t>(n));
            break;
        case TokenKind::ElapsedHours:
            text += Padded(nSeconds / 3600, n);
            break;
        case TokenKind::ElapsedMinutes:
            text += Padded(nSeconds / 60, n);
            break;
        case TokenKind::ElapsedSeconds:
            text += Padded(nSeconds, n);
            break;
        case TokenKind::AmPm:
            if (section.m_bEnglish || n == 1)
                text += nHour < 12 ? (n == 1 ? "A" : "AM") : (n == 1 ? "P" : "PM");
            else
                text += nHour < 12 ? "上午" : "下午";
            break;
        case TokenKind::Literal:
            text += token.m_text;
            break;
        case TokenKind::Slash:
            text += '/';
            break;
        case TokenKind::Point:
            text += '.';
            break;
        case TokenKind::Comma:
            text += ',';
            break;
        default:
            break;
        }
    }
    return text;
}

// ---- numbers -----------------------------------------------------------------

// "# ?/?": a whole part and a fraction whose denominator has at most as
// many digits as the code gives it, or the code's own denominator.
std::string FractionText(double dValue, const std::vector<CToken>& tokens, std::size_t nSlash)
{
    std::vector<std::pair<std::size_t, std::size_t>> runs; // digit runs before the slash
    for (std::size_t i = 0; i < nSlash; ++i) {
        if (tokens[i].m_kind != TokenKind::Digit)
            continue;
        if (runs.empty() || runs.back().second != i)
            runs.push_back({i, i + 1});
        else
            runs.back().second = i + 1;
    }
    const bool bWholePart = runs.size() >= 2;
    long long nMaxDenominator = 0;
    long long nFixedDenominator = 0;
    for (std::size_t i = nSlash + 1; i < tokens.size(); ++i) {
        if (tokens[i].m_kind == TokenKind::Digit)
            nMaxDenominator = nMaxDenominator * 10 + 9;
        else if (tokens[i].m_kind == TokenKind::Literal && nMaxDenominator == 0)
            std::from_chars(tokens[i].m_text.data(), tokens[i].m_text.data() + tokens[i].m_text.size(),
                            nFixedDenominator);
        else
            break;
    }
    nMaxDenominator = std::clamp<long long>(nMaxDenominator, 1, 999'999);
    nFixedDenominator = std::min<long long>(nFixedDenominator, 999'999);
    if (dValue >= 1e15)
        return GeneralNumberText(dValue);
    const double dWhole = bWholePart ? std::floor(dValue) : 0;
    const double dPart = dValue - dWhole;
    long long nBestNumerator = 0;
    long long nBestDenominator = 1;
    if (nFixedDenominator > 0) {
        nBestDenominator = nFixedDenominator;
        nBestNumerator = std::llround(dPart * static_cast<double>(nFixedDenominator));
    } else {
        // The closest fraction with a denominator of at most nMaxDenominator:
        // the last convergent of the continued fraction within it, or the
        // semiconvergent after it when that is closer.
        long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
        double dRest = dPart;
        for (int nTerm = 0; nTerm < 64; ++nTerm) {
            const double dTerm = std::floor(dRest);
            if (dTerm > 1e12)
                break;
            const auto a = static_cast<long long>(dTerm);
            if (a * q1 + q0 > nMaxDenominator) {
                const long long k = (nMaxDenominator - q0) / q1;
                const long long pk = k * p1 + p0, qk = k * q1 + q0;
                const double dSemi = std::fabs(dPart - static_cast<double>(pk) / static_cast<double>(qk));
                const double dLast = std::fabs(dPart - static_cast<double>(p1) / static_cast<double>(q1));
                if (k > 0 && dSemi < dLast) {
                    p1 = pk;
                    q1 = qk;
                }
                break;
            }
            const long long p2 = a * p1 + p0, q2 = a * q1 + q0;
            p0 = p1;
            q0 = q1;
            p1 = p2;
            q1 = q2;
            const double dFraction = dRest - dTerm;
            if (dFraction < 1e-12)
                break;
            dRest = 1 / dFraction;
        }
        nBestNumerator = p1;
        nBestDenominator = q1;
    }
    long long nWhole = static_cast<long long>(dWhole);
    if (bWholePart && nBestNumerator == nBestDenominator) {
        ++nWhole;
        nBestNumerator = 0;
    }
    if (nBestNumerator == 0)
        return std::to_string(nWhole);
    const std::string fraction = std::to_string(nBestNumerator) + "/" + std::to_string(nBestDenominator);
    return bWholePart && nWhole > 0 ? std::to_string(nWhole) + " " + fraction : fraction;
}

std::string NumberText(double dValue, const CSection& section, bool bShowMinus)
{
    const std::vector<CToken>& tokens = section.m_tokens;
    const auto find = [&](TokenKind kind) {
        return static_cast<std::size_t>(
            std::find_if(tokens.begin(), tokens.end(), [&](const CToken& t) { return t.m_kind == kind; }) -
            tokens.begin());
    };
    const std::string minus = bShowMinus ? "-" : "";
    if (section.Has(TokenKind::General) || section.Has(TokenKind::At)) {
        std::string text;
        for (const CToken& token : tokens)
            if (token.m_kind == TokenKind::Literal)
                text += token.m_text;
            else if (token.m_kind == TokenKind::General || token.m_kind == TokenKind::At)
                text += minus + GeneralNumberText(dValue);
        return text;
    }
    const std::size_t nSlash = find(TokenKind::Slash);
    if (nSlash < tokens.size()) {
        std::string text;
        for (std::size_t i = 0; i < tokens.size() && tokens[i].m_kind != TokenKind::Digit; ++i)
            if (tokens[i].m_kind == TokenKind::Literal)
                text += tokens[i].m_text;
        return minus + text + FractionText(dValue, tokens, nSlash);
    }
    const std::size_t nExponent = find(TokenKind::Exponent);
    const std::size_t nPoint = std::min(find(TokenKind::Point), nExponent);
    // Commas right after the last digit of the mantissa divide by a thousand
    // each; others group the thousands.
    std::size_t nLastDigit = tokens.size();
    for (std::size_t i = 0; i < nExponent; ++i)
        if (tokens[i].m_kind == TokenKind::Digit)
            nLastDigit = i;
    bool bGrouped = false;
    std::vector<bool> bScaleComma(tokens.size(), false);
    for (std::size_t i = nLastDigit + 1;
         nLastDigit < tokens.size() && i < tokens.size() && tokens[i].m_kind == TokenKind::Comma; ++i) {
        bScaleComma[i] = true;
        dValue /= 1000;
    }
    std::size_t nIntegerPlaces = 0;
    int nDecimals = 0;
    int nExponentPlaces = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].m_kind == TokenKind::Comma && !bScaleComma[i] && i < nPoint)
            bGrouped = true;
        else if (tokens[i].m_kind == TokenKind::Percent)
            dValue *= 100;
    }
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].m_kind != TokenKind::Digit)
            continue;
        if (i < nPoint)
            ++nIntegerPlaces;
        else if (i < nExponent)
            ++nDecimals;
        else
            ++nExponentPlaces;
    }
    CDecimal decimal = Significant(dValue);
    int nExponentValue = 0;
    std::string integer;
    std::string fraction;
    if (nExponent < tokens.size() && !decimal.m_digits.empty()) {
        // The exponent leaves one integer digit, or with "##0" a multiple of
        // the integer places (engineering notation).
        const int nPlaces = static_cast<int>(std::max<std::size_t>(nIntegerPlaces, 1));
        const bool bEngineering =
            nPlaces > 1 && tokens[0].m_kind == TokenKind::Digit && tokens[0].m_text == "#";
        for (int nTry = 0; nTry < 2; ++nTry) {
            const int nMagnitude = decimal.m_nExponent - 1;
            nExponentValue =
                bEngineering
                    ? static_cast<int>(std::floor(nMagnitude / static_cast<double>(nPlaces))) * nPlaces
                    : nMagnitude;
            CDecimal mantissa = decimal;
            mantissa.m_nExponent -= nExponentValue;
            Fixed(mantissa, nDecimals, integer, fraction);
            const int nLimit = bEngineering ? nPlaces : 1;
            if (static_cast<int>(integer.size()) <= nLimit)
                break;
            decimal.m_digits = "1";
            decimal.m_nExponent = nMagnitude + 2; // rounded up to the next power of ten
        }
    } else {
        Fixed(decimal, nDecimals, integer, fraction);
    }
    const bool bZero = integer.empty() && fraction.find_first_not_of('0') == std::string::npos;
    // Trailing zeros of "#" and "?" places are not shown.
    std::vector<std::string> decimalTexts;
    {
        std::size_t nShown = fraction.size();
        std::size_t k = fraction.size();
        for (std::size_t i = nExponent; i-- > nPoint;) {
            if (tokens[i].m_kind != TokenKind::Digit)
                continue;
            --k;
            if (tokens[i].m_text == "0" || fraction[k] != '0')
                break;
            nShown = k;
        }
        std::size_t d = 0;
        for (std::size_t i = nPoint; i < nExponent; ++i) {
            if (tokens[i].m_kind != TokenKind::Digit)
                continue;
            if (d < nShown)
                decimalTexts.emplace_back(1, fraction[d]);
            else
                decimalTexts.emplace_back(tokens[i].m_text == "?" ? " " : "");
            ++d;
        }
    }
    std::string text = bZero ? "" : minus;
    std::size_t nIntegerSeen = 0;
    std::size_t nDecimalSeen = 0;
    std::size_t nExponentSeen = 0;
    const std::string exponentDigits = std::to_string(std::abs(nExponentValue));
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const CToken& token = tokens[i];
        switch (token.m_kind) {
        case TokenKind::Digit:
            if (i < nPoint) {
                const std::size_t j = nIntegerSeen++;
                if (bGrouped) {
                    if (j > 0)
                        break;
                    std::size_t nZeros = 0; // digits the "0" places ask for
                    for (std::size_t p = 0, q = 0; p < nPoint; ++p)
                        if (tokens[p].m_kind == TokenKind::Digit && ++q && tokens[p].m_text == "0") {
                            nZeros = nIntegerPlaces - q + 1;
                            break;
                        }
                    std::string digits = integer;
                    if (digits.size() < nZeros)
                        digits.insert(0, nZeros - digits.size(), '0');
                    text += Grouped(digits);
                    break;
                }
                const std::size_t nFromRight = nIntegerPlaces - 1 - j;
                if (j == 0 && integer.size() > nIntegerPlaces)
                    text += integer.substr(0, integer.size() - nIntegerPlaces);
                if (nFromRight < integer.size())
                    text += integer[integer.size() - 1 - nFromRight];
                else if (token.m_text == "0")
                    text += '0';
                else if (token.m_text == "?")
                    text += ' ';
            } else if (i < nExponent) {
                text += decimalTexts[nDecimalSeen++];
            } else {
                const std::size_t nFromRight =
                    static_cast<std::size_t>(nExponentPlaces) - 1 - nExponentSeen++;
                if (nExponentSeen == 1 && exponentDigits.size() > static_cast<std::size_t>(nExponentPlaces))
                    text += exponentDigits.substr(0, exponentDigits.size() -
                                                         static_cast<std::size_t>(nExponentPlaces));
                if (nFromRight < exponentDigits.size())
                    text += exponentDigits[exponentDigits.size() - 1 - nFromRight];
                else if (token.m_text == "0")
                    text += '0';
            }
            break;
        case TokenKind::Point:
            if (i == nPoint)
                text += '.';
            break;
        case TokenKind::Exponent:
            text += nExponentValue < 0 ? "E-" : token.m_nCount ? "E+" : "E";
            break;
        case TokenKind::Percent:
            text += '%';
            break;
        case TokenKind::Literal:
            text += token.m_text;
            break;
        case TokenKind::Comma:
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace

std::string GeneralNumberText(double dValue)
{
    if (!std::isfinite(dValue))
        return dValue != dValue ? "NaN" : dValue < 0 ? "-Inf" : "Inf";
    const CDecimal decimal = Significant(dValue);
    if (decimal.m_digits.empty())
        return "0";
    const std::string sign = dValue < 0 ? "-" : "";
    const std::string& digits = decimal.m_digits;
    const int nMagnitude = decimal.m_nExponent - 1;
    if (nMagnitude >= 16 || nMagnitude <= -10) {
        std::string text = sign + digits.substr(0, 1);
        if (digits.size() > 1)
            text += "." + digits.substr(1);
        // Calc writes large exponents with three digits, small ones with two.
        return text + (nMagnitude < 0 ? "E-" + Padded(-nMagnitude, 2) : "E+" + Padded(nMagnitude, 3));
    }
    const int nExponent = decimal.m_nExponent;
    if (nExponent <= 0)
        return sign + "0." + std::string(static_cast<std::size_t>(-nExponent), '0') + digits;
    if (digits.size() <= static_cast<std::size_t>(nExponent))
        return sign + digits + std::string(static_cast<std::size_t>(nExponent) - digits.size(), '0');
    return sign + digits.substr(0, static_cast<std::size_t>(nExponent)) + "." +
           digits.substr(static_cast<std::size_t>(nExponent));
}

struct CNumberFormat::CParsed
{
    std::vector<CSection> m_sections;
};

CNumberFormat::CNumberFormat(std::string_view code)
{
    // No spreadsheet program writes a code longer than a few hundred bytes;
    // a longer one shows General rather than cost every cell its length.
    auto parsed = std::make_shared<CParsed>();
    parsed->m_sections = Sections(code.size() <= kMaxCodeBytes ? code : std::string_view("General"));
    m_parsed = std::move(parsed);
}

std::string CNumberFormat::Number(double dValue, bool bDates1904) const
{
    if (!std::isfinite(dValue))
        return GeneralNumberText(dValue);
    const std::vector<CSection>& sections = m_parsed->m_sections;
    // A section with only "@" shows numbers as General.
    const std::size_t nNumberSections = std::min<std::size_t>(sections.size(), 3);
    const CSection* section = &sections[0];
    bool bShowMinus = dValue < 0;
    if (nNumberSections >= 2 && dValue < 0) {
        section = &sections[1];
        bShowMinus = false;
    } else if (nNumberSections >= 3 && dValue == 0) {
        section = &sections[2];
    }
    if (section->m_tokens.empty())
        return {};
    if (section->IsDate())
        return DateText(dValue, *section, bDates1904);
    return NumberText(std::fabs(dValue), *section, bShowMinus);
}

std::string CNumberFormat::Text(std::string_view text) const
{
    const std::vector<CSection>& sections = m_parsed->m_sections;
    const CSection* section = nullptr;
    if (sections.size() >= 4)
        section = &sections[3];
    else if (sections.size() == 1 && sections[0].Has(TokenKind::At))
        section = &sections[0];
    if (!section)
        return std::string(text);
    std::string shown;
    for (const CToken& token : section->m_tokens)
        if (token.m_kind == TokenKind::Literal)
            shown += token.m_text;
        else if (token.m_kind == TokenKind::At)
            shown += text;
    return shown;
}

std::string FormatNumber(double dValue, std::string_view code, bool bDates1904)
{
    return CNumberFormat(code).Number(dValue, bDates1904);
}

std::optional<std::string_view> BuiltInNumberFormat(unsigned nId)
{
    // Ids 14 and 22 are the system's short date: Calc shows them as its
    // Chinese locale does.
    switch (nId) {
    case 0:
        return "General";
    case 1:
        return "0";
    case 2:
        return "0.00";
    case 3:
        return "#,##0";
    case 4:
        return "#,##0.00";
    case 9:
        return "0%";
    case 10:
        return "0.00%";
    case 11:
        return "0.00E+00";
    case 12:
        return "# ?/?";
    case 13:
        return "# ?\?/?\?";
    case 14:
        return "yyyy-m-d";
    case 15:
        return "d-mmm-yy";
    case 16:
        return "d-mmm";
    case 17:
        return "mmm-yy";
    case 18:
        return "h:mm AM/PM";
    case 19:
        return "h:mm:ss AM/PM";
    case 20:
        return "h:mm";
    case 21:
        return "h:mm:ss";
    case 22:
        return "yyyy-m-d h:mm";
    case 37:
        return "#,##0 ;(#,##0)";
    case 38:
        return "#,##0 ;[Red](#,##0)";
    case 39:
        return "#,##0.00;(#,##0.00)";
    case 40:
        return "#,##0.00;[Red](#,##0.00)";
    case 45:
        return "mm:ss";
    case 46:
        return "[h]:mm:ss";
    case 47:
        return "mm:ss.0";
    case 48:
        return "##0.0E+0";
    case 49:
        return "@";
    default:
        return std::nullopt;
    }
}

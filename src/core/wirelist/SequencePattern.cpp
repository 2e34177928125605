#include "wirelist/SequencePattern.h"

#include "text/EditText.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <numeric>

namespace {

using Kind = CPatternError::Kind;

constexpr std::size_t kMaxBoundDigits = 9;
constexpr std::size_t kMaxBoundLetters = 6;

// The character (from 1) at a byte of UTF-8 text, counted on from the last
// byte asked for: the parse asks in increasing order, so the whole pattern
// is counted once.
class CCharacterCounter
{
public:
    explicit CCharacterCounter(std::string_view text) : m_text(text) {}

    std::size_t At(std::size_t nByte)
    {
        for (; m_nByte < nByte && m_nByte < m_text.size(); ++m_nByte)
            if ((static_cast<unsigned char>(m_text[m_nByte]) & 0xC0) != 0x80)
                ++m_nCharacter;
        return m_nCharacter;
    }

private:
    std::string_view m_text;
    std::size_t m_nByte = 0;
    std::size_t m_nCharacter = 1;
};

bool AllDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

bool AllLetters(std::string_view text, char first, char last)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [&](char ch) { return ch >= first && ch <= last; });
}

long long NumberOf(std::string_view digits)
{
    long long nValue = 0;
    for (const char ch : digits)
        nValue = nValue * 10 + (ch - '0');
    return nValue;
}

// Letters as spreadsheet columns: A = 1, Z = 26, AA = 27.
long long ColumnOf(std::string_view letters)
{
    long long nValue = 0;
    for (const char ch : letters)
        nValue = nValue * 26 + (std::toupper(static_cast<unsigned char>(ch)) - 'A' + 1);
    return nValue;
}

std::size_t LetterCount(long long nColumn)
{
    std::size_t nLetters = 0;
    for (; nColumn > 0; nColumn = (nColumn - 1) / 26)
        ++nLetters;
    return nLetters;
}

std::size_t DigitCount(long long nNumber)
{
    std::size_t nDigits = 1;
    for (; nNumber >= 10; nNumber /= 10)
        ++nDigits;
    return nDigits;
}

std::string LettersOf(long long nColumn, bool bLower)
{
    std::string letters;
    for (; nColumn > 0; nColumn = (nColumn - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>((bLower ? 'a' : 'A') + (nColumn - 1) % 26));
    return letters;
}

// nA × nB, or nLimit + 1 when that is more than nLimit.
std::size_t ProductUpTo(std::size_t nA, std::size_t nB, std::size_t nLimit)
{
    if (nA != 0 && nB > (nLimit + 1) / nA)
        return nLimit + 1;
    return std::min(nA * nB, nLimit + 1);
}

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

} // namespace

std::string EnglishText(const CPatternError& e)
{
    const std::string at =
        e.m_nPosition ? "character " + std::to_string(e.m_nPosition) + ": " : std::string();
    const std::string marker = "marker " + std::to_string(e.m_nMarker) + " " + Quoted(e.m_strMarker) + ": ";
    switch (e.m_kind) {
    case Kind::Empty:
        return "the pattern is empty";
    case Kind::UnclosedBrace:
        return at + "'{' is not closed by '}'";
    case Kind::StrayCloseBrace:
        return at + "'}' without '{' (write '}}' for a brace)";
    case Kind::EmptyCounter:
        return at + "'{}' holds no counter";
    case Kind::NotACounter:
        return at + Quoted("{" + e.m_strDetail + "}") + " is neither a range (1-24, A-Z) nor a list (L1,L2)";
    case Kind::MixedBounds:
        return at + "both ends of a range must be numbers, or letters of the same case";
    case Kind::BoundTooLarge:
        return at + "the ends of a range have at most " + std::to_string(kMaxBoundDigits) + " digits or " +
               std::to_string(kMaxBoundLetters) + " letters";
    case Kind::BadStep:
        return at + "the step must be a whole number";
    case Kind::ZeroStep:
        return at + "the step cannot be 0";
    case Kind::BadRepeat:
        return at + "'*' takes a whole number from 1 to " + std::to_string(kMaxPatternRepeat);
    case Kind::NothingToTurnWith:
        return at + "'=' needs a counter before it to turn with";
    case Kind::UnequalTogether:
        return at + "a counter that turns with the one before needs as many values (" +
               std::to_string(e.m_nOther) + " and " + std::to_string(e.m_nCount) + ")";
    case Kind::PatternTooLong:
        return "the pattern has " + std::to_string(e.m_nCount) + " characters; at most " +
               std::to_string(kMaxPatternCharacters);
    case Kind::TooManyCounters:
        return at + "a pattern has at most " + std::to_string(kMaxPatternCounters) + " counters";
    case Kind::TooManyMarkers:
        return "the pattern gives more than " + std::to_string(kMaxPatternMarkers) + " markers";
    case Kind::NotCodePage936:
        return marker + Quoted(e.m_strDetail) +
               " cannot be printed on a label (labels hold code page 936 characters only)";
    case Kind::TooLong:
        return marker + "it takes " + std::to_string(e.m_nCount) + " bytes; a label holds at most " +
               std::to_string(kLabelTextLimit);
    }
    return {};
}

std::string CSequencePattern::CCounter::Value(std::size_t nValue) const
{
    const long long nNumber = m_nFirst + m_nStep * static_cast<long long>(nValue);
    if (m_kind == Kind::Letters)
        return LettersOf(nNumber, m_bLower);
    std::string digits = std::to_string(nNumber);
    if (digits.size() < m_nWidth)
        digits.insert(0, m_nWidth - digits.size(), '0');
    return digits;
}

std::size_t CSequencePattern::CCounter::ValueLength(std::size_t nValue) const
{
    if (m_kind == Kind::List)
        return m_list[nValue].m_strStored.size();
    const long long nNumber = m_nFirst + m_nStep * static_cast<long long>(nValue);
    return m_kind == Kind::Letters ? LetterCount(nNumber) : std::max(m_nWidth, DigitCount(nNumber));
}

std::optional<CPatternError> CSequencePattern::Parse(std::string_view utf8, CSequencePattern& pattern)
{
    pattern = {};
    if (utf8.empty())
        return CPatternError{Kind::Empty};
    CCharacterCounter characters(utf8);
    // Bounded before anything is taken apart: the work and memory of a parse
    // grow with the pattern's length.
    if (characters.At(utf8.size()) - 1 > kMaxPatternCharacters) {
        CPatternError e{Kind::PatternTooLong};
        e.m_nCount = characters.At(utf8.size()) - 1;
        return e;
    }
    CCharacterCounter positions(utf8);
    const auto error = [&](Kind kind, std::size_t nByte) {
        CPatternError e{kind};
        e.m_nPosition = positions.At(nByte);
        return e;
    };
    const auto text = [](std::string utf8Text) {
        CText piece;
        std::optional<std::string> stored = EditTextToGbk(utf8Text);
        piece.m_bStorable = stored.has_value();
        piece.m_strStored = stored.value_or(std::string());
        piece.m_strUtf8 = std::move(utf8Text);
        return piece;
    };

    std::string literal;
    const auto endLiteral = [&] {
        if (!literal.empty())
            pattern.m_pieces.push_back({text(std::move(literal)), -1});
        literal.clear();
    };
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char ch = utf8[i];
        if (ch == '}') {
            if (i + 1 < utf8.size() && utf8[i + 1] == '}') {
                literal += '}';
                i += 2;
                continue;
            }
            return error(Kind::StrayCloseBrace, i);
        }
        if (ch != '{') {
            literal += ch;
            ++i;
            continue;
        }
        if (i + 1 < utf8.size() && utf8[i + 1] == '{') {
            literal += '{';
            i += 2;
            continue;
        }
        const std::size_t nOpen = i;
        const std::size_t nClose = utf8.find('}', nOpen);
        if (nClose == std::string_view::npos)
            return error(Kind::UnclosedBrace, nOpen);
        const std::string_view body = utf8.substr(nOpen + 1, nClose - nOpen - 1);
        if (body.empty())
            return error(Kind::EmptyCounter, nOpen);
        // Every counter is looked at for every marker.
        if (pattern.m_counters.size() == kMaxPatternCounters)
            return error(Kind::TooManyCounters, nOpen);

        CCounter counter;
        counter.m_nPosition = positions.At(nOpen);
        if (body.find(',') != std::string_view::npos) {
            counter.m_kind = CCounter::Kind::List;
            for (std::size_t nStart = 0;;) {
                const std::size_t nComma = body.find(',', nStart);
                counter.m_list.push_back(text(std::string(body.substr(nStart, nComma - nStart))));
                if (nComma == std::string_view::npos)
                    break;
                nStart = nComma + 1;
            }
            counter.m_nValues = counter.m_list.size();
        } else {
            std::string_view range = body;
            long long nStep = 1;
            if (const std::size_t nSlash = body.rfind('/'); nSlash != std::string_view::npos) {
                const std::string_view step = body.substr(nSlash + 1);
                if (!AllDigits(step) || step.size() > kMaxBoundDigits)
                    return error(Kind::BadStep, nOpen + 1 + nSlash);
                nStep = NumberOf(step);
                if (nStep == 0)
                    return error(Kind::ZeroStep, nOpen + 1 + nSlash);
                range = body.substr(0, nSlash);
            }
            const std::size_t nDash = range.find('-');
            if (nDash == std::string_view::npos || nDash == 0 || nDash + 1 == range.size()) {
                CPatternError e = error(Kind::NotACounter, nOpen);
                e.m_strDetail = std::string(body);
                return e;
            }
            const std::string_view from = range.substr(0, nDash);
            const std::string_view to = range.substr(nDash + 1);
            long long nFrom = 0;
            long long nTo = 0;
            if (AllDigits(from) && AllDigits(to)) {
                if (from.size() > kMaxBoundDigits || to.size() > kMaxBoundDigits)
                    return error(Kind::BoundTooLarge, nOpen);
                counter.m_kind = CCounter::Kind::Numbers;
                nFrom = NumberOf(from);
                nTo = NumberOf(to);
                // A bound written with a leading zero sets the width.
                for (const std::string_view bound : {from, to})
                    if (bound.size() > 1 && bound[0] == '0')
                        counter.m_nWidth = std::max(counter.m_nWidth, bound.size());
            } else if ((AllLetters(from, 'A', 'Z') && AllLetters(to, 'A', 'Z')) ||
                       (AllLetters(from, 'a', 'z') && AllLetters(to, 'a', 'z'))) {
                if (from.size() > kMaxBoundLetters || to.size() > kMaxBoundLetters)
                    return error(Kind::BoundTooLarge, nOpen);
                counter.m_kind = CCounter::Kind::Letters;
                counter.m_bLower = from[0] >= 'a';
                nFrom = ColumnOf(from);
                nTo = ColumnOf(to);
            } else if ((AllDigits(from) || AllLetters(from, 'A', 'Z') || AllLetters(from, 'a', 'z')) &&
                       (AllDigits(to) || AllLetters(to, 'A', 'Z') || AllLetters(to, 'a', 'z'))) {
                return error(Kind::MixedBounds, nOpen);
            } else {
                CPatternError e = error(Kind::NotACounter, nOpen);
                e.m_strDetail = std::string(body);
                return e;
            }
            counter.m_nFirst = nFrom;
            counter.m_nStep = nTo >= nFrom ? nStep : -nStep;
            counter.m_nValues =
                static_cast<std::size_t>((nTo >= nFrom ? nTo - nFrom : nFrom - nTo) / nStep) + 1;
        }

        // What follows the brace: *N repeats each value, = turns with the
        // counter before; each at most once, in either order.
        i = nClose + 1;
        bool bTogether = false;
        bool bRepeated = false;
        for (;;) {
            if (i < utf8.size() && utf8[i] == '=' && !bTogether) {
                if (pattern.m_counters.empty())
                    return error(Kind::NothingToTurnWith, i);
                bTogether = true;
                ++i;
            } else if (i < utf8.size() && utf8[i] == '*' && !bRepeated) {
                std::size_t nEnd = i + 1;
                while (nEnd < utf8.size() && nEnd - i <= 5 &&
                       std::isdigit(static_cast<unsigned char>(utf8[nEnd])))
                    ++nEnd;
                const std::string_view digits = utf8.substr(i + 1, nEnd - i - 1);
                const long long nRepeat = AllDigits(digits) && digits.size() <= 4 ? NumberOf(digits) : 0;
                if (nRepeat < 1 || nRepeat > static_cast<long long>(kMaxPatternRepeat))
                    return error(Kind::BadRepeat, i);
                counter.m_nRepeat = static_cast<std::size_t>(nRepeat);
                bRepeated = true;
                i = nEnd;
            } else {
                break;
            }
        }
        if (bTogether) {
            const CCounter& before = pattern.m_counters.back();
            counter.m_nGroup = before.m_nGroup;
            if (counter.Length() != before.Length()) {
                CPatternError e = error(Kind::UnequalTogether, nOpen);
                e.m_nOther = before.Length();
                e.m_nCount = counter.Length();
                return e;
            }
        } else {
            counter.m_nGroup = pattern.m_groupLengths.size();
            pattern.m_groupLengths.push_back(counter.Length());
        }
        endLiteral();
        pattern.m_pieces.push_back({{}, static_cast<int>(pattern.m_counters.size())});
        pattern.m_counters.push_back(std::move(counter));
    }
    endLiteral();

    pattern.m_groupStrides.assign(pattern.m_groupLengths.size(), 1);
    std::size_t nCount = 1;
    for (std::size_t g = pattern.m_groupLengths.size(); g-- > 0;) {
        pattern.m_groupStrides[g] = nCount;
        nCount = ProductUpTo(nCount, pattern.m_groupLengths[g], kMaxPatternMarkers);
    }
    if (nCount > kMaxPatternMarkers)
        return CPatternError{Kind::TooManyMarkers};
    pattern.m_nCount = nCount;
    return pattern.Check();
}

std::size_t CSequencePattern::ValueIndex(std::size_t nMarker, const CCounter& counter) const
{
    const std::size_t nStep = nMarker / m_groupStrides[counter.m_nGroup] % m_groupLengths[counter.m_nGroup];
    return nStep / counter.m_nRepeat;
}

template <class AppendText>
void CSequencePattern::Compose(std::size_t nMarker, AppendText append) const
{
    for (const CPiece& piece : m_pieces) {
        if (piece.m_nCounter < 0) {
            append(piece.m_literal);
            continue;
        }
        const CCounter& counter = m_counters[static_cast<std::size_t>(piece.m_nCounter)];
        const std::size_t nValue = ValueIndex(nMarker, counter);
        if (counter.m_kind == CCounter::Kind::List) {
            append(counter.m_list[nValue]);
        } else {
            std::string value = counter.Value(nValue);
            append(CText{value, value, true});
        }
    }
}

std::string CSequencePattern::Marker(std::size_t nIndex) const
{
    std::string marker;
    Compose(nIndex, [&](const CText& piece) { marker += piece.m_strStored; });
    return marker;
}

std::string CSequencePattern::MarkerUtf8(std::size_t nIndex) const
{
    std::string marker;
    Compose(nIndex, [&](const CText& piece) { marker += piece.m_strUtf8; });
    return marker;
}

std::optional<CPatternError> CSequencePattern::Check() const
{
    // The first marker that holds a text code page 936 cannot: a literal is
    // in every marker, a list value first where its counter first shows it.
    std::optional<std::size_t> firstUnstorable;
    std::string character;
    for (const CPiece& piece : m_pieces) {
        if (piece.m_nCounter < 0) {
            if (!piece.m_literal.m_bStorable) {
                firstUnstorable = 0;
                character = FirstUnstorableCharacter(piece.m_literal.m_strUtf8).value_or("?");
                break;
            }
            continue;
        }
        const CCounter& counter = m_counters[static_cast<std::size_t>(piece.m_nCounter)];
        for (std::size_t v = 0; v < counter.m_list.size(); ++v) {
            if (counter.m_list[v].m_bStorable)
                continue;
            const std::size_t nMarker = v * counter.m_nRepeat * m_groupStrides[counter.m_nGroup];
            if (!firstUnstorable || nMarker < *firstUnstorable) {
                firstUnstorable = nMarker;
                character = FirstUnstorableCharacter(counter.m_list[v].m_strUtf8).value_or("?");
            }
            break;
        }
    }
    if (firstUnstorable) {
        CPatternError e{Kind::NotCodePage936};
        e.m_nMarker = *firstUnstorable + 1;
        e.m_strMarker = MarkerUtf8(*firstUnstorable);
        e.m_strDetail = character;
        return e;
    }
    // A marker's length is that of the literals plus, for each group, the
    // lengths of its counters' values at the group's step. Every combination
    // of steps is a marker, so the longest marker takes each group's longest
    // step, and the first marker too long is found group by group, leftmost
    // (slowest) first: the earliest step that still leaves the rest room to
    // go past the limit. A group's lengths are added up over runs of steps
    // (a range's values change length only a few times), so the work grows
    // with the groups' lengths and the lists, not with the count of markers
    // times the counters.
    std::size_t nFixed = 0;
    for (const CPiece& piece : m_pieces)
        if (piece.m_nCounter < 0)
            nFixed += piece.m_literal.m_strStored.size();
    // First as changes from one step to the next, then as lengths.
    std::vector<std::vector<std::size_t>> stepLengths(m_groupLengths.size());
    for (std::size_t g = 0; g < m_groupLengths.size(); ++g)
        stepLengths[g].assign(m_groupLengths[g] + 1, 0);
    for (const CCounter& counter : m_counters) {
        std::vector<std::size_t>& changes = stepLengths[counter.m_nGroup];
        for (std::size_t nValue = 0; nValue < counter.m_nValues;) {
            const std::size_t nBytes = counter.ValueLength(nValue);
            std::size_t nEnd = nValue + 1; // past the values of that length
            if (counter.m_kind != CCounter::Kind::List) {
                // A range's lengths only grow or only shrink.
                for (std::size_t nOther = counter.m_nValues; nEnd < nOther;) {
                    const std::size_t nMiddle = nEnd + (nOther - nEnd) / 2;
                    if (counter.ValueLength(nMiddle) == nBytes)
                        nEnd = nMiddle + 1;
                    else
                        nOther = nMiddle;
                }
            }
            // Unsigned arithmetic wraps, and the sums come out right.
            changes[nValue * counter.m_nRepeat] += nBytes;
            changes[nEnd * counter.m_nRepeat] -= nBytes;
            nValue = nEnd;
        }
    }
    for (std::vector<std::size_t>& lengths : stepLengths) {
        lengths.pop_back();
        std::partial_sum(lengths.begin(), lengths.end(), lengths.begin());
    }
    std::vector<std::size_t> longestAfter(m_groupLengths.size() + 1, 0); // the groups from g on
    for (std::size_t g = m_groupLengths.size(); g-- > 0;)
        longestAfter[g] =
            longestAfter[g + 1] + *std::max_element(stepLengths[g].begin(), stepLengths[g].end());
    if (nFixed + longestAfter[0] <= kLabelTextLimit)
        return std::nullopt;
    std::size_t nMarker = 0;
    std::size_t nBytes = nFixed;
    for (std::size_t g = 0; g < m_groupLengths.size(); ++g) {
        const std::vector<std::size_t>& lengths = stepLengths[g];
        std::size_t nStep = 0;
        while (nBytes + lengths[nStep] + longestAfter[g + 1] <= kLabelTextLimit)
            ++nStep;
        nBytes += lengths[nStep];
        nMarker += nStep * m_groupStrides[g];
    }
    CPatternError e{Kind::TooLong};
    e.m_nMarker = nMarker + 1;
    e.m_strMarker = MarkerUtf8(nMarker);
    e.m_nCount = nBytes;
    return e;
}

CMarkerList CSequencePattern::Markers(int nCopies) const
{
    CMarkerList markers;
    // The same marker twice in a row is one run of their copies together.
    std::string marker;
    std::string run;
    std::uint32_t nRunCount = 0;
    for (std::size_t n = 0; n < m_nCount; ++n) {
        marker.clear();
        Compose(n, [&](const CText& piece) { marker += piece.m_strStored; });
        if (nRunCount > 0 && marker == run) {
            nRunCount += static_cast<std::uint32_t>(nCopies);
            continue;
        }
        if (nRunCount > 0)
            markers.Add({run, nRunCount});
        run.swap(marker);
        nRunCount = static_cast<std::uint32_t>(nCopies);
    }
    if (nRunCount > 0)
        markers.Add({run, nRunCount});
    return markers;
}

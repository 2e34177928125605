#pragma once

#include "wirelist/WireMarkers.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Sequence patterns: literal text with counters in braces, as panel builders
// number terminals, contacts and cores.
//   {1-24}  {01-24} (the width of a bound written with a leading zero)
//   {1-99/2} (a step)  {24-1} (counting down)
//   {A-Z}  {a-h}  {A-AZ} (letters go on past Z as spreadsheet columns do)
//   {L1,L2,L3,N,PE} (the listed values in turn)
// Counters nest like an odometer, the rightmost turning fastest; a counter
// written {…}= turns together with the counter before it instead. {…}*N
// gives each of its values N times. {{ and }} are braces; a line break is a
// line break in the marker.

// At most this many markers from one pattern.
constexpr std::size_t kMaxPatternMarkers = 1'000'000;
// At most this many repeats of a counter's value.
constexpr std::size_t kMaxPatternRepeat = 1000;
// At most this many characters in a pattern, and counters in it (more than
// a label has bytes for).
constexpr std::size_t kMaxPatternCharacters = 100'000;
constexpr std::size_t kMaxPatternCounters = 50;

// Why a pattern gives no markers: where (a character of the pattern, from 1;
// 0 when it is the pattern as a whole) and the facts a message names.
struct CPatternError
{
    enum class Kind {
        Empty,
        UnclosedBrace,
        StrayCloseBrace,
        EmptyCounter,
        NotACounter, // m_strDetail: the counter as written
        MixedBounds,
        BoundTooLarge,
        BadStep,
        ZeroStep,
        BadRepeat,
        NothingToTurnWith,
        UnequalTogether, // m_nCount, m_nOther: the two counters' lengths
        PatternTooLong,  // m_nCount characters
        TooManyCounters, // at the first counter too many
        TooManyMarkers,  // m_nCount markers (at most reported as far as counted)
        NotCodePage936,  // m_nMarker, m_strMarker; m_strDetail: the character
        TooLong,         // m_nMarker, m_strMarker; m_nCount: stored bytes
    };
    Kind m_kind = Kind::Empty;
    std::size_t m_nPosition = 0;
    std::string m_strDetail; // UTF-8
    std::size_t m_nCount = 0;
    std::size_t m_nOther = 0;
    std::size_t m_nMarker = 0; // from 1
    std::string m_strMarker;   // UTF-8
};

std::string EnglishText(const CPatternError& error);

class CSequencePattern
{
public:
    // The markers of `utf8`, or why there are none. Every marker is checked
    // (code page 936, at most kLabelTextLimit bytes once stored) before any
    // is given.
    static std::optional<CPatternError> Parse(std::string_view utf8, CSequencePattern& pattern);

    std::size_t Count() const { return m_nCount; }
    // The marker at nIndex (from 0) as a label stores it: code page 936,
    // lines separated by CR LF.
    std::string Marker(std::size_t nIndex) const;
    // The same marker in UTF-8 with LF, for showing.
    std::string MarkerUtf8(std::size_t nIndex) const;

    // Every marker, nCopies times each; repeats in a row make one run.
    CMarkerList Markers(int nCopies = 1) const;

private:
    struct CText
    {
        std::string m_strUtf8;
        std::string m_strStored; // empty with !m_bStorable
        bool m_bStorable = true;
    };
    struct CCounter
    {
        enum class Kind { Numbers, Letters, List };
        Kind m_kind = Kind::Numbers;
        long long m_nFirst = 0; // Numbers, Letters (letters as column numbers from 1)
        long long m_nStep = 1;  // negative counting down
        std::size_t m_nValues = 0;
        std::size_t m_nWidth = 0; // Numbers: zero padded to this many digits
        bool m_bLower = false;    // Letters
        std::vector<CText> m_list;
        std::size_t m_nRepeat = 1;
        std::size_t m_nGroup = 0;
        std::size_t m_nPosition = 0; // of its '{'

        std::size_t Length() const { return m_nValues * m_nRepeat; }
        std::string Value(std::size_t nValue) const;       // of a range (lists keep theirs in m_list)
        std::size_t ValueLength(std::size_t nValue) const; // stored bytes, of any kind
    };
    struct CPiece
    {
        CText m_literal;
        int m_nCounter = -1; // else a literal
    };

    std::optional<CPatternError> Check() const;
    std::size_t ValueIndex(std::size_t nMarker, const CCounter& counter) const;
    template <class AppendText>
    void Compose(std::size_t nMarker, AppendText append) const;

    std::vector<CPiece> m_pieces;
    std::vector<CCounter> m_counters;
    std::vector<std::size_t> m_groupLengths; // left to right
    std::vector<std::size_t> m_groupStrides; // markers per step of each group
    std::size_t m_nCount = 1;
};

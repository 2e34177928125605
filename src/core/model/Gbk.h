#pragma once

#include <optional>
#include <string>
#include <string_view>

// Code page 936 (GBK), the encoding of every text in the files. Conversions
// fail (nullopt) rather than substitute: text that code page 936 cannot hold
// is reported to the caller, never stored as '?'.

std::optional<std::string> Utf8ToGbk(std::string_view utf8);
std::optional<std::string> GbkToUtf8(std::string_view gbk);
std::optional<std::string> Utf16LeToGbk(std::string_view utf16le);

// Text in any encoding glibc's iconv knows (its names: "GB18030",
// "UTF-16", ...) to UTF-8; nullopt for an unknown encoding or bytes that are
// not valid in it.
std::optional<std::string> ToUtf8(std::string_view text, const char* encoding);
// As ToUtf8 for text whose UTF-8 may be many times longer than itself
// (TSCII, Thai): once the UTF-8 passes nLimit bytes the conversion stops,
// nothing is kept and `bOverLimit` says so.
std::optional<std::string> ToUtf8Within(std::string_view text, const char* encoding, std::size_t nLimit,
                                        bool& bOverLimit);
bool IsKnownEncoding(const char* encoding);
// Whether `text` is valid in `encoding`, without keeping a converted copy.
bool IsValidIn(std::string_view text, const char* encoding);

// Whether code page 936 holds the character (ASCII included).
bool IsCodePage936Character(char32_t ch);

// For display only: bytes that are not valid code page 936 show as U+FFFD.
// The stored bytes stay as they are.
std::string GbkToUtf8Lossy(std::string_view gbk);

// Whether a byte starts a two-byte character (when a byte follows it).
constexpr bool IsGbkLeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

#include "model/Gbk.h"

#include <algorithm>
#include <bitset>

#include <cerrno>
#include <iconv.h>
#include <limits>
#include <map>
#include <memory>
#include <utility>

namespace {

constexpr const char* kGbk = "CP936";

class CIconv
{
public:
    CIconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CIconv()
    {
        if (Valid())
            iconv_close(m_cd);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`, from the initial shift state; on an invalid or
    // unconvertible sequence stops and returns the number of input bytes
    // consumed so far in `stoppedAt`. Without `out` the result is dropped.
    // Stops as well once the result passes nOutLimit bytes, saying so in
    // *pbOverLimit; *pnOut counts the result's bytes.
    bool Convert(std::string_view in, std::string* out, std::size_t& stoppedAt,
                 std::size_t nOutLimit = std::numeric_limits<std::size_t>::max(), bool* pbOverLimit = nullptr,
                 std::size_t* pnOut = nullptr)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        // Large enough that a long text takes few calls: converters such as
        // TSCII cost much more a call than a byte.
        static thread_local char buffer[64 * 1024];
        std::size_t nOut = 0;
        const auto take = [&](std::size_t nBytes) {
            nOut += nBytes;
            if (out)
                out->append(buffer, nBytes);
            if (nOut <= nOutLimit)
                return true;
            stoppedAt = in.size() - srcLeft;
            if (pbOverLimit)
                *pbOverLimit = true;
            return false;
        };
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            if (!take(sizeof buffer - dstLeft))
                return false;
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                stoppedAt = in.size() - srcLeft;
                return false;
            }
            // glibc counts irreversible conversions in rc; they would be
            // substitutions, which we refuse.
            if (rc != static_cast<std::size_t>(-1) && rc > 0) {
                stoppedAt = in.size() - srcLeft;
                return false;
            }
        }
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
        if (!take(sizeof buffer - dstLeft))
            return false;
        stoppedAt = in.size();
        if (pnOut)
            *pnOut = nOut;
        return true;
    }

private:
    iconv_t m_cd;
};

// The converter between two encodings, opened once per thread: opening one
// costs more than converting a label's text. Encoding names can come from
// the user, so the thread keeps a few dozen at most; the reference lasts
// until the next call.
CIconv& Converter(const char* to, const char* from)
{
    constexpr std::size_t kMaxKept = 32;
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<CIconv>> converters;
    std::pair<std::string, std::string> key(to, from);
    auto found = converters.find(key);
    if (found == converters.end()) {
        if (converters.size() >= kMaxKept)
            converters.clear();
        found = converters.emplace(std::move(key), std::make_unique<CIconv>(to, from)).first;
    }
    return *found->second;
}

std::optional<std::string> ConvertStrict(const char* to, const char* from, std::string_view in)
{
    CIconv& cv = Converter(to, from);
    if (!cv.Valid())
        return std::nullopt;
    std::string out;
    std::size_t stoppedAt = 0;
    if (!cv.Convert(in, &out, stoppedAt))
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8)
{
    return ConvertStrict(kGbk, "UTF-8", utf8);
}

std::optional<std::string> GbkToUtf8(std::string_view gbk)
{
    return ConvertStrict("UTF-8", kGbk, gbk);
}

std::optional<std::string> Utf16LeToGbk(std::string_view utf16le)
{
    return ConvertStrict(kGbk, "UTF-16LE", utf16le);
}

std::optional<std::string> ToUtf8(std::string_view text, const char* encoding)
{
    return ConvertStrict("UTF-8", encoding, text);
}

std::optional<std::string> ToUtf8Within(std::string_view text, const char* encoding, std::size_t nLimit,
                                        bool& bOverLimit)
{
    bOverLimit = false;
    CIconv& cv = Converter("UTF-8", encoding);
    std::size_t stoppedAt = 0;
    // Counted first without keeping it, so that text which expands past the
    // limit takes no memory, and text within it takes its size once.
    std::size_t nBytes = 0;
    if (!cv.Valid() || !cv.Convert(text, nullptr, stoppedAt, nLimit, &bOverLimit, &nBytes))
        return std::nullopt;
    std::string out;
    out.reserve(nBytes);
    if (!cv.Convert(text, &out, stoppedAt, nLimit, &bOverLimit))
        return std::nullopt;
    return out;
}

bool IsKnownEncoding(const char* encoding)
{
    return Converter("UTF-8", encoding).Valid();
}

bool IsValidIn(std::string_view text, const char* encoding)
{
    CIconv& cv = Converter("UTF-8", encoding);
    std::size_t stoppedAt = 0;
    return cv.Valid() && cv.Convert(text, nullptr, stoppedAt);
}

bool IsCodePage936Character(char32_t ch)
{
    // Every character code page 936 holds is in the Basic Multilingual
    // Plane: one bit each, found once by decoding every code.
    static const std::bitset<0x10000> kHeld = [] {
        std::bitset<0x10000> held;
        CIconv cv("UTF-32LE", kGbk);
        std::string out;
        const auto hold = [&](std::string_view code) {
            out.clear();
            std::size_t stoppedAt = 0;
            if (!cv.Valid() || !cv.Convert(code, &out, stoppedAt) || out.size() != 4)
                return;
            char32_t decoded = 0;
            for (int i = 3; i >= 0; --i)
                decoded = decoded << 8 | static_cast<unsigned char>(out[static_cast<std::size_t>(i)]);
            if (decoded < held.size())
                held.set(decoded);
        };
        for (int single = 0; single <= 0xFF; ++single) {
            const char code = static_cast<char>(single);
            hold({&code, 1});
        }
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                hold({code, 2});
            }
        }
        return held;
    }();
    return ch < kHeld.size() && kHeld.test(ch);
}

std::string GbkToUtf8Lossy(std::string_view gbk)
{
    // Most markers are ASCII, which both encodings write alike.
    if (std::all_of(gbk.begin(), gbk.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }))
        return std::string(gbk);
    CIconv& cv = Converter("UTF-8", kGbk);
    std::string out;
    if (!cv.Valid())
        return out;
    while (!gbk.empty()) {
        std::size_t stoppedAt = 0;
        if (cv.Convert(gbk, &out, stoppedAt))
            break;
        out += "\xEF\xBF\xBD";
        if (stoppedAt >= gbk.size())
            break;
        gbk.remove_prefix(stoppedAt + 1);
    }
    return out;
}

#include "wirelist/NumberFormat.h"
#include "wirelist/TableBuilder.h"
#include "wirelist/WireMarkers.h"

#include <expat.h>
#include <minizip/unzip.h>
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Workbooks are zip containers of XML parts: minizip finds the parts in the
// container, zlib unpacks a part and expat reads it as it unpacks, so no part
// is ever held whole in memory.

namespace {

// Beyond the last column of both formats; cells further right are ignored.
constexpr std::size_t kMaxWorkbookColumns = 16384;
// Spreadsheet programs nest a dozen elements deep and write tags of a few
// hundred bytes (a long formula: some kilobytes), and no comments,
// instructions or declarations of any length. Deeper nesting or longer
// markup only comes from hostile files.
constexpr int kMaxXmlDepth = 256;
constexpr std::size_t kMaxXmlTagBytes = 1u << 20;

const char* LocalName(const XML_Char* name)
{
    const char* bar = std::strrchr(name, '|');
    return bar ? bar + 1 : name;
}

const char* Attribute(const XML_Char** attributes, const char* localName)
{
    for (; *attributes; attributes += 2)
        if (std::strcmp(LocalName(attributes[0]), localName) == 0)
            return attributes[1];
    return nullptr;
}

// A whole number of at most nMax from an attribute; `fallback` when absent
// or not a number.
std::size_t CountAttribute(const XML_Char** attributes, const char* localName, std::size_t fallback,
                           std::size_t nMax)
{
    const char* text = Attribute(attributes, localName);
    if (!text)
        return fallback;
    unsigned long long value = 0;
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    if (ptr == text)
        return fallback;
    if (ec == std::errc::result_out_of_range || value > nMax)
        return nMax;
    return static_cast<std::size_t>(value);
}

// What an XML part is read by. Element names come without their namespace.
class CXmlReader
{
public:
    virtual ~CXmlReader() = default;
    virtual void Start(const char* name, const XML_Char** attributes) = 0;
    virtual void End(const char* name) = 0;
    virtual void Text(std::string_view) {}
    // Ends the reading of the part with `problem`.
    void Fail(CWireListProblem problem)
    {
        m_problem = std::move(problem);
        m_bDone = true;
    }
    // Appends to a cell's text while the text stays within a list's bytes.
    void AppendBounded(std::string& text, std::string_view more)
    {
        const std::size_t nSize = text.size() + more.size();
        if (nSize > kMaxWireListBytes) {
            Fail(MoreTextThanAList());
            return;
        }
        // Grown by doubling, but never past the limit itself: the last step
        // takes the limit at once (a string asked for less than twice its
        // capacity takes twice anyway).
        if (nSize > text.capacity()) {
            std::size_t nCapacity = std::max(nSize, 2 * text.capacity());
            if (2 * nCapacity > kMaxWireListBytes)
                nCapacity = kMaxWireListBytes;
            text.reserve(nCapacity);
        }
        text += more;
    }
    // Set once the rest of the part is not needed, or cannot be read.
    bool m_bDone = false;
    CWireListProblem m_problem;
    int m_nDepth = 0; // of the element being read
};

// Holds back the bytes of a markup token (a tag, comment, processing
// instruction, declaration with its internal subset, or reference) until the
// token is whole, and refuses one longer than kMaxXmlTagBytes. expat reads an
// unfinished token anew with each block it is given, so a token fed in
// pieces costs time growing with the square of its length; fed whole, it is
// read once. ">" ends a token only outside quotes, and a comment, an
// instruction or a CDATA section only at its own closing mark. A CDATA
// section's text is character data, which expat reads in pieces.
class CXmlTokenGuard
{
public:
    // Takes the next unpacked bytes (none at the end of the part); false once
    // a token grows past the limit.
    bool Admits(std::string_view bytes, bool bFinal)
    {
        m_held.swap(m_next);
        m_next.clear();
        std::string_view all = bytes;
        if (!m_held.empty()) {
            m_held += bytes;
            all = m_held;
        }
        // A token open at the end of the last block began the held bytes.
        std::size_t nOpen = m_held.empty() ? kNone : 0;
        for (std::size_t i = Next(all, all.size() - bytes.size()); i < all.size(); i = Next(all, i + 1)) {
            if (m_state == State::Text)
                nOpen = i;
            if (nOpen != kNone && i - nOpen >= kMaxXmlTagBytes)
                return false;
            while (!Step(all[i])) {
            }
            if (m_state == State::Text || m_state == State::CData)
                nOpen = kNone;
        }
        if (nOpen != kNone && all.size() - nOpen > kMaxXmlTagBytes)
            return false;
        const std::size_t nReady = bFinal || nOpen == kNone ? all.size() : nOpen;
        m_ready = all.substr(0, nReady);
        if (nReady == 0 && !m_held.empty())
            m_next.swap(m_held); // the whole of it is one unfinished token
        else
            m_next.assign(all.substr(nReady));
        return true;
    }
    // The bytes up to the unfinished token, for expat; valid until the next
    // Admits and while the bytes given to this one are.
    std::string_view Ready() const { return m_ready; }

private:
    enum class State : unsigned char {
        Text,
        Reference,      // & to ;
        Open,           // after <
        Tag,            // start or end tag
        Bang,           // after <!
        CDataOpen,      // <![CDATA[ matched up to m_nMatched
        Closing,        // a comment or instruction, until m_pClose
        CData,          // character data until ]]>
        Declaration,    // <!DOCTYPE and its internal subset
        DeclarationOpen // after < in the subset
    };
    static constexpr std::size_t kNone = std::string_view::npos;

    // The first byte from nFrom on that can change the state: runs of text,
    // of a quoted value and of a comment's body are passed over at once.
    std::size_t Next(std::string_view all, std::size_t nFrom) const
    {
        std::size_t i = nFrom;
        if (m_cQuote) {
            i = all.find(m_cQuote, nFrom);
        } else if (m_state == State::Text) {
            while (i < all.size() && all[i] != '<' && all[i] != '&')
                ++i;
        } else if ((m_state == State::Closing || m_state == State::CData) && m_nMatched == 0) {
            i = all.find(m_pClose[0], nFrom);
        }
        return std::min(i, all.size());
    }
    // Moves on by `ch`; false when `ch` is to be read again in the new state.
    bool Step(char ch)
    {
        if (m_cQuote) {
            if (ch == m_cQuote)
                m_cQuote = 0;
            return true;
        }
        switch (m_state) {
        case State::Text:
            m_state = ch == '<' ? State::Open : State::Reference;
            return true;
        case State::Reference:
            if (ch == ';') {
                m_state = State::Text;
                return true;
            }
            // Not a reference, as expat will say; the token goes on to
            // the end of the tag or reference that follows.
            if (ch == '<')
                m_state = State::Open;
            else if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n')
                m_state = State::Text;
            return true;
        case State::Open:
            if (ch == '!') {
                m_state = State::Bang;
            } else if (ch == '?') {
                Close("?>", State::Text);
            } else {
                m_state = State::Tag;
                return false;
            }
            return true;
        case State::Tag:
            if (ch == '"' || ch == '\'')
                m_cQuote = ch;
            else if (ch == '>')
                m_state = State::Text;
            return true;
        case State::Bang:
            if (ch == '-' && m_nMatched == 0) {
                m_nMatched = 1;
            } else if (ch == '-') {
                Close("-->", State::Text);
            } else if (ch == '[' && m_nMatched == 0) {
                m_state = State::CDataOpen;
                m_nMatched = 1;
            } else {
                m_state = State::Declaration;
                m_nMatched = 0;
                return false;
            }
            return true;
        case State::CDataOpen:
            if (ch != kCDataOpen[m_nMatched]) {
                m_state = State::Declaration;
                m_nMatched = 0;
                return false;
            }
            if (kCDataOpen[++m_nMatched] == '\0') {
                m_state = State::CData;
                m_pClose = "]]>";
                m_return = State::Text;
                m_nMatched = 0;
            }
            return true;
        case State::Closing:
        case State::CData:
            // The closing marks ("?>", "-->", "]]>") repeat no part of
            // themselves but their first character.
            if (ch == m_pClose[m_nMatched]) {
                if (m_pClose[++m_nMatched] == '\0') {
                    m_state = m_return;
                    m_nMatched = 0;
                }
            } else if (ch != m_pClose[0]) {
                m_nMatched = 0;
            } else if (m_pClose[1] != m_pClose[0] || m_nMatched < 2) {
                m_nMatched = 1;
            }
            return true;
        case State::Declaration:
            if (ch == '"' || ch == '\'')
                m_cQuote = ch;
            else if (ch == '[')
                ++m_nBrackets;
            else if (ch == ']' && m_nBrackets > 0)
                --m_nBrackets;
            else if (ch == '<' && m_nBrackets > 0)
                m_state = State::DeclarationOpen;
            else if (ch == '>' && m_nBrackets == 0)
                m_state = State::Text;
            return true;
        case State::DeclarationOpen:
            if (ch == '?') {
                Close("?>", State::Declaration);
            } else if (ch == '!' && m_nMatched == 0) {
                m_nMatched = 1;
            } else if (ch == '-' && m_nMatched == 1) {
                m_nMatched = 2;
            } else if (ch == '-' && m_nMatched == 2) {
                Close("-->", State::Declaration);
            } else {
                m_state = State::Declaration; // a markup declaration: quotes and > as in the DOCTYPE
                m_nMatched = 0;
                return false;
            }
            return true;
        }
        return true;
    }
    void Close(const char* close, State back)
    {
        m_state = State::Closing;
        m_pClose = close;
        m_return = back;
        m_nMatched = 0;
    }

    static constexpr const char* kCDataOpen = "[CDATA[";
    State m_state = State::Text;
    State m_return = State::Text; // after m_pClose
    const char* m_pClose = "";
    std::size_t m_nMatched = 0;  // of what the state looks for
    std::size_t m_nBrackets = 0; // [ of a DOCTYPE not yet closed
    char m_cQuote = 0;           // the quote of an attribute value or literal
    std::string m_held;          // the unfinished token, then the bytes after it
    std::string m_next;
    std::string_view m_ready;
};

using Kind = CWireListProblem::Kind;

CWireListProblem PartProblem(Kind kind, const std::string& part, std::string detail = {})
{
    CWireListProblem problem{kind};
    problem.m_strPart = part;
    problem.m_strDetail = std::move(detail);
    return problem;
}

CWireListProblem LimitProblem(Kind kind, const std::string& part, std::size_t nLimit)
{
    CWireListProblem problem = PartProblem(kind, part);
    problem.m_nLimit = nLimit;
    return problem;
}

// Why a container or part cannot be read, in the words the command line and
// the messages show.
constexpr const char* kNotAZip = "Not a zip archive";
constexpr const char* kInconsistent = "Zip archive inconsistent";

// The workbook's bytes as the file minizip reads the container from.
struct CMemoryFile
{
    std::string_view m_bytes;
    std::uint64_t m_nPosition = 0;
};

zlib_filefunc64_def MemoryFileFunctions()
{
    zlib_filefunc64_def functions{};
    // The "path" minizip is given to open is the CMemoryFile itself.
    functions.zopen64_file = [](voidpf, const void* path, int) -> voidpf { return const_cast<void*>(path); };
    functions.zread_file = [](voidpf, voidpf stream, void* buffer, uLong nSize) -> uLong {
        auto* file = static_cast<CMemoryFile*>(stream);
        const std::uint64_t nCount = std::min<std::uint64_t>(nSize, file->m_bytes.size() - file->m_nPosition);
        std::memcpy(buffer, file->m_bytes.data() + file->m_nPosition, nCount);
        file->m_nPosition += nCount;
        return static_cast<uLong>(nCount);
    };
    functions.ztell64_file = [](voidpf, voidpf stream) -> ZPOS64_T {
        return static_cast<CMemoryFile*>(stream)->m_nPosition;
    };
    functions.zseek64_file = [](voidpf, voidpf stream, ZPOS64_T nOffset, int nOrigin) -> long {
        auto* file = static_cast<CMemoryFile*>(stream);
        std::uint64_t nBase = 0;
        if (nOrigin == ZLIB_FILEFUNC_SEEK_CUR)
            nBase = file->m_nPosition;
        else if (nOrigin == ZLIB_FILEFUNC_SEEK_END)
            nBase = file->m_bytes.size();
        // A step back arrives as an offset that wraps around.
        const std::uint64_t nPosition = nBase + nOffset;
        if (nPosition > file->m_bytes.size())
            return -1;
        file->m_nPosition = nPosition;
        return 0;
    };
    functions.zclose_file = [](voidpf, voidpf) { return 0; };
    functions.zerror_file = [](voidpf, voidpf) { return 0; };
    return functions;
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t nOffset, std::size_t nSize)
{
    std::uint32_t nValue = 0;
    for (std::size_t i = nSize; i-- > 0;)
        nValue = nValue << 8 | static_cast<unsigned char>(bytes[nOffset + i]);
    return nValue;
}

// Extra fields fill their block exactly, each a 4-byte header with the length
// of its data (zeros may pad the end, as some tools align data with them).
bool ExtraFieldsFit(std::string_view extra)
{
    while (extra.size() >= 4) {
        const std::size_t nLength = LittleEndian(extra, 2, 2);
        if (extra.size() - 4 < nLength)
            break;
        extra.remove_prefix(4 + nLength);
    }
    return extra.find_first_not_of('\0') == std::string_view::npos;
}

struct CEntrySizes
{
    std::uint64_t m_nPacked;
    std::uint64_t m_nUnpacked;
};

// The sizes a local header gives: its 32-bit fields, or for a field of all
// ones the value in its zip64 extra field (which holds the unpacked size
// first); nullopt when that is missing.
std::optional<CEntrySizes> LocalSizes(std::string_view extra, std::uint32_t nPacked, std::uint32_t nUnpacked)
{
    CEntrySizes sizes{nPacked, nUnpacked};
    if (nPacked != UINT32_MAX && nUnpacked != UINT32_MAX)
        return sizes;
    constexpr std::size_t kZip64ExtraId = 1;
    while (extra.size() >= 4) {
        const std::size_t nLength = std::min<std::size_t>(LittleEndian(extra, 2, 2), extra.size() - 4);
        std::string_view data = extra.substr(4, nLength);
        if (LittleEndian(extra, 0, 2) == kZip64ExtraId) {
            for (std::uint64_t* pSize : {&sizes.m_nUnpacked, &sizes.m_nPacked}) {
                if (*pSize != UINT32_MAX)
                    continue;
                if (data.size() < 8)
                    return std::nullopt;
                *pSize = LittleEndian(data, 0, 4) | std::uint64_t{LittleEndian(data, 4, 4)} << 32;
                data.remove_prefix(8);
            }
            return sizes;
        }
        extra.remove_prefix(4 + nLength);
    }
    return std::nullopt;
}

bool Unpackable(const unz_file_info64& info)
{
    return info.compression_method == 0 || info.compression_method == Z_DEFLATED;
}

// The unpacked bytes of the part open in `zip`. minizip hands over the part's
// bytes as stored and zlib inflates them here, so the unpacked size is counted
// as it grows instead of taken on trust from the directory. At the end of the
// part its checksum and both its sizes are compared with the directory's.
class CPartStream
{
public:
    CPartStream(unzFile zip, const unz_file_info64& info)
        : m_zip(zip), m_nExpectedCrc(info.crc), m_nExpectedSize(info.uncompressed_size),
          m_bDeflated(info.compression_method == Z_DEFLATED)
    {
        if (m_bDeflated)
            if (const int nStatus = inflateInit2(&m_inflate, -MAX_WBITS); nStatus != Z_OK)
                m_strReason = ZlibError(nStatus);
    }
    ~CPartStream()
    {
        if (m_bDeflated)
            inflateEnd(&m_inflate);
        unzCloseCurrentFile(m_zip);
    }
    CPartStream(const CPartStream&) = delete;
    CPartStream& operator=(const CPartStream&) = delete;

    // Up to nSize (at most 64 KB) unpacked bytes into `buffer`; 0 at the end
    // of the part, -1 once it turns out damaged (Reason()).
    int Read(char* buffer, unsigned nSize)
    {
        if (!m_strReason.empty())
            return -1;
        const unsigned nCount = m_bDeflated ? Inflate(buffer, nSize) : Stored(buffer, nSize);
        if (!m_strReason.empty())
            return -1;
        m_nCrc = crc32(m_nCrc, reinterpret_cast<const Bytef*>(buffer), nCount);
        m_nUnpacked += nCount;
        if (nCount > 0)
            return static_cast<int>(nCount);
        if (m_nUnpacked != m_nExpectedSize)
            m_strReason = "Unpacked size differs from the directory";
        else if (m_nCrc != m_nExpectedCrc)
            m_strReason = "CRC error";
        return m_strReason.empty() ? 0 : -1;
    }
    const std::string& Reason() const { return m_strReason; }

private:
    static std::string ZlibError(int nStatus) { return std::string("Zlib error: ") + zError(nStatus); }
    unsigned Stored(char* buffer, unsigned nSize)
    {
        const int nRead = unzReadCurrentFile(m_zip, buffer, nSize);
        if (nRead < 0)
            m_strReason = "Read error";
        return nRead < 0 ? 0 : static_cast<unsigned>(nRead);
    }
    // Inflates until some bytes come out or the stream ends. The stream must
    // end exactly where the part's stored bytes do.
    unsigned Inflate(char* buffer, unsigned nSize)
    {
        m_inflate.next_out = reinterpret_cast<Bytef*>(buffer);
        m_inflate.avail_out = nSize;
        while (m_inflate.avail_out == nSize && !m_bEnded) {
            if (m_inflate.avail_in == 0 && !FetchStored())
                return 0;
            const bool bInputLeft = m_inflate.avail_in > 0;
            const int nStatus = inflate(&m_inflate, Z_NO_FLUSH);
            if (nStatus == Z_STREAM_END) {
                m_bEnded = true;
                if (m_inflate.avail_in > 0 || (FetchStored() && m_inflate.avail_in > 0))
                    m_strReason = "Packed size differs from the directory";
            } else if (nStatus == Z_BUF_ERROR && !bInputLeft) {
                m_strReason = "Premature end of data";
            } else if (nStatus != Z_OK && nStatus != Z_BUF_ERROR) {
                m_strReason = ZlibError(nStatus);
            }
            if (!m_strReason.empty())
                return 0;
        }
        return nSize - m_inflate.avail_out;
    }
    // The next stored bytes as zlib's input; false on a read error.
    bool FetchStored()
    {
        const int nRead = unzReadCurrentFile(m_zip, m_input, sizeof m_input);
        if (nRead < 0) {
            m_strReason = "Read error";
            return false;
        }
        m_inflate.next_in = reinterpret_cast<Bytef*>(m_input);
        m_inflate.avail_in = static_cast<unsigned>(nRead);
        return true;
    }

    unzFile m_zip;
    z_stream m_inflate{};
    char m_input[16 * 1024];
    uLong m_nExpectedCrc;
    ZPOS64_T m_nExpectedSize;
    ZPOS64_T m_nUnpacked = 0;
    uLong m_nCrc = crc32(0, nullptr, 0);
    bool m_bDeflated;
    bool m_bEnded = false; // nothing more comes out
    std::string m_strReason;
};

class CZipArchive
{
public:
    CZipArchive() = default;
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;
    ~CZipArchive()
    {
        if (m_zip)
            unzClose(m_zip);
    }

    CWireListProblem Open(std::string_view bytes)
    {
        m_file = {UpToEndRecord(bytes), 0};
        zlib_filefunc64_def functions = MemoryFileFunctions();
        m_zip = unzOpen2_64(&m_file, &functions);
        if (m_zip)
            return ListParts();
        if (IsEmptyArchive(bytes))
            return {};
        return PartProblem(Kind::ZipDamaged, {}, kNotAZip);
    }

    bool Has(const std::string& name) const { return m_parts.contains(name); }

    // Streams the part through `reader`; what kept it from being read, if
    // anything.
    CWireListProblem ReadXml(const std::string& name, CXmlReader& reader)
    {
        const auto part = m_parts.find(name);
        if (part == m_parts.end())
            return PartProblem(Kind::PartMissing, name);
        unz_file_info64 info;
        if (unzGoToFilePos64(m_zip, &part->second) != UNZ_OK ||
            unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return PartProblem(Kind::PartUnpackable, name, kInconsistent);
        if (info.uncompressed_size > kMaxWorkbookPartBytes) {
            CWireListProblem problem = LimitProblem(Kind::PartTooLarge, name, kMaxWorkbookPartBytes);
            problem.m_nCount = info.uncompressed_size;
            return problem;
        }
        if (info.flag & kEncrypted)
            return PartProblem(Kind::PartUnpackable, name, "No password provided");
        if (!Unpackable(info))
            return PartProblem(Kind::PartUnpackable, name, "Compression method not supported");
        if (unzOpenCurrentFile2(m_zip, nullptr, nullptr, kRaw) != UNZ_OK)
            return PartProblem(Kind::PartUnpackable, name, kInconsistent);
        CPartStream stream(m_zip, info);
        const std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(
            XML_ParserCreateNS("UTF-8", '|'), &XML_ParserFree);
        XML_SetUserData(parser.get(), &reader);
        XML_SetElementHandler(
            parser.get(),
            [](void* data, const XML_Char* element, const XML_Char** attributes) {
                auto* reader = static_cast<CXmlReader*>(data);
                if (reader->m_bDone)
                    return;
                if (++reader->m_nDepth > kMaxXmlDepth)
                    reader->Fail(LimitProblem(Kind::NestedTooDeep, {}, kMaxXmlDepth));
                else
                    reader->Start(LocalName(element), attributes);
            },
            [](void* data, const XML_Char* element) {
                auto* reader = static_cast<CXmlReader*>(data);
                if (reader->m_bDone)
                    return;
                reader->End(LocalName(element));
                --reader->m_nDepth;
            });
        XML_SetCharacterDataHandler(parser.get(), [](void* data, const XML_Char* text, int nLength) {
            auto* reader = static_cast<CXmlReader*>(data);
            if (!reader->m_bDone)
                reader->Text(std::string_view(text, static_cast<std::size_t>(nLength)));
        });
        char buffer[64 * 1024];
        std::size_t nTotal = 0;
        CXmlTokenGuard tokens;
        // Once the reader has what it needs, the rest of the part is still
        // unpacked (not parsed) to its end: only then is the checksum known.
        bool bParsing = true;
        for (;;) {
            const int nRead = stream.Read(buffer, sizeof buffer);
            if (nRead < 0)
                return PartProblem(Kind::PartDamaged, name, stream.Reason());
            nTotal += static_cast<std::size_t>(nRead);
            if (nTotal > kMaxWorkbookPartBytes)
                return LimitProblem(Kind::PartTooLarge, name, kMaxWorkbookPartBytes);
            m_nUnpacked += static_cast<std::size_t>(nRead);
            if (m_nUnpacked > kMaxWorkbookBytes)
                return LimitProblem(Kind::PartsTooLarge, {}, kMaxWorkbookBytes);
            const bool bFinal = nRead == 0;
            if (bParsing) {
                if (!tokens.Admits(std::string_view(buffer, static_cast<std::size_t>(nRead)), bFinal))
                    return LimitProblem(Kind::TagTooLong, name, kMaxXmlTagBytes);
                const std::string_view ready = tokens.Ready();
                // What follows the end of what the reader needs is not its
                // concern, well-formed or not.
                const bool bParsed = XML_Parse(parser.get(), ready.data(), static_cast<int>(ready.size()),
                                               bFinal) == XML_STATUS_OK;
                if (reader.m_bDone) {
                    if (reader.m_problem)
                        return Failure(name, reader);
                    bParsing = false;
                } else if (!bParsed) {
                    break;
                }
            }
            if (bFinal)
                return {};
        }
        CWireListProblem problem =
            PartProblem(Kind::NotWellFormed, name, XML_ErrorString(XML_GetErrorCode(parser.get())));
        problem.m_nRow = XML_GetCurrentLineNumber(parser.get());
        return problem;
    }

private:
    static constexpr uLong kEncrypted = 1;               // a bit of an entry's flags
    static constexpr uLong kDataDescriptor = 8;          // sizes and checksum follow the data
    static constexpr std::size_t kLocalHeaderBytes = 30; // before the name and extra fields
    static constexpr int kRaw = 1;                       // parts are opened as stored, zlib inflates them

    // The container up to its end record, found as the one whose comment
    // ends the file: minizip looks for that record only in the last 64 KB,
    // which a comment of up to 64 KB leaves it beyond. The whole of `bytes`
    // when there is no such record.
    static std::string_view UpToEndRecord(std::string_view bytes)
    {
        constexpr std::size_t kEndRecordBytes = 22;
        constexpr std::size_t kMaxCommentBytes = 0xFFFF;
        if (bytes.size() < kEndRecordBytes)
            return bytes;
        const std::size_t nLowest = bytes.size() - std::min(bytes.size(), kEndRecordBytes + kMaxCommentBytes);
        for (std::size_t i = bytes.size() - kEndRecordBytes + 1; i-- > nLowest;)
            if (bytes.compare(i, 4, "PK\x05\x06") == 0 &&
                i + kEndRecordBytes + LittleEndian(bytes, i + 20, 2) == bytes.size())
                return bytes.substr(0, i + kEndRecordBytes);
        return bytes;
    }

    // Only the end record, with no entries and its comment: minizip looks
    // for that record after the first byte and so never finds it here.
    static bool IsEmptyArchive(std::string_view bytes)
    {
        constexpr std::size_t kEndRecordBytes = 22;
        return bytes.size() >= kEndRecordBytes && bytes.starts_with("PK\x05\x06") &&
               LittleEndian(bytes, 10, 2) == 0 &&
               bytes.size() == kEndRecordBytes + LittleEndian(bytes, 20, 2);
    }

    static CWireListProblem Failure(const std::string& name, const CXmlReader& reader)
    {
        CWireListProblem problem = reader.m_problem;
        problem.m_strPart = name;
        return problem;
    }

    // Notes where each part is. The container is refused as damaged when an
    // entry's local header disagrees with the central directory, its data
    // lies outside the file or two entries share a name: which of two
    // differing accounts is true cannot be told.
    CWireListProblem ListParts()
    {
        unz_global_info64 global;
        if (unzGetGlobalInfo64(m_zip, &global) != UNZ_OK)
            return PartProblem(Kind::ZipDamaged, {}, kNotAZip);
        for (ZPOS64_T i = 0; i < global.number_entry; ++i) {
            unz_file_info64 info;
            if ((i == 0 ? unzGoToFirstFile(m_zip) : unzGoToNextFile(m_zip)) != UNZ_OK ||
                unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
                return PartProblem(Kind::ZipDamaged, {}, kNotAZip);
            std::string name(info.size_filename, '\0');
            std::string extra(info.size_file_extra, '\0');
            unz64_file_pos position;
            if (unzGetCurrentFileInfo64(m_zip, &info, name.data(), name.size(), extra.data(), extra.size(),
                                        nullptr, 0) != UNZ_OK ||
                unzGetFilePos64(m_zip, &position) != UNZ_OK)
                return PartProblem(Kind::ZipDamaged, {}, kNotAZip);
            // A size of all ones stands for one in the zip64 extra field,
            // which is then missing.
            if (!ExtraFieldsFit(extra) || info.compressed_size == UINT32_MAX ||
                info.uncompressed_size == UINT32_MAX)
                return PartProblem(Kind::ZipDamaged, {}, kInconsistent);
            // Parts that cannot be unpacked are refused when read, as
            // minizip does not find their local headers.
            if (Unpackable(info))
                if (CWireListProblem problem = CheckLocalHeader(info, name))
                    return problem;
            if (!m_parts.emplace(std::move(name), position).second)
                return PartProblem(Kind::ZipDamaged, {}, "Two entries share a name");
        }
        return {};
    }

    // minizip compares the local header's signature, method, name length and,
    // without a data descriptor, checksum and sizes; the rest is compared here.
    CWireListProblem CheckLocalHeader(const unz_file_info64& info, std::string_view name) const
    {
        if (unzOpenCurrentFile2(m_zip, nullptr, nullptr, kRaw) != UNZ_OK)
            return PartProblem(Kind::ZipDamaged, {}, kInconsistent);
        const ZPOS64_T nData = unzGetCurrentFileZStreamPos64(m_zip);
        const auto nExtra = static_cast<std::size_t>(unzGetLocalExtrafield(m_zip, nullptr, 0));
        unzCloseCurrentFile(m_zip);
        const std::string_view bytes = m_file.m_bytes;
        if (nData > bytes.size() || bytes.size() - nData < info.compressed_size)
            return PartProblem(Kind::ZipDamaged, {}, kNotAZip);
        const std::string_view local = bytes.substr(nData - nExtra - name.size() - kLocalHeaderBytes,
                                                    kLocalHeaderBytes + name.size() + nExtra);
        const std::uint32_t nCrc = LittleEndian(local, 14, 4);
        const std::string_view extra = local.substr(kLocalHeaderBytes + name.size());
        const std::optional<CEntrySizes> sizes =
            LocalSizes(extra, LittleEndian(local, 18, 4), LittleEndian(local, 22, 4));
        // With a data descriptor the checksum and sizes may follow the data,
        // the header's fields then zero (in the zip64 extra field too).
        const bool bSizesAgree = sizes && ((nCrc == info.crc && sizes->m_nPacked == info.compressed_size &&
                                            sizes->m_nUnpacked == info.uncompressed_size) ||
                                           ((LittleEndian(local, 6, 2) & kDataDescriptor) && nCrc == 0 &&
                                            sizes->m_nPacked == 0 && sizes->m_nUnpacked == 0));
        const bool bAgrees = LittleEndian(local, 4, 2) <= info.version_needed &&
                             LittleEndian(local, 10, 4) == info.dosDate && bSizesAgree &&
                             local.substr(kLocalHeaderBytes, name.size()) == name && ExtraFieldsFit(extra);
        return bAgrees ? CWireListProblem{} : PartProblem(Kind::ZipDamaged, {}, kInconsistent);
    }

    CMemoryFile m_file;
    unzFile m_zip = nullptr;
    std::size_t m_nUnpacked = 0; // of all parts read so far
    std::map<std::string, unz64_file_pos, std::less<>> m_parts;
};

CWireListProblem NoSuchWorksheet(const std::string& name, std::vector<std::string> names)
{
    CWireListProblem problem = PartProblem(Kind::NoSuchWorksheet, {}, name);
    problem.m_names = std::move(names);
    return problem;
}

// Cells of one row as runs of one text each, so that a cell repeated across
// the row is stored once, and the empty cells at the end of a row (rows end
// in long runs of them) are never made.
class CRowCells
{
public:
    // Adds `text` nRepeat times; false once the row would exceed the text or
    // cell limits of a list.
    bool Add(std::string_view text, std::size_t nRepeat = 1)
    {
        nRepeat = std::min(nRepeat, kMaxWorkbookColumns - std::min(m_nColumns, kMaxWorkbookColumns));
        if (nRepeat == 0)
            return true;
        if (text.empty()) {
            m_nPendingEmpty += nRepeat;
            return true;
        }
        m_nPendingEmpty = std::min(m_nPendingEmpty, kMaxWorkbookColumns - m_nColumns - nRepeat);
        if (m_nPendingEmpty > 0)
            m_runs.push_back({{}, m_nPendingEmpty});
        m_nColumns += m_nPendingEmpty + nRepeat;
        m_nPendingEmpty = 0;
        m_nBytes += text.size() * nRepeat; // both at most 64 MB and 16,384: no overflow
        if (m_nBytes > kMaxWireListBytes)
            return false;
        m_runs.push_back({std::string(text), nRepeat});
        return true;
    }
    // The column (from 0) the next cell goes to.
    std::size_t NextColumn() const { return m_nColumns + m_nPendingEmpty; }
    // Moves the cursor to column nColumn (from 0), as a cell reference does.
    void SkipTo(std::size_t nColumn)
    {
        if (nColumn > m_nColumns + m_nPendingEmpty)
            m_nPendingEmpty = nColumn - m_nColumns;
    }
    bool Empty() const { return m_runs.empty(); }
    // Adds the row nRepeat times; false once the builder stops.
    bool Emit(CTableBuilder& builder, std::size_t nRepeat) const
    {
        if (m_runs.empty())
            return builder.AddEmptyRows(nRepeat);
        if (!builder.Admits(nRepeat, m_nColumns, m_nBytes))
            return false;
        for (std::size_t r = 0; r < nRepeat; ++r) {
            for (const CRun& run : m_runs)
                for (std::size_t i = 0; i < run.m_nRepeat; ++i)
                    if (!builder.AddCell(run.m_strText))
                        return false;
            if (!builder.EndRow())
                return false;
        }
        return true;
    }
    void Clear()
    {
        m_runs.clear();
        m_nColumns = 0;
        m_nPendingEmpty = 0;
        m_nBytes = 0;
    }

private:
    struct CRun
    {
        std::string m_strText;
        std::size_t m_nRepeat;
    };
    std::vector<CRun> m_runs;
    std::size_t m_nColumns = 0; // cells in m_runs
    std::size_t m_nPendingEmpty = 0;
    std::size_t m_nBytes = 0; // text of all cells, repeats counted
};

// ---- .xlsx -------------------------------------------------------------

struct CSheetEntry
{
    std::string m_strName;
    std::string m_strRelationId;
};

class CWorkbookSheets : public CXmlReader
{
public:
    void Start(const char* name, const XML_Char** attributes) override
    {
        if (std::strcmp(name, "workbookPr") == 0) {
            const char* date1904 = Attribute(attributes, "date1904");
            m_bDates1904 =
                date1904 && (std::strcmp(date1904, "1") == 0 || std::strcmp(date1904, "true") == 0);
            return;
        }
        if (std::strcmp(name, "sheet") != 0)
            return;
        const char* sheetName = Attribute(attributes, "name");
        const char* id = Attribute(attributes, "id");
        m_sheets.push_back({sheetName ? sheetName : "", id ? id : ""});
    }
    void End(const char*) override {}
    std::vector<CSheetEntry> m_sheets;
    bool m_bDates1904 = false; // dates count from 1904-01-01, not 1899-12-30
};

class CRelationships : public CXmlReader
{
public:
    void Start(const char* name, const XML_Char** attributes) override
    {
        if (std::strcmp(name, "Relationship") != 0)
            return;
        const char* id = Attribute(attributes, "Id");
        const char* target = Attribute(attributes, "Target");
        const char* type = Attribute(attributes, "Type");
        if (!id || !target)
            return;
        // Targets are relative to xl/ unless they start at the root.
        const std::string path = target[0] == '/' ? std::string(target + 1) : "xl/" + std::string(target);
        m_targets[id] = path;
        if (type && std::string_view(type).ends_with("/sharedStrings"))
            m_strSharedStrings = path;
        if (type && std::string_view(type).ends_with("/styles"))
            m_strStyles = path;
    }
    void End(const char*) override {}
    std::map<std::string, std::string> m_targets;
    std::string m_strSharedStrings = "xl/sharedStrings.xml";
    std::string m_strStyles = "xl/styles.xml";
};

// The number format of every cell style (cellXfs), by the style's index.
class CCellStyles : public CXmlReader
{
public:
    void Start(const char* name, const XML_Char** attributes) override
    {
        if (std::strcmp(name, "numFmt") == 0) {
            const char* code = Attribute(attributes, "formatCode");
            if (code)
                m_codes[CountAttribute(attributes, "numFmtId", 0, UINT_MAX)] = code;
        } else if (std::strcmp(name, "cellXfs") == 0) {
            m_bInCellStyles = true;
        } else if (m_bInCellStyles && std::strcmp(name, "xf") == 0) {
            if (m_formats.size() < kMaxStyles)
                m_formats.push_back(
                    static_cast<unsigned>(CountAttribute(attributes, "numFmtId", 0, UINT_MAX)));
        }
    }
    void End(const char* name) override
    {
        if (std::strcmp(name, "cellXfs") == 0)
            m_bInCellStyles = false;
    }
    // The number format of style nStyle, read once for all its cells; null
    // for General.
    const CNumberFormat* Format(std::size_t nStyle) const
    {
        if (nStyle >= m_formats.size())
            return nullptr;
        const unsigned nId = m_formats[nStyle];
        if (const auto parsed = m_parsed.find(nId); parsed != m_parsed.end())
            return &parsed->second;
        const auto custom = m_codes.find(nId);
        const std::string_view code = custom != m_codes.end()
                                          ? std::string_view(custom->second)
                                          : BuiltInNumberFormat(nId).value_or(std::string_view("General"));
        return &m_parsed.emplace(nId, CNumberFormat(code)).first->second;
    }

private:
    // Spreadsheet programs allow 64,000 styles; more only come from hostile files.
    static constexpr std::size_t kMaxStyles = 65536;
    std::map<std::size_t, std::string> m_codes;
    std::vector<unsigned> m_formats;
    mutable std::map<unsigned, CNumberFormat> m_parsed;
    bool m_bInCellStyles = false;
};

// The text of every <si>: its <t> elements, without phonetic runs (<rPh>).
// All texts lie in one block; their count and bytes are bounded as a list's
// cells are, and reading stops at the first excess.
class CSharedStrings : public CXmlReader
{
public:
    void Start(const char* name, const XML_Char**) override
    {
        if (std::strcmp(name, "si") == 0) {
            if (m_ends.size() == kMaxWireListCells)
                Fail(LimitProblem(Kind::TooManySharedStrings, {}, kMaxWireListCells));
            m_bInString = true;
        } else if (std::strcmp(name, "rPh") == 0) {
            m_bPhonetic = true;
        } else if (std::strcmp(name, "t") == 0) {
            m_bInText = m_bInString && !m_bPhonetic;
        }
    }
    void End(const char* name) override
    {
        if (std::strcmp(name, "si") == 0) {
            m_ends.push_back(static_cast<std::uint32_t>(m_strTexts.size()));
            m_bInString = false;
        } else if (std::strcmp(name, "rPh") == 0) {
            m_bPhonetic = false;
        } else if (std::strcmp(name, "t") == 0) {
            m_bInText = false;
        }
    }
    void Text(std::string_view text) override
    {
        if (m_bInText)
            AppendBounded(m_strTexts, text);
    }
    // "" for an index without a string, as a spreadsheet shows it.
    std::string_view String(std::size_t nIndex) const
    {
        if (nIndex >= m_ends.size())
            return {};
        const std::size_t nBegin = nIndex == 0 ? 0 : m_ends[nIndex - 1];
        return std::string_view(m_strTexts).substr(nBegin, m_ends[nIndex] - nBegin);
    }

private:
    std::string m_strTexts;
    std::vector<std::uint32_t> m_ends; // of each string in m_strTexts, at most 64 MB
    bool m_bInString = false;
    bool m_bPhonetic = false;
    bool m_bInText = false;
};

// The column (from 0) of a reference such as "AB12"; nullopt without letters.
std::optional<std::size_t> ReferenceColumn(const char* reference)
{
    std::size_t nColumn = 0;
    const char* p = reference;
    for (; *p >= 'A' && *p <= 'Z'; ++p) {
        nColumn = nColumn * 26 + static_cast<std::size_t>(*p - 'A' + 1);
        if (nColumn > kMaxWorkbookColumns)
            return kMaxWorkbookColumns;
    }
    if (p == reference)
        return std::nullopt;
    return nColumn - 1;
}

// A number cell as the sheet shows it in its format (null for General).
std::string NumberText(const std::string& value, const CNumberFormat* format, bool bDates1904)
{
    double dValue = 0;
    const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), dValue);
    if (ec != std::errc() || ptr != value.data() + value.size())
        return value;
    return format ? format->Number(dValue, bDates1904) : GeneralNumberText(dValue);
}

// A text cell as the sheet shows it in its format (null for General).
std::string TextCellText(std::string_view text, const CNumberFormat* format)
{
    return format ? format->Text(text) : std::string(text);
}

struct CPlacedRow
{
    std::size_t m_nNumber; // from 1
    std::size_t m_nTableRow;
};

// The rows of `table` each at its number, empty rows in the gaps; rows of one
// number stay in file order.
CWireTable RowsByNumber(const CWireTable& table, std::vector<CPlacedRow> placed)
{
    // Rows of one number keep their file order: table rows are in that order.
    std::sort(placed.begin(), placed.end(), [](const CPlacedRow& a, const CPlacedRow& b) {
        return a.m_nNumber != b.m_nNumber ? a.m_nNumber < b.m_nNumber : a.m_nTableRow < b.m_nTableRow;
    });
    CWireTable ordered;
    std::size_t nNext = 1;
    for (const CPlacedRow& row : placed) {
        for (; nNext < row.m_nNumber; ++nNext)
            ordered.EndRow();
        for (std::size_t c = 0; c < table.CellCount(row.m_nTableRow); ++c)
            ordered.AddCell(table.Cell(row.m_nTableRow, c));
        ordered.EndRow();
        nNext = std::max(nNext, row.m_nNumber + 1);
    }
    return ordered;
}

class CXlsxSheet : public CXmlReader
{
public:
    CXlsxSheet(const CSharedStrings& sharedStrings, const CCellStyles& styles, bool bDates1904,
               CTableBuilder& builder, const CWireTable& table)
        : m_sharedStrings(sharedStrings), m_styles(styles), m_bDates1904(bDates1904), m_builder(builder),
          m_table(table)
    {}

    // Rows come in the order of their numbers, as every spreadsheet program
    // writes them; a file may still give them in any order.
    bool OutOfOrder() const { return m_bOutOfOrder; }
    // The number (r) and the table row of every row with cells, in file order.
    const std::vector<CPlacedRow>& Placed() const { return m_placed; }
    void Start(const char* name, const XML_Char** attributes) override
    {
        if (std::strcmp(name, "row") == 0) {
            const std::size_t nRow = CountAttribute(attributes, "r", m_nNextRow, kMaxWireListRows + 1);
            if (nRow > m_nNextRow)
                Keep(m_builder.AddEmptyRows(nRow - m_nNextRow));
            else if (nRow < m_nNextRow)
                m_bOutOfOrder = true;
            m_nNextRow = std::max(nRow, m_nNextRow) + 1;
            m_nRow = nRow;
            m_row.Clear();
        } else if (std::strcmp(name, "c") == 0) {
            const char* reference = Attribute(attributes, "r");
            if (const std::optional<std::size_t> nColumn =
                    reference ? ReferenceColumn(reference) : std::nullopt)
                m_row.SkipTo(*nColumn);
            const char* type = Attribute(attributes, "t");
            m_strType = type ? type : "n";
            m_nStyle = CountAttribute(attributes, "s", 0, SIZE_MAX);
            m_bFormula = false;
            m_strValue.clear();
            m_strInline.clear();
        } else if (std::strcmp(name, "f") == 0) {
            m_bFormula = true;
        } else if (std::strcmp(name, "v") == 0) {
            m_pText = &m_strValue;
        } else if (std::strcmp(name, "rPh") == 0) {
            m_bPhonetic = true;
        } else if (std::strcmp(name, "t") == 0 && !m_bPhonetic) {
            m_pText = &m_strInline;
        }
    }
    void End(const char* name) override
    {
        if (std::strcmp(name, "v") == 0 || std::strcmp(name, "t") == 0) {
            m_pText = nullptr;
        } else if (std::strcmp(name, "rPh") == 0) {
            m_bPhonetic = false;
        } else if (std::strcmp(name, "c") == 0) {
            // A formula never calculated (as openpyxl writes them) has no
            // value to show; an empty cell would hide the loss.
            if (m_bFormula && m_strValue.empty() && m_strType != "inlineStr") {
                CWireListProblem problem{Kind::FormulaWithoutResult};
                problem.m_strDetail = ColumnLetters(m_row.NextColumn());
                problem.m_nRow = m_nRow;
                Fail(std::move(problem));
                return;
            }
            if (!m_row.Add(CellText()))
                Fail(MoreTextThanAList());
        } else if (std::strcmp(name, "row") == 0) {
            Keep(m_row.Emit(m_builder, 1));
            if (!m_row.Empty() && m_table.RowCount() > 0)
                m_placed.push_back({m_nRow, m_table.RowCount() - 1});
        } else if (std::strcmp(name, "sheetData") == 0) {
            m_bDone = true;
        }
    }
    void Text(std::string_view text) override
    {
        if (m_pText)
            AppendBounded(*m_pText, text);
    }

private:
    void Keep(bool bGoOn)
    {
        if (!bGoOn)
            m_bDone = true;
    }
    std::string CellText() const
    {
        if (m_strType == "s") {
            std::size_t nIndex = 0;
            const auto [ptr, ec] =
                std::from_chars(m_strValue.data(), m_strValue.data() + m_strValue.size(), nIndex);
            return ec == std::errc() ? TextCellText(m_sharedStrings.String(nIndex), m_styles.Format(m_nStyle))
                                     : std::string();
        }
        if (m_strType == "inlineStr")
            return TextCellText(m_strInline, m_styles.Format(m_nStyle));
        if (m_strType == "b")
            return m_strValue == "1" ? "TRUE" : "FALSE";
        if (m_strType == "n")
            return NumberText(m_strValue, m_styles.Format(m_nStyle), m_bDates1904);
        return m_strValue; // "str" (a formula's text), "e" (an error such as #N/A), "d"
    }

    const CSharedStrings& m_sharedStrings;
    const CCellStyles& m_styles;
    bool m_bDates1904;
    CTableBuilder& m_builder;
    const CWireTable& m_table;
    std::vector<CPlacedRow> m_placed;
    bool m_bOutOfOrder = false;
    CRowCells m_row;
    std::size_t m_nNextRow = 1;
    std::size_t m_nRow = 1; // the r of the row being read
    std::string m_strType;
    std::size_t m_nStyle = 0;
    bool m_bFormula = false;
    std::string m_strValue;
    std::string m_strInline;
    std::string* m_pText = nullptr;
    bool m_bPhonetic = false;
};

CWireListProblem ReadXlsx(CZipArchive& zip, const CWireListOptions& options, CWireList& list)
{
    CWorkbookSheets workbook;
    if (CWireListProblem problem = zip.ReadXml("xl/workbook.xml", workbook))
        return problem;
    if (workbook.m_sheets.empty())
        return {Kind::NoWorksheet};
    CRelationships relations;
    if (CWireListProblem problem = zip.ReadXml("xl/_rels/workbook.xml.rels", relations))
        return problem;
    const CSheetEntry* sheet = &workbook.m_sheets.front();
    if (!options.m_strWorksheet.empty()) {
        const auto found =
            std::find_if(workbook.m_sheets.begin(), workbook.m_sheets.end(),
                         [&](const CSheetEntry& entry) { return entry.m_strName == options.m_strWorksheet; });
        if (found == workbook.m_sheets.end()) {
            std::vector<std::string> names;
            for (const CSheetEntry& entry : workbook.m_sheets)
                names.push_back(entry.m_strName);
            return NoSuchWorksheet(options.m_strWorksheet, names);
        }
        sheet = &*found;
    }
    const auto target = relations.m_targets.find(sheet->m_strRelationId);
    if (target == relations.m_targets.end())
        return PartProblem(Kind::WorksheetNotLocated, {}, sheet->m_strName);

    CSharedStrings shared;
    if (zip.Has(relations.m_strSharedStrings))
        if (CWireListProblem problem = zip.ReadXml(relations.m_strSharedStrings, shared))
            return problem;
    CCellStyles styles;
    if (zip.Has(relations.m_strStyles))
        if (CWireListProblem problem = zip.ReadXml(relations.m_strStyles, styles))
            return problem;
    list.m_kind = WireListKind::Xlsx;
    CTableBuilder builder(list, options.m_nRowLimit);
    CXlsxSheet reader(shared, styles, workbook.m_bDates1904, builder, list.m_table);
    CWireListProblem problem = zip.ReadXml(target->second, reader);
    if (!problem && !builder.Problem() && reader.OutOfOrder())
        list.m_table = RowsByNumber(list.m_table, reader.Placed());
    builder.Finish();
    return problem ? problem : builder.Problem();
}

// ---- .ods --------------------------------------------------------------

class COdsContent : public CXmlReader
{
public:
    COdsContent(const std::string& worksheet, CTableBuilder& builder)
        : m_strWanted(worksheet), m_builder(builder)
    {}

    void Start(const char* name, const XML_Char** attributes) override
    {
        if (m_nSkipDepth)
            return;
        if (std::strcmp(name, "table") == 0) {
            if (m_nTableDepth) {
                m_nSkipDepth = m_nDepth; // a table inside a cell
                return;
            }
            const char* tableName = Attribute(attributes, "name");
            m_names.emplace_back(tableName ? tableName : "");
            if (!m_bFound && (m_strWanted.empty() || m_names.back() == m_strWanted)) {
                m_bFound = true;
                m_nTableDepth = m_nDepth;
            }
            return;
        }
        if (!m_nTableDepth)
            return;
        if (std::strcmp(name, "table-row") == 0) {
            m_nRowRepeat = CountAttribute(attributes, "number-rows-repeated", 1, kMaxWireListRows + 1);
            m_row.Clear();
        } else if (std::strcmp(name, "table-cell") == 0 || std::strcmp(name, "covered-table-cell") == 0) {
            m_nCellRepeat = CountAttribute(attributes, "number-columns-repeated", 1, kMaxWorkbookColumns);
            m_strCell.clear();
            m_nParagraphs = 0;
        } else if (std::strcmp(name, "annotation") == 0) {
            m_nSkipDepth = m_nDepth;
        } else if (std::strcmp(name, "p") == 0 || std::strcmp(name, "h") == 0) {
            if (m_nParagraphs++ > 0)
                AppendBounded(m_strCell, "\n");
            m_bInParagraph = true;
        } else if (m_bInParagraph && std::strcmp(name, "s") == 0) {
            AppendBounded(m_strCell, std::string(CountAttribute(attributes, "c", 1, 1000), ' '));
        } else if (m_bInParagraph && std::strcmp(name, "tab") == 0) {
            AppendBounded(m_strCell, "\t");
        } else if (m_bInParagraph && std::strcmp(name, "line-break") == 0) {
            AppendBounded(m_strCell, "\n");
        }
    }
    void End(const char* name) override
    {
        const int nDepth = m_nDepth;
        if (m_nSkipDepth) {
            if (nDepth == m_nSkipDepth)
                m_nSkipDepth = 0;
            return;
        }
        if (!m_nTableDepth)
            return;
        if (nDepth == m_nTableDepth) {
            m_bDone = true;
        } else if (std::strcmp(name, "table-row") == 0) {
            if (!m_row.Emit(m_builder, m_nRowRepeat))
                m_bDone = true;
        } else if (std::strcmp(name, "table-cell") == 0 || std::strcmp(name, "covered-table-cell") == 0) {
            if (!m_row.Add(m_strCell, m_nCellRepeat))
                Fail(MoreTextThanAList());
        } else if (std::strcmp(name, "p") == 0 || std::strcmp(name, "h") == 0) {
            m_bInParagraph = false;
        }
    }
    void Text(std::string_view text) override
    {
        if (!m_nSkipDepth && m_bInParagraph)
            AppendBounded(m_strCell, text);
    }

    bool Found() const { return m_bFound; }
    const std::vector<std::string>& Names() const { return m_names; }

private:
    std::string m_strWanted;
    CTableBuilder& m_builder;
    std::vector<std::string> m_names;
    bool m_bFound = false;
    int m_nTableDepth = 0;
    int m_nSkipDepth = 0;
    CRowCells m_row;
    std::size_t m_nRowRepeat = 1;
    std::size_t m_nCellRepeat = 1;
    std::string m_strCell;
    int m_nParagraphs = 0;
    bool m_bInParagraph = false;
};

CWireListProblem ReadOds(CZipArchive& zip, const CWireListOptions& options, CWireList& list)
{
    list.m_kind = WireListKind::Ods;
    CTableBuilder builder(list, options.m_nRowLimit);
    COdsContent content(options.m_strWorksheet, builder);
    CWireListProblem problem = zip.ReadXml("content.xml", content);
    builder.Finish();
    if (problem)
        return problem;
    if (!content.Found()) {
        if (content.Names().empty())
            return {Kind::NoWorksheet};
        return NoSuchWorksheet(options.m_strWorksheet, content.Names());
    }
    return builder.Problem();
}

} // namespace

CWireListProblem ReadWorkbook(std::string_view bytes, const CWireListOptions& options, CWireList& list)
{
    CZipArchive zip;
    if (CWireListProblem problem = zip.Open(bytes))
        return problem;
    if (zip.Has("xl/workbook.xml"))
        return ReadXlsx(zip, options, list);
    if (zip.Has("content.xml"))
        return ReadOds(zip, options, list);
    return {Kind::NotAWorkbook};
}

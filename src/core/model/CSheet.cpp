#include "model/CSheet.h"

#include "model/Archive.h"
#include "model/AtomicFile.h"
#include "model/FileAccess.h"

#include <cerrno>
#include <fstream>
#include <sstream>

const std::string kSheetSignature = "_TAVRO MARKER SUITE DESIGNED BY DELMARO 2004-02_";

SignatureCheck CheckSignature(std::istream& in)
{
    CArchiveReader ar(in);
    const std::string signature = ar.ReadString();
    if (!ar.Ok())
        return SignatureCheck::Unreadable;
    return signature == kSheetSignature ? SignatureCheck::Ok : SignatureCheck::WrongSignature;
}

namespace {

// A directory opens as a stream on Linux but cannot be read as a file, and
// a FIFO would block the open: both count as files that cannot be opened,
// not as damaged ones.
bool OpenForReading(const std::string& path, std::ifstream& in)
{
    if (CheckFileForReading(path) != 0)
        return false;
    in.open(path, std::ios::binary);
    return in.is_open();
}

} // namespace

SignatureCheck CheckSignatureFile(const std::string& path)
{
    std::ifstream in;
    if (!OpenForReading(path, in))
        return SignatureCheck::CannotOpen;
    return CheckSignature(in);
}

bool WriteSheet(std::ostream& out, const CSheet& sheet)
{
    // rows × columns index the fixed grid, and a file of any other format
    // would be refused on reading.
    if (!sheet.m_format.IsUsable())
        return false;
    CArchiveWriter ar(out);
    ar.WriteString(kSheetSignature);
    sheet.m_format.Store(ar);
    for (int r = 0; r < sheet.m_format.m_nRows; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c)
            sheet.m_labels[r][c].Store(ar);
    return ar.Ok();
}

std::string SheetBytes(const CSheet& sheet)
{
    std::ostringstream out(std::ios::binary);
    if (!WriteSheet(out, sheet))
        return {};
    return std::move(out).str();
}

bool ReadSheet(std::istream& in, CSheet& sheet, std::optional<char32_t>* pUnconvertible)
{
    CArchiveReader ar(in);
    ar.ReadString(); // the signature, checked before the full read
    CSheet read = sheet;
    if (!read.m_format.Load(ar) || !read.m_format.IsUsable())
        return false;
    for (int r = 0; r < read.m_format.m_nRows; ++r)
        for (int c = 0; c < read.m_format.m_nColumns; ++c)
            if (!read.m_labels[r][c].Load(ar)) {
                if (pUnconvertible)
                    *pUnconvertible = ar.UnconvertibleChar();
                return false;
            }
    sheet = std::move(read);
    return true;
}

SheetReadResult ReadSheetFile(const std::string& path, CSheet& sheet, std::optional<char32_t>* pUnconvertible)
{
    std::ifstream in;
    if (!OpenForReading(path, in))
        return SheetReadResult::CannotOpen;
    switch (CheckSignature(in)) {
    case SignatureCheck::Ok:
        break;
    case SignatureCheck::CannotOpen:
        return SheetReadResult::CannotOpen;
    case SignatureCheck::WrongSignature:
        return SheetReadResult::WrongSignature;
    case SignatureCheck::Unreadable:
        return SheetReadResult::Unreadable;
    }
    in.clear();
    in.seekg(0);
    return ReadSheet(in, sheet, pUnconvertible) ? SheetReadResult::Ok : SheetReadResult::Corrupt;
}

int SaveSheetFile(const std::string& path, const CSheet& sheet)
{
    if (!sheet.m_format.IsUsable())
        return EINVAL;
    return WriteFileAtomically(path, SheetBytes(sheet));
}

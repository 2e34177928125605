#include "model/CSheet.h"

#include "model/Archive.h"
#include "model/AtomicFile.h"

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

SignatureCheck CheckSignatureFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return SignatureCheck::CannotOpen;
    return CheckSignature(in);
}

void WriteSheet(std::ostream& out, const CSheet& sheet)
{
    CArchiveWriter ar(out);
    ar.WriteString(kSheetSignature);
    sheet.m_format.Store(ar);
    for (int r = 0; r < sheet.m_format.m_nRows; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c)
            sheet.m_labels[r][c].Store(ar);
}

std::string SheetBytes(const CSheet& sheet)
{
    std::ostringstream out(std::ios::binary);
    WriteSheet(out, sheet);
    return std::move(out).str();
}

bool ReadSheet(std::istream& in, CSheet& sheet)
{
    CArchiveReader ar(in);
    ar.ReadString(); // the signature, checked before the full read
    CSheet read = sheet;
    if (!read.m_format.Load(ar) || !read.m_format.IsUsable())
        return false;
    for (int r = 0; r < read.m_format.m_nRows; ++r)
        for (int c = 0; c < read.m_format.m_nColumns; ++c)
            if (!read.m_labels[r][c].Load(ar))
                return false;
    sheet = std::move(read);
    return true;
}

SheetReadResult ReadSheetFile(const std::string& path, CSheet& sheet)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
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
    return ReadSheet(in, sheet) ? SheetReadResult::Ok : SheetReadResult::Corrupt;
}

int SaveSheetFile(const std::string& path, const CSheet& sheet)
{
    return WriteFileAtomically(path, SheetBytes(sheet));
}

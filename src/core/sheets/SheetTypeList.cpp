#include "sheets/SheetTypeList.h"

#include "model/Archive.h"
#include "model/AtomicFile.h"
#include "model/FileAccess.h"
#include "model/Gbk.h"
#include "model/SettingsDir.h"

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <sstream>

const std::string kTypeListFileName = "tavropage.lps";

namespace {

// One character of a code page 936 string as a comparable number: a single
// byte (ASCII folded to lower case) in the high byte, or a two-byte
// character as lead × 256 + trail. A lead byte at the very end stands alone.
class CNameReader
{
public:
    explicit CNameReader(const std::string& str) : m_str(str) {}

    bool AtEnd() const { return m_nPos >= m_str.size(); }

    unsigned Next()
    {
        const auto b = static_cast<unsigned char>(m_str[m_nPos++]);
        if (IsGbkLeadByte(b) && m_nPos < m_str.size())
            return (unsigned{b} << 8) | static_cast<unsigned char>(m_str[m_nPos++]);
        const unsigned folded = (b >= 'A' && b <= 'Z') ? b - 'A' + 'a' : b;
        return folded << 8;
    }

private:
    const std::string& m_str;
    std::size_t m_nPos = 0;
};

} // namespace

int CompareTypeNames(const std::string& strA, const std::string& strB)
{
    CNameReader a(strA);
    CNameReader b(strB);
    while (!a.AtEnd() && !b.AtEnd()) {
        const unsigned nA = a.Next();
        const unsigned nB = b.Next();
        if (nA != nB)
            return nA < nB ? -1 : 1;
    }
    if (a.AtEnd() && b.AtEnd())
        return 0;
    return a.AtEnd() ? -1 : 1;
}

bool TypeNameHasPrefix(const std::string& strName, const std::string& strPrefix)
{
    if (strPrefix.empty())
        return false;
    CNameReader name(strName);
    CNameReader prefix(strPrefix);
    while (!prefix.AtEnd()) {
        if (name.AtEnd() || name.Next() != prefix.Next())
            return false;
    }
    return true;
}

namespace {

bool NameSortsBefore(const CSheetType& a, const CSheetType& b)
{
    return CompareTypeNames(a.m_strName, b.m_strName) < 0;
}

} // namespace

std::size_t InsertSorted(CSheetTypeList& list, CSheetType type)
{
    const auto pos = std::upper_bound(list.begin(), list.end(), type, NameSortsBefore);
    const auto nIndex = static_cast<std::size_t>(pos - list.begin());
    list.insert(pos, std::move(type));
    return nIndex;
}

int FindTypeByPrefix(const CSheetTypeList& list, const std::string& strPrefix)
{
    const std::size_t nCount = list.size();
    for (std::size_t i = 0; i < nCount; ++i) {
        const std::size_t n = (i + 1) % nCount;
        if (TypeNameHasPrefix(list[n].m_strName, strPrefix))
            return static_cast<int>(n);
    }
    return -1;
}

CSheetTypeList PresetTypes()
{
    CPageFormat a4;
    a4.m_dPageWidth = 210.0;
    a4.m_dPageHeight = 297.0;
    a4.m_dLeftMargin = 12.0;
    a4.m_dRightMargin = 12.0;
    a4.m_dTopMargin = 12.0;
    a4.m_dBottomMargin = 12.0;
    a4.m_dLabelWidth = 19.0;
    a4.m_dLabelHeight = 8.65;
    a4.m_nColumns = 7;
    a4.m_nRows = 20;
    a4.Recalc();
    return {
        {"Tavro Marker Suite K7713-1-3", CPageFormat()},
        {"Tavro Marker Suite K7713-2-6", CPageFormat()},
        {"Tavro Marker Suite K7713-6-10", a4},
    };
}

void ReadTypeList(std::istream& in, CSheetTypeList& list)
{
    CArchiveReader ar(in);
    const std::int32_t nCount = ar.ReadInt32();
    CSheetTypeList read;
    // Every entry takes at least one byte, so the bytes left bound the loop
    // whatever the count claims.
    for (std::int32_t i = 0; i < nCount && ar.Ok() && ar.BytesLeft() > 0; ++i) {
        CSheetType type;
        type.m_strName = ar.ReadString();
        if (!ar.Ok() || !type.m_format.Load(ar))
            break;
        if (type.m_format.IsUsable())
            read.push_back(std::move(type));
    }
    // Sorted once, then merged: one insertion per entry would move the whole
    // list each time. Equal names keep the order they came in (the position
    // breaks ties), after the entries already listed.
    std::vector<std::size_t> order(read.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&read](std::size_t a, std::size_t b) {
        const int n = CompareTypeNames(read[a].m_strName, read[b].m_strName);
        return n != 0 ? n < 0 : a < b;
    });
    CSheetTypeList merged;
    merged.reserve(list.size() + read.size());
    auto next = order.begin();
    for (CSheetType& listed : list) {
        for (; next != order.end() && NameSortsBefore(read[*next], listed); ++next)
            merged.push_back(std::move(read[*next]));
        merged.push_back(std::move(listed));
    }
    for (; next != order.end(); ++next)
        merged.push_back(std::move(read[*next]));
    list = std::move(merged);
}

void WriteTypeList(std::ostream& out, const CSheetTypeList& list)
{
    CArchiveWriter ar(out);
    ar.WriteInt32(static_cast<std::int32_t>(list.size()));
    for (const CSheetType& type : list) {
        ar.WriteString(type.m_strName);
        type.m_format.Store(ar);
    }
}

std::string TypeListBytes(const CSheetTypeList& list)
{
    std::ostringstream out(std::ios::binary);
    WriteTypeList(out, list);
    return std::move(out).str();
}

int ReadTypeListFile(const std::string& path, CSheetTypeList& list)
{
    std::string bytes;
    if (const int nError = ReadWholeFile(path, kMaxTypeListBytes, bytes))
        return nError;
    std::istringstream in(std::move(bytes), std::ios::binary);
    ReadTypeList(in, list);
    return 0;
}

int WriteTypeListFile(const std::string& path, const CSheetTypeList& list)
{
    return WriteFileAtomically(path, TypeListBytes(list));
}

int LoadTypeList(CSheetTypeList& list)
{
    const std::optional<std::string> path = SettingsFilePath(kTypeListFileName);
    return path ? ReadTypeListFile(*path, list) : ENOENT;
}

int SaveTypeList(const CSheetTypeList& list)
{
    const std::optional<std::string> path = SettingsFilePath(kTypeListFileName);
    return path ? WriteTypeListFile(*path, list) : ENOENT;
}

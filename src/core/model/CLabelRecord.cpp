#include "model/CLabelRecord.h"

#include "model/Archive.h"
#include "model/CPageFormat.h"
#include "model/SharedConstants.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// "宋体" in code page 936.

} // namespace

CLogFont CLogFont::LabelDefault()
{
    CLogFont font;
    font.lfHeight = 12;
    font.lfWeight = 400;
    font.lfCharSet = 1;
    font.SetFaceName(kSongFaceGbk);
    return font;
}

std::string CLogFont::FaceName() const
{
    const auto end = std::find(lfFaceName.begin(), lfFaceName.end(), '\0');
    return std::string(lfFaceName.begin(), end);
}

void CLogFont::SetFaceName(const std::string& gbk)
{
    lfFaceName.fill('\0');
    std::memcpy(lfFaceName.data(), gbk.data(), std::min<std::size_t>(gbk.size(), kFaceSize - 1));
}

void CLogFont::Store(CArchiveWriter& ar) const
{
    ar.WriteInt32(lfHeight);
    ar.WriteInt32(lfWidth);
    ar.WriteInt32(lfEscapement);
    ar.WriteInt32(lfOrientation);
    ar.WriteInt32(lfWeight);
    const std::uint8_t bytes[] = {lfItalic,       lfUnderline,     lfStrikeOut, lfCharSet,
                                  lfOutPrecision, lfClipPrecision, lfQuality,   lfPitchAndFamily};
    ar.WriteBytes(bytes, sizeof bytes);
    // Everything after the name's terminator is written as zeros, so no stale
    // memory ever reaches a file.
    std::array<char, kFaceSize> face{};
    const std::string name = FaceName();
    std::memcpy(face.data(), name.data(), name.size());
    ar.WriteBytes(face.data(), face.size());
}

bool CLogFont::Load(CArchiveReader& ar)
{
    CLogFont read;
    read.lfHeight = ar.ReadInt32();
    read.lfWidth = ar.ReadInt32();
    read.lfEscapement = ar.ReadInt32();
    read.lfOrientation = ar.ReadInt32();
    read.lfWeight = ar.ReadInt32();
    std::uint8_t bytes[8] = {};
    ar.ReadBytes(bytes, sizeof bytes);
    read.lfItalic = bytes[0];
    read.lfUnderline = bytes[1];
    read.lfStrikeOut = bytes[2];
    read.lfCharSet = bytes[3];
    read.lfOutPrecision = bytes[4];
    read.lfClipPrecision = bytes[5];
    read.lfQuality = bytes[6];
    read.lfPitchAndFamily = bytes[7];
    ar.ReadBytes(read.lfFaceName.data(), read.lfFaceName.size());
    if (!ar.Ok())
        return false;
    // Files from elsewhere may fill the field without a terminator, or with
    // whatever was in memory after it: keep the name, drop the rest.
    read.lfFaceName.back() = '\0';
    read.SetFaceName(read.FaceName());
    *this = read;
    return true;
}

void CLabelRecord::Store(CArchiveWriter& ar) const
{
    ar.WriteInt32(m_bSelected);
    ar.WriteString(m_strText);
    ar.WriteDouble(m_dMarginLeft);
    ar.WriteDouble(m_dMarginTop);
    ar.WriteDouble(m_dMarginRight);
    ar.WriteDouble(m_dMarginBottom);
    ar.WriteDouble(m_dLineSpacing);
    ar.WriteInt32(static_cast<std::int32_t>(m_crText));
    ar.WriteInt32(m_nFontHeight);
    ar.WriteInt32(m_nHAlign);
    ar.WriteInt32(m_nVAlign);
    ar.WriteInt32(m_bAutoShrink);
    m_logFont.Store(ar);
}

bool CLabelRecord::Load(CArchiveReader& ar)
{
    CLabelRecord read;
    read.m_bSelected = ar.ReadInt32();
    read.m_strText = ar.ReadString();
    read.m_dMarginLeft = ar.ReadDouble();
    read.m_dMarginTop = ar.ReadDouble();
    read.m_dMarginRight = ar.ReadDouble();
    read.m_dMarginBottom = ar.ReadDouble();
    read.m_dLineSpacing = ar.ReadDouble();
    read.m_crText = static_cast<std::uint32_t>(ar.ReadInt32());
    read.m_nFontHeight = ar.ReadInt32();
    read.m_nHAlign = ar.ReadInt32();
    read.m_nVAlign = ar.ReadInt32();
    read.m_bAutoShrink = ar.ReadInt32();
    if (!read.m_logFont.Load(ar))
        return false;
    // Inner margins and spacing are finite and no longer than a sheet can be
    // (NaN fails the comparison), so scaling them to pixels stays in range.
    const auto sane = [](double d) { return std::fabs(d) <= CPageFormat::kMaxLength; };
    const bool bSane = sane(read.m_dMarginLeft) && sane(read.m_dMarginTop) && sane(read.m_dMarginRight) &&
                       sane(read.m_dMarginBottom) && sane(read.m_dLineSpacing);
    if (!ar.Ok() || !bSane)
        return false;
    *this = std::move(read);
    return true;
}

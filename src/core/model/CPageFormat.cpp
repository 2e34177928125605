#include "model/CPageFormat.h"

#include "model/Archive.h"

CPageFormat::CPageFormat()
    : m_dBottomMargin(3.0), m_dRightMargin(12.0), m_nRows(14), m_nColumns(5), m_dLabelHeight(8.65),
      m_dLabelWidth(19.0), m_dColumnPitch(0.0), m_dRowPitch(0.0), m_dTopMargin(3.0), m_dLeftMargin(12.0),
      m_dPageHeight(200.0), m_dPageWidth(140.0)
{
    Recalc();
}

void CPageFormat::Recalc()
{
    // Subtracted in this order so that the pitches are the same to the last
    // bit wherever a sheet is laid out. The count is converted before the
    // subtraction so that no stored value can overflow it.
    m_dColumnPitch = (m_dPageWidth - m_dRightMargin - m_dLeftMargin - m_dLabelWidth) /
                     (static_cast<double>(m_nColumns) - 1.0);
    m_dRowPitch = (m_dPageHeight - m_dTopMargin - m_dBottomMargin - m_dLabelHeight) /
                  (static_cast<double>(m_nRows) - 1.0);
}

void CPageFormat::CopyTo(CPageFormat& other) const
{
    other.CopyFrom(*this);
}

void CPageFormat::CopyFrom(const CPageFormat& other)
{
    m_dBottomMargin = other.m_dBottomMargin;
    m_dRightMargin = other.m_dRightMargin;
    m_nRows = other.m_nRows;
    m_nColumns = other.m_nColumns;
    m_dLabelHeight = other.m_dLabelHeight;
    m_dLabelWidth = other.m_dLabelWidth;
    m_dTopMargin = other.m_dTopMargin;
    m_dLeftMargin = other.m_dLeftMargin;
    m_dPageHeight = other.m_dPageHeight;
    m_dPageWidth = other.m_dPageWidth;
    Recalc();
}

void CPageFormat::Store(CArchiveWriter& ar) const
{
    ar.WriteDouble(m_dPageWidth);
    ar.WriteDouble(m_dPageHeight);
    ar.WriteDouble(m_dLeftMargin);
    ar.WriteDouble(m_dRightMargin);
    ar.WriteDouble(m_dTopMargin);
    ar.WriteDouble(m_dBottomMargin);
    ar.WriteDouble(m_dLabelWidth);
    ar.WriteDouble(m_dLabelHeight);
    ar.WriteInt32(m_nColumns);
    ar.WriteInt32(m_nRows);
}

bool CPageFormat::Load(CArchiveReader& ar)
{
    CPageFormat read;
    read.m_dPageWidth = ar.ReadDouble();
    read.m_dPageHeight = ar.ReadDouble();
    read.m_dLeftMargin = ar.ReadDouble();
    read.m_dRightMargin = ar.ReadDouble();
    read.m_dTopMargin = ar.ReadDouble();
    read.m_dBottomMargin = ar.ReadDouble();
    read.m_dLabelWidth = ar.ReadDouble();
    read.m_dLabelHeight = ar.ReadDouble();
    read.m_nColumns = ar.ReadInt32();
    read.m_nRows = ar.ReadInt32();
    if (!ar.Ok())
        return false;
    CopyFrom(read);
    return true;
}

bool CPageFormat::IsUsable() const
{
    // Written so that NaN fails every comparison and is refused.
    const auto positive = [](double d) { return d > 0.0 && d <= kMaxLength; };
    const auto notNegative = [](double d) { return d >= 0.0 && d <= kMaxLength; };
    return m_nColumns >= 2 && m_nColumns <= kMaxColumns && m_nRows >= 2 && m_nRows <= kMaxRows &&
           positive(m_dPageWidth) && positive(m_dPageHeight) && positive(m_dLabelWidth) &&
           positive(m_dLabelHeight) && notNegative(m_dLeftMargin) && notNegative(m_dRightMargin) &&
           notNegative(m_dTopMargin) && notNegative(m_dBottomMargin);
}

#pragma once

#include <cstdint>

class CArchiveReader;
class CArchiveWriter;

// The geometry of one kind of pre-cut label sheet. Lengths in millimetres.
// Labels are spread evenly between the margins: label (r, c) has its top-left
// corner at (m_dLeftMargin + c × m_dColumnPitch, m_dTopMargin + r × m_dRowPitch)
// and the last column ends exactly at m_dPageWidth − m_dRightMargin. The two
// pitches are derived; every change of a stored member ends with Recalc().
class CPageFormat
{
public:
    static constexpr int kSerializedSize = 72;
    static constexpr int kMaxRows = 25;
    static constexpr int kMaxColumns = 15;
    // No label sheet is ten metres long; the bound keeps every length times a
    // zoom or a printer resolution well inside an int.
    static constexpr double kMaxLength = 10000.0;

    CPageFormat();
    virtual ~CPageFormat() = default;
    CPageFormat(const CPageFormat&) = default;
    CPageFormat& operator=(const CPageFormat&) = default;

    void Recalc();

    void CopyTo(CPageFormat& other) const;
    void CopyFrom(const CPageFormat& other);

    // The 72-byte form: page width, page height, left, right, top, bottom
    // margin, label width, label height (doubles), columns, rows (int32).
    void Store(CArchiveWriter& ar) const;
    // Reads the ten stored members, then Recalc(). Returns false, leaving
    // this record unchanged, when the archive ends early.
    bool Load(CArchiveReader& ar);

    // What a sheet can show: 2 to 15 columns, 2 to 25 rows, page and label
    // sizes finite and positive, margins finite and not negative, every
    // length at most kMaxLength.
    bool IsUsable() const;

    bool operator==(const CPageFormat&) const = default;

    double m_dBottomMargin;
    double m_dRightMargin;
    std::int32_t m_nRows;
    std::int32_t m_nColumns;
    double m_dLabelHeight;
    double m_dLabelWidth;
    double m_dColumnPitch; // derived: left edge to next left edge
    double m_dRowPitch;    // derived: top edge to next top edge
    double m_dTopMargin;
    double m_dLeftMargin;
    double m_dPageHeight;
    double m_dPageWidth;
};

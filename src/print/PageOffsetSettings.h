#pragma once

#include <QString>

// The page offset as the settings file keeps it (PageMoveX, PageMoveY:
// decimal text in 0.01 mm).
struct CPageOffset
{
    int m_nMoveX = 0;
    int m_nMoveY = 0;
};

// Read once at start: a missing value, or one outside −9999..9999, is 0.
CPageOffset ReadPageOffset();

// Stores both texts as typed (after the dialog's check). Returns an empty
// string, or why the settings file could not be written.
QString WritePageOffset(const QString& strMoveX, const QString& strMoveY);

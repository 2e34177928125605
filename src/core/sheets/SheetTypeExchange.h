#pragma once

#include "sheets/SheetTypeList.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Sheet types to share between machines: a file in the library's own bytes
// (a count, then each entry's name and 72-byte format) that holds the
// entries chosen for it. Written with WriteTypeListFile. Read strictly: a
// library keeps what it can of a damaged file, but a file to import is
// either wholly a file of sheet types or refused.

enum class TypeFileFault {
    None,
    NoEntries,     // a count below 1, or not even a count
    CutShort,      // entry m_nEntry (from 1) ends before its bytes do
    Unusable,      // entry m_nEntry holds a format no sheet can show
    BytesAfterEnd, // more bytes follow the last entry the count names
};

struct CTypeFileRead
{
    int m_nError = 0; // of reading the file (see ReadWholeFile); then no fault is looked for
    TypeFileFault m_fault = TypeFileFault::None;
    std::size_t m_nEntry = 0;
    CSheetTypeList m_types; // in the file's order; empty unless the whole file is good
};

CTypeFileRead ReadTypeFileBytes(std::string_view bytes);
CTypeFileRead ReadTypeFile(const std::string& path);

enum class ClashAnswer { Replace, KeepBoth, Skip };

struct CTypeMerge
{
    bool m_bCancelled = false; // then the library is as it was
    std::size_t m_nAdded = 0;
    std::size_t m_nReplaced = 0;
    std::size_t m_nSkipped = 0;       // by the answer Skip
    std::size_t m_nAlreadyThere = 0;  // the same name with the same format
    std::vector<std::string> m_names; // of the entries added or replaced
};

// What to do with `incoming` whose name the library already holds in
// `existing`; nullopt cancels the whole merge.
using ClashQuestion =
    std::function<std::optional<ClashAnswer>(const CSheetType& existing, const CSheetType& incoming)>;

// Adds each incoming entry at its sorted place. A name the library already
// holds (compared as the list sorts them, ASCII case folded) is a clash: an
// entry with the same format too is already there and left as it is;
// otherwise `ask` decides, and Replace gives the first entry of that name
// the incoming name and format.
CTypeMerge MergeTypes(CSheetTypeList& library, const CSheetTypeList& incoming, const ClashQuestion& ask);

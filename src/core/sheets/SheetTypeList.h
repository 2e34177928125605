#pragma once

#include "model/CPageFormat.h"

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// The sheet type library: named sheet formats from which new documents start.
// The file "tavropage.lps" in the settings directory holds an int32 count,
// then per entry the name (archive string, code page 936) and the 72-byte
// sheet format. Entries are kept and written in display order: sorted by
// name, case-insensitively, stable, equal names all kept.

struct CSheetType
{
    std::string m_strName; // code page 936 bytes
    CPageFormat m_format;

    bool operator==(const CSheetType&) const = default;
};

using CSheetTypeList = std::vector<CSheetType>;

extern const std::string kTypeListFileName; // "tavropage.lps"

// Orders names case-insensitively: ASCII letters fold, two-byte code page
// 936 characters compare as whole characters (their second byte may look
// like an ASCII letter and is never folded). <0, 0 or >0.
int CompareTypeNames(const std::string& strA, const std::string& strB);

// Whether `strName` begins with `strPrefix` under the same folding. An empty
// prefix matches nothing.
bool TypeNameHasPrefix(const std::string& strName, const std::string& strPrefix);

// Inserts after every entry whose name sorts equal or lower, so that equal
// names keep the order in which they came. Returns the new entry's index.
std::size_t InsertSorted(CSheetTypeList& list, CSheetType type);

// The first entry whose name begins with `strPrefix`, searching from the
// second entry to the end and then from the first; -1 when none matches.
int FindTypeByPrefix(const CSheetTypeList& list, const std::string& strPrefix);

// The three built-in sheet types, in the order they are added.
CSheetTypeList PresetTypes();

// Appends every complete entry of the stream to `list` in sorted order.
// Reading stops at the first entry that does not read completely, which is
// discarded with whatever follows; the count is never trusted beyond the
// bytes present. A complete entry whose format no sheet can show (see
// CPageFormat::IsUsable) is skipped and reading goes on with the next one:
// a sheet type the program cannot open is not offered.
void ReadTypeList(std::istream& in, CSheetTypeList& list);

// The count and the entries in the order given.
void WriteTypeList(std::ostream& out, const CSheetTypeList& list);
std::string TypeListBytes(const CSheetTypeList& list);

// Returns 0, or the error of ReadWholeFile (ENOENT for a missing file,
// kErrNotRegularFile for anything but a regular file, which is never opened,
// EFBIG beyond kMaxTypeListBytes), in which case nothing is appended. A
// library that exists but could not be read must not be written over: the
// user's entries are in it.
constexpr std::size_t kMaxTypeListBytes = 64 * 1024 * 1024;
int ReadTypeListFile(const std::string& path, CSheetTypeList& list);

// Written atomically; returns 0 or the errno of the failure, in which case
// the previous file is untouched.
int WriteTypeListFile(const std::string& path, const CSheetTypeList& list);

// The same two on "tavropage.lps" in the settings directory. Loading returns
// ENOENT, as for a missing file, and saving returns ENOENT when the settings
// directory cannot be found or created.
int LoadTypeList(CSheetTypeList& list);
int SaveTypeList(const CSheetTypeList& list);

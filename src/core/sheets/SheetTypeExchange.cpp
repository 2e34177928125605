#include "sheets/SheetTypeExchange.h"

#include "model/Archive.h"
#include "model/FileAccess.h"

#include <algorithm>
#include <sstream>

CTypeFileRead ReadTypeFileBytes(std::string_view bytes)
{
    CTypeFileRead result;
    std::istringstream in(std::string(bytes), std::ios::binary);
    CArchiveReader ar(in);
    const std::int32_t nCount = ar.ReadInt32();
    if (!ar.Ok() || nCount < 1) {
        result.m_fault = TypeFileFault::NoEntries;
        return result;
    }
    CSheetTypeList types;
    // A failed read stops the loop, so the count never runs past the bytes.
    for (std::int32_t i = 0; i < nCount; ++i) {
        CSheetType type;
        type.m_strName = ar.ReadString();
        if (!ar.Ok() || !type.m_format.Load(ar)) {
            result.m_fault = TypeFileFault::CutShort;
            result.m_nEntry = static_cast<std::size_t>(i) + 1;
            return result;
        }
        if (!type.m_format.IsUsable()) {
            result.m_fault = TypeFileFault::Unusable;
            result.m_nEntry = static_cast<std::size_t>(i) + 1;
            return result;
        }
        types.push_back(std::move(type));
    }
    if (ar.BytesLeft() > 0) {
        result.m_fault = TypeFileFault::BytesAfterEnd;
        return result;
    }
    result.m_types = std::move(types);
    return result;
}

CTypeFileRead ReadTypeFile(const std::string& path)
{
    std::string bytes;
    if (const int nError = ReadWholeFile(path, kMaxTypeListBytes, bytes)) {
        CTypeFileRead result;
        result.m_nError = nError;
        return result;
    }
    return ReadTypeFileBytes(bytes);
}

CTypeMerge MergeTypes(CSheetTypeList& library, const CSheetTypeList& incoming, const ClashQuestion& ask)
{
    CTypeMerge merge;
    CSheetTypeList merged = library;
    for (const CSheetType& type : incoming) {
        const auto existing = std::find_if(merged.begin(), merged.end(), [&type](const CSheetType& listed) {
            return CompareTypeNames(listed.m_strName, type.m_strName) == 0;
        });
        if (existing == merged.end()) {
            InsertSorted(merged, type);
            ++merge.m_nAdded;
            merge.m_names.push_back(type.m_strName);
            continue;
        }
        if (existing->m_format == type.m_format && existing->m_strName == type.m_strName) {
            ++merge.m_nAlreadyThere;
            continue;
        }
        const std::optional<ClashAnswer> answer = ask(*existing, type);
        if (!answer) {
            merge = {};
            merge.m_bCancelled = true;
            return merge;
        }
        switch (*answer) {
        case ClashAnswer::Replace:
            merged.erase(existing);
            InsertSorted(merged, type);
            ++merge.m_nReplaced;
            merge.m_names.push_back(type.m_strName);
            break;
        case ClashAnswer::KeepBoth:
            InsertSorted(merged, type);
            ++merge.m_nAdded;
            merge.m_names.push_back(type.m_strName);
            break;
        case ClashAnswer::Skip:
            ++merge.m_nSkipped;
            break;
        }
    }
    library = std::move(merged);
    return merge;
}

#include "sheets/SheetTypeExchange.h"

#include "model/Archive.h"
#include "model/FileAccess.h"

#include <map>
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
    // The entries of each name (equal as the list sorts them) in their list
    // order, by name: a clash is one look-up, and the list is put together
    // once at the end, so that a merge takes n log n, not n². The library is
    // sorted, so its entries go into the groups in their order; an entry
    // inserted in sorted order goes after every one of its name, at the end
    // of its group.
    struct CGroup
    {
        std::vector<const CSheetType*> m_entries; // those from m_nFirst on
        std::size_t m_nFirst = 0;                 // those before were replaced
    };
    const auto nameLess = [](const std::string* a, const std::string* b) {
        return CompareTypeNames(*a, *b) < 0;
    };
    std::map<const std::string*, CGroup, decltype(nameLess)> groups(nameLess);
    for (const CSheetType& type : library)
        groups[&type.m_strName].m_entries.push_back(&type);

    CTypeMerge merge;
    for (const CSheetType& type : incoming) {
        CGroup& group = groups[&type.m_strName];
        if (group.m_nFirst == group.m_entries.size()) {
            group.m_entries.push_back(&type);
            ++merge.m_nAdded;
            merge.m_names.push_back(type.m_strName);
            continue;
        }
        const CSheetType& existing = *group.m_entries[group.m_nFirst];
        if (existing.m_format == type.m_format && existing.m_strName == type.m_strName) {
            ++merge.m_nAlreadyThere;
            continue;
        }
        const std::optional<ClashAnswer> answer = ask(existing, type);
        if (!answer) {
            merge = {};
            merge.m_bCancelled = true;
            return merge;
        }
        switch (*answer) {
        case ClashAnswer::Replace:
            ++group.m_nFirst;
            group.m_entries.push_back(&type);
            ++merge.m_nReplaced;
            merge.m_names.push_back(type.m_strName);
            break;
        case ClashAnswer::KeepBoth:
            group.m_entries.push_back(&type);
            ++merge.m_nAdded;
            merge.m_names.push_back(type.m_strName);
            break;
        case ClashAnswer::Skip:
            ++merge.m_nSkipped;
            break;
        }
    }
    CSheetTypeList merged;
    merged.reserve(library.size() + merge.m_nAdded);
    for (const auto& [name, group] : groups)
        for (std::size_t i = group.m_nFirst; i < group.m_entries.size(); ++i)
            merged.push_back(*group.m_entries[i]);
    library = std::move(merged);
    return merge;
}

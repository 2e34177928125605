// libFuzzer target for the reader of exported sheet type files: any bytes
// are refused or read whole into usable entries that write back to a file
// reading to the same entries; merged into the presets, whatever the
// answers to the clashes, the library stays sorted and keeps what it held
// unless an entry was replaced.
#include "sheets/SheetTypeExchange.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CTypeFileRead read = ReadTypeFileBytes(bytes);
    if ((read.m_fault == TypeFileFault::None) == read.m_types.empty())
        std::abort();
    if (read.m_types.empty())
        return 0;
    for (const CSheetType& type : read.m_types)
        if (!type.m_format.IsUsable())
            std::abort();
    if (ReadTypeFileBytes(TypeListBytes(read.m_types)).m_types != read.m_types)
        std::abort();

    CSheetTypeList library = PresetTypes();
    std::size_t nAsked = 0;
    const CTypeMerge merge =
        MergeTypes(library, read.m_types, [&nAsked](const CSheetType&, const CSheetType&) {
            const ClashAnswer answers[] = {ClashAnswer::Replace, ClashAnswer::KeepBoth, ClashAnswer::Skip};
            return std::optional<ClashAnswer>(answers[nAsked++ % 3]);
        });
    const auto sorted = [](const CSheetType& a, const CSheetType& b) {
        return CompareTypeNames(a.m_strName, b.m_strName) < 0;
    };
    if (merge.m_bCancelled || !std::is_sorted(library.begin(), library.end(), sorted))
        std::abort();
    if (library.size() != PresetTypes().size() + merge.m_nAdded)
        std::abort();
    if (merge.m_nAdded + merge.m_nReplaced + merge.m_nSkipped + merge.m_nAlreadyThere != read.m_types.size())
        std::abort();
    return 0;
}

// libFuzzer target for the sheet type library reader: any bytes read without
// a crash, a leak or undefined behaviour into a sorted list that writes back
// to bytes reading to the same list; the entries already listed stay, ahead
// of equal names.
#include "sheets/SheetTypeList.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

bool NameSortsBefore(const CSheetType& a, const CSheetType& b)
{
    return CompareTypeNames(a.m_strName, b.m_strName) < 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const CSheetTypeList presets = PresetTypes();
    CSheetTypeList list = presets;
    std::istringstream in(bytes, std::ios::binary);
    ReadTypeList(in, list);
    if (!std::is_sorted(list.begin(), list.end(), NameSortsBefore))
        std::abort();
    for (const CSheetType& preset : presets)
        if (std::find(list.begin(), list.end(), preset) == list.end())
            std::abort();

    CSheetTypeList read;
    std::istringstream again(TypeListBytes(list), std::ios::binary);
    ReadTypeList(again, read);
    if (read != list)
        std::abort();
    // The type dialog's typing search, with the input's start as what is typed.
    const int nFound = FindTypeByPrefix(list, bytes.substr(0, 8));
    if (nFound < -1 || nFound >= static_cast<int>(list.size()))
        std::abort();
    return 0;
}

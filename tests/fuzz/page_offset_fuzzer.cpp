// libFuzzer target for the page offset's text rules: the stored value as read
// at start, and the dialog's check of a typed box.
#include "print/PageOffset.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int nStored = PageMoveFromText(text);
    if (nStored < -kMaxPageMove || nStored > kMaxPageMove)
        std::abort();
    DecimalTextValue(text);

    const COffsetText checked = CheckOffsetText(text);
    if (checked.m_strText.empty() || checked.m_strText.find(' ') != std::string::npos)
        std::abort();
    if (checked.m_check == OffsetTextCheck::Ok) {
        // What passes is stored and reads back as the value checked.
        if (checked.m_nValue != DecimalTextValue(checked.m_strText) ||
            (checked.m_strText.size() < 200 && PageMoveFromText(checked.m_strText) != checked.m_nValue))
            std::abort();
    }
    return 0;
}

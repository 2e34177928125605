// libFuzzer target for the printer description reader: a description is
// taken only when it reads exactly, so what is taken is valid and writes back
// to the very bytes it came from.
#include "print/PrinterDescription.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<CPrinterDescription> description = ParsePrinterDescription(bytes);
    if (!description)
        return 0;
    if (!IsValidPrinterDescription(*description) || PrinterDescriptionBytes(*description) != bytes ||
        description->PrinterName().empty())
        std::abort();
    return 0;
}

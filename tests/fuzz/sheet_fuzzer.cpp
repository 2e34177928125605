// libFuzzer target for the sheet file reader: any bytes must be refused or
// read without a crash, a leak or undefined behaviour, and whatever reads
// must write back to bytes that read to the same sheet.
#include "model/CSheet.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    std::istringstream check(bytes, std::ios::binary);
    const SignatureCheck signature = CheckSignature(check);

    std::istringstream in(bytes, std::ios::binary);
    CSheet sheet;
    const CSheet before = sheet;
    if (!ReadSheet(in, sheet)) {
        if (!(sheet == before))
            std::abort(); // a refused file must leave the sheet untouched
        return 0;
    }
    (void)signature;

    std::istringstream again(SheetBytes(sheet), std::ios::binary);
    CSheet reread;
    if (CheckSignature(again) != SignatureCheck::Ok)
        std::abort();
    again.clear();
    again.seekg(0);
    if (!ReadSheet(again, reread) || !(reread == sheet))
        std::abort();
    return 0;
}

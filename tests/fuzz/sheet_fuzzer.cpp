// libFuzzer target for the sheet file reader: any bytes must be refused or
// read without a crash, a leak, a large allocation or undefined behaviour; a
// refused file must leave the caller's sheet untouched, and whatever reads
// must write back to bytes that read to the same sheet.
#include "model/CSheet.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

// A sheet that differs from the default in every label, so that a partial
// read into it could not go unnoticed.
const CSheet& Before()
{
    static const CSheet sheet = [] {
        CSheet s;
        for (auto& row : s.m_labels)
            for (CLabelRecord& label : row) {
                label.m_strText = "old";
                label.m_bSelected = 0;
                label.m_dLineSpacing = 0.5;
            }
        return s;
    }();
    return sheet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    std::istringstream check(bytes, std::ios::binary);
    const SignatureCheck signature = CheckSignature(check);

    std::istringstream in(bytes, std::ios::binary);
    CSheet sheet = Before();
    if (!ReadSheet(in, sheet)) {
        if (!(sheet == Before()))
            std::abort(); // a refused file must leave the sheet untouched
        return 0;
    }
    // The full read starts with the same string the check reads.
    if (signature == SignatureCheck::Unreadable)
        std::abort();

    const std::string written = SheetBytes(sheet);
    std::istringstream again(written, std::ios::binary);
    if (written.empty() || CheckSignature(again) != SignatureCheck::Ok)
        std::abort();
    again.clear();
    again.seekg(0);
    CSheet reread = Before();
    if (!ReadSheet(again, reread) || !(reread == sheet))
        std::abort();
    return 0;
}

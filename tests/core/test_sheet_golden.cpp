// Golden sheet files in tests/data and the fuzzers' seeds in
// tests/fuzz/corpus. Each committed file must equal what the writer makes of
// its sample sheet today, and must read and write back byte for byte.
// TAVRO_WRITE_GOLDEN=1 writes them anew (after a deliberate format change).

#include "SampleSheets.h"

#include "model/AtomicFile.h"
#include "model/CSheet.h"
#include "print/PrinterDescription.h"
#include "sheets/SheetTypeList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

struct GoldenFile
{
    const char* name;
    const char* dir; // relative to tests/
    std::function<std::string()> bytes;
};

const std::string kTestsDir = std::string(TAVRO_TEST_DATA) + "/..";

const GoldenFile kGoldenFiles[] = {
    {"default.tav", "data", [] { return SheetBytes(CSheet{}); }},
    {"preset-7x20-texts.tav", "data", [] { return SheetBytes(samples::TextSheet(samples::Preset7x20())); }},
    {"wide-string-2x2.tav", "data", samples::WideStringFileBytes},
    {"label-faces-2x8.tav", "data", [] { return SheetBytes(samples::FaceSheet()); }},
    {"default.tav", "fuzz/corpus/sheet", [] { return SheetBytes(CSheet{}); }},
    {"full-15x25-texts.tav", "fuzz/corpus/sheet",
     [] { return SheetBytes(samples::TextSheet(samples::Format(15, 25))); }},
    {"small-2x2.tav", "fuzz/corpus/sheet",
     [] { return SheetBytes(samples::TextSheet(samples::Format(2, 2))); }},
    {"wide-string-2x2.tav", "fuzz/corpus/sheet", samples::WideStringFileBytes},
    {"presets.lps", "fuzz/corpus/type_list", [] { return TypeListBytes(PresetTypes()); }},
    {"two-types.lps", "fuzz/corpus/type_file",
     [] {
         return TypeListBytes({PresetTypes()[0], PresetTypes()[2]});
     }},
    {"name-only.spd", "fuzz/corpus/printer_description",
     [] { return PrinterDescriptionBytes(CPrinterDescription::ForPrinter("Office")); }},
    {"settings-and-names.spd", "fuzz/corpus/printer_description",
     [] {
         CPrinterDescription description = CPrinterDescription::ForPrinter(samples::kLabel);
         description.m_strSettings += std::string("\x01\x00\x02"
                                                  "A4",
                                                  5);
         description.m_strNames = "Office";
         return PrinterDescriptionBytes(description);
     }},
};

TEST(GoldenFiles, MatchTheWriter)
{
    const bool bWrite = std::getenv("TAVRO_WRITE_GOLDEN") != nullptr;
    for (const GoldenFile& file : kGoldenFiles) {
        const std::string path = kTestsDir + "/" + file.dir + "/" + file.name;
        SCOPED_TRACE(path);
        const std::string expected = file.bytes();
        if (bWrite) {
            ASSERT_EQ(WriteFileAtomically(path, expected), 0);
        }
        EXPECT_EQ(samples::ReadFileBytes(path), expected);
    }
}

TEST(GoldenFiles, ReadAndWriteBackByteForByte)
{
    for (const char* name : {"default.tav", "preset-7x20-texts.tav"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(TAVRO_TEST_DATA) + "/" + name;
        CSheet sheet;
        ASSERT_EQ(ReadSheetFile(path, sheet), SheetReadResult::Ok);
        EXPECT_EQ(SheetBytes(sheet), samples::ReadFileBytes(path));
    }
}

TEST(GoldenFiles, PresetFileHoldsItsSheet)
{
    CSheet sheet;
    ASSERT_EQ(ReadSheetFile(std::string(TAVRO_TEST_DATA) + "/preset-7x20-texts.tav", sheet),
              SheetReadResult::Ok);
    EXPECT_EQ(sheet, samples::TextSheet(samples::Preset7x20()));
    EXPECT_EQ(sheet.m_labels[0][0].m_strText, samples::kCable + "-0\r\n" + samples::kLabel);
    EXPECT_EQ(sheet.m_labels[19][5].m_logFont.FaceName(), "Noto Serif CJK SC");
}

// The 16-bit form is read and converted to code page 936; the program itself
// writes the text back in the usual byte form.
TEST(GoldenFiles, WideStringFileReadsConverted)
{
    CSheet sheet;
    ASSERT_EQ(ReadSheetFile(std::string(TAVRO_TEST_DATA) + "/wide-string-2x2.tav", sheet),
              SheetReadResult::Ok);
    EXPECT_EQ(sheet.m_labels[0][0].m_strText, samples::kWideText);
    CSheet expected;
    expected.m_format = samples::Format(2, 2);
    expected.m_labels[0][0].m_strText = samples::kWideText;
    EXPECT_EQ(sheet, expected);
}

} // namespace

// libFuzzer target for the gLabels template reader: any bytes, read as a
// template file and as a paper size file, without a crash, a leak or
// undefined behaviour; every template offered is a sheet format the page
// setup dialog takes, every other one is counted, and searching with the
// input's start as the query finds only templates there are.
#include "sheets/PageSetupValues.h"
#include "sheets/TemplateCollection.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<CPaperSize> papers = ReadPaperSizes(bytes);
    for (const CPaperSize& paper : papers)
        if (!(paper.m_dWidth == paper.m_dWidth) || !(paper.m_dHeight == paper.m_dHeight))
            std::abort();
    const std::vector<CPaperSize> a4 = {{"A4", "A4", 210.0, 297.0}};
    const CTemplateCollection collection = ReadTemplateText(bytes, papers.empty() ? a4 : papers);
    for (const CLabelTemplate& label : collection.m_templates) {
        if (!label.m_format.IsUsable() || CheckLabelsFit(label.m_format) != LabelFit::Fits)
            std::abort();
        const CPageSetupValues values = ValuesFromFormat(label.m_format);
        if (values.m_nLabelWidth < kMinLabelSize || values.m_nLabelWidth > kMaxLabelSize ||
            values.m_nPageWidth < kMinPageSize || values.m_nPageWidth > kMaxPageSize ||
            values.m_nLeftMargin > kMaxMargin || values.m_nBottomMargin > kMaxMargin)
            std::abort();
    }
    for (const std::size_t i : SearchTemplates(collection.m_templates, bytes.substr(0, 16)))
        if (i >= collection.m_templates.size())
            std::abort();
    ParseTemplateLength(bytes.substr(0, 32));
    return 0;
}

// Writes a sheet of one template of the installed gLabels collection, as the
// sheet type dialog hands it to a new document, with the label's row and
// column as its text ("r1c1"), centred in DejaVu Sans of 4 mm cell height,
// so that a PDF of it shows where each label lies.
// Usage: tavro_template_sheet BRAND PART OUT.tav
#include "model/CSheet.h"
#include "sheets/TemplateCollection.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s BRAND PART OUT.tav\n", argv[0]);
        return 2;
    }
    const CTemplateCollection collection = ReadTemplateCollection(DefaultTemplateSources());
    for (const CLabelTemplate& label : collection.m_templates) {
        if (label.m_strBrand != argv[1] || label.m_strPart != argv[2])
            continue;
        CSheet sheet;
        sheet.m_format = label.m_format;
        for (int r = 0; r < label.m_format.m_nRows; ++r) {
            for (int c = 0; c < label.m_format.m_nColumns; ++c) {
                CLabelRecord& record = sheet.m_labels[r][c];
                record.m_strText = "r" + std::to_string(r + 1) + "c" + std::to_string(c + 1);
                record.m_nFontHeight = 16;
                record.m_logFont.SetFaceName("DejaVu Sans");
            }
        }
        if (const int nError = SaveSheetFile(argv[3], sheet)) {
            std::fprintf(stderr, "%s: cannot write %s (%d)\n", argv[0], argv[3], nError);
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "%s: no template %s %s offered\n", argv[0], argv[1], argv[2]);
    return 1;
}

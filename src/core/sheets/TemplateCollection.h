#pragma once

#include "model/CPageFormat.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The label sheet templates of gLabels, as Debian's glabels-data package
// installs them (/usr/share/libglabels-3.0/templates: *-templates.xml beside
// paper-sizes.xml), and the user's own in ~/.config/libglabels/templates.
// Each <Template> names a product (brand, part) and describes its page and
// its labels: one label shape with a layout of nx × ny labels, the first at
// (x0, y0), each next one dx across and dy down. A template with an `equiv`
// attribute is another part number of the same brand's product.
//
// A sheet format spreads its labels evenly between the page margins, so a
// layout maps onto one exactly: left margin x0, right margin page width −
// x0 − (nx − 1) × dx − label width, and likewise down the page.

// A length as the collection writes it: a number followed by pt, in, mm, cm
// or pc, points when no unit follows; in millimetres. An empty text is 0, as
// the collection's own program reads it (a template writes x0="" for a row
// that starts at the page's edge). nullopt for anything else.
std::optional<double> ParseTemplateLength(std::string_view text);

struct CPaperSize
{
    std::string m_strId;   // "A4", "US-Letter"
    std::string m_strName; // "A4", "US Letter"
    double m_dWidth = 0;   // mm
    double m_dHeight = 0;  // mm
};

// The <Paper-size> entries of paper-sizes.xml; entries without a readable
// size are skipped. Empty for text that is not such a file.
std::vector<CPaperSize> ReadPaperSizes(std::string_view xml);

// Why a template gives no sheet format.
enum class TemplateLeftOut {
    Unreadable,     // a size or count missing or not a number
    UnknownAlias,   // `equiv` names no template of its brand
    UnknownPaper,   // the paper id is not in paper-sizes.xml
    NotRectangle,   // round, elliptical or CD labels
    NotOneLayout,   // no label shape, several shapes, or several layouts
    Columns,        // fewer than 2 or more than 15 columns
    Rows,           // fewer than 2 or more than 25 rows
    NegativeMargin, // labels beyond the page's edge
    Overlapping,    // the pitch smaller than the label
    BeyondLimits,   // a page, label or margin size a sheet type cannot hold
};

struct CLabelTemplate
{
    std::string m_strBrand; // UTF-8, as the files write them
    std::string m_strPart;
    std::string m_strDescription;
    std::string m_strPaper;      // the paper's name, empty for a page size of the template's own
    std::string m_strAliasOf;    // the part this one is another number of; empty for a full definition
    CPageFormat m_format;        // in whole hundredths of a millimetre, as the page setup dialog takes them
    std::string m_strSearchText; // lower-case brand, part, description, paper and label size
};

// What the reader makes of one <Template> and the templates it refers to;
// the parts of its label and layout as the file writes them.
struct CTemplateDefinition
{
    std::string m_strBrand;
    std::string m_strPart;
    std::string m_strEquiv;
    std::string m_strDescription;
    std::string m_strPaperId; // "size"; "Other" or empty: the template's own width and height
    std::string m_strWidth, m_strHeight;
    int m_nShapes = 0;         // label elements
    bool m_bRectangle = false; // the first label element is a Label-rectangle
    std::string m_strLabelWidth, m_strLabelHeight;
    int m_nLayouts = 0; // <Layout> elements of the first label element
    std::string m_strColumns, m_strRows, m_strX0, m_strY0, m_strDx, m_strDy;
};

// The sheet format of a full definition, or why there is none. Margins down
// to −0.01 mm (the collection rounds its lengths; such labels touch the
// page's edge) count as 0. The lengths are whole hundredths of a
// millimetre, truncated, and the label is made a hundredth smaller where
// the truncation would let neighbouring labels that touch overlap.
struct CTemplateFormat
{
    std::optional<CPageFormat> m_format;
    TemplateLeftOut m_leftOut = TemplateLeftOut::Unreadable;
    std::string m_strPaperName; // set with m_format when the page is a named paper
};
CTemplateFormat ConvertTemplate(const CTemplateDefinition& definition, const std::vector<CPaperSize>& papers);

// A file that could not be read: the errno of reading it (see
// FileErrorText), or 0 with expat's message and line for XML that is not
// well-formed.
struct CTemplateFileProblem
{
    std::string m_strPath;
    int m_nError = 0;
    std::string m_strXmlError;
    unsigned long m_nLine = 0;
};

struct CLeftOutTemplate
{
    std::string m_strBrand;
    std::string m_strPart;
    TemplateLeftOut m_why;
};

// How much of a collection is read at most: Debian's has 37 files and
// 1,756 templates, and a folder of a million templates must not take
// seconds and a gigabyte. Templates count whether offered or left out.
constexpr std::size_t kMaxTemplateFiles = 1000;
constexpr std::size_t kMaxTemplates = 20'000;
struct CTemplateLimits
{
    std::size_t m_nFiles = kMaxTemplateFiles;
    std::size_t m_nTemplates = kMaxTemplates;
};

struct CTemplateCollection
{
    std::vector<CLabelTemplate> m_templates; // by brand, then part: case-insensitively, numbers by value
    std::vector<CLeftOutTemplate> m_leftOut; // in the order read
    std::size_t m_nFiles = 0;                // template files read
    std::vector<CTemplateFileProblem> m_problems;
    std::size_t m_nFilesNotRead = 0; // template files beyond the limit, last in name order
    bool m_bTemplatesCut = false;    // reading stopped at the limit of templates

    std::size_t LeftOutCount(TemplateLeftOut why) const;
};

// Where the collection is looked for: libglabels-3.0/templates in each of
// $XDG_DATA_DIRS (default /usr/local/share:/usr/share), then the user's
// $XDG_CONFIG_HOME/libglabels/templates (default ~/.config).
struct CTemplateSources
{
    std::vector<std::string> m_systemDirs;
    std::string m_strUserDir; // empty when there is no home
};
CTemplateSources DefaultTemplateSources();

// Reads every *-templates.xml and *.template file of the directories, in
// name order, with the paper sizes of the first system directory that has
// paper-sizes.xml. Aliases resolve to the first template of their brand
// with that part, wherever it was read. Missing directories are no fault.
// Reading stops at the limits, and the collection says so.
CTemplateCollection ReadTemplateCollection(const CTemplateSources& sources,
                                           const CTemplateLimits& limits = {});

// The templates of one file's text, converted with `papers`, as
// ReadTemplateCollection reads each file (a problem without a path when the
// XML is not well-formed).
CTemplateCollection ReadTemplateText(std::string_view xml, const std::vector<CPaperSize>& papers);

// The templates, out of `templates`, that match every word of `query`: a
// word matches where the lower-case search text holds it, and a word such
// as "45.7x21.2" (x, X, × or *) also where the label is that size either
// way round, each side within half a millimetre (63.5 matches 63.0 to
// 64.0 mm). Indices in collection order; all of them for an empty query.
std::vector<std::size_t> SearchTemplates(const std::vector<CLabelTemplate>& templates,
                                         std::string_view query);

// The label size as the search text and the list show it: millimetres with
// at most one decimal, "45.7x21.2".
std::string TemplateSizeText(const CPageFormat& format);

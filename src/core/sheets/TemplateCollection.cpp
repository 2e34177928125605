#include "sheets/TemplateCollection.h"

#include "model/FileAccess.h"
#include "sheets/PageSetupValues.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <numeric>

namespace {

// The installed files are well under 100 KB; a larger one is no template file.
constexpr std::size_t kMaxTemplateFileBytes = 16 * 1024 * 1024;
// Margins the collection's rounding leaves just below 0 (−0.003 mm where
// labels touch the page's edge), and labels a rounding wider than their
// pitch, are taken as touching: the page setup dialog shows no less than a
// hundredth.
constexpr double kRoundingTolerance = 0.01; // mm
// The collection's aliases name full definitions; a few more steps allow
// for an alias of an alias in a user's own files.
constexpr std::size_t kMaxAliasHops = 8;

constexpr std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

char LowerAscii(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char ch) { return LowerAscii(ch); });
    return lower;
}

std::optional<double> ParseNumber(std::string_view& text)
{
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(ptr - text.data()));
    return value;
}

std::optional<int> ParseCount(std::string_view text)
{
    text = Trimmed(text);
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

const char* LocalName(const XML_Char* name)
{
    const char* bar = std::strrchr(name, '|');
    return bar ? bar + 1 : name;
}

std::string Attribute(const XML_Char** attributes, const char* name)
{
    for (; *attributes; attributes += 2)
        if (std::strcmp(LocalName(attributes[0]), name) == 0)
            return attributes[1];
    return {};
}

// Streams one XML text through expat, calling Start and End with element
// names without their namespace.
class CXmlWalker
{
public:
    virtual ~CXmlWalker() = default;
    virtual void Start(const char* name, const XML_Char** attributes) = 0;
    virtual void End(const char*) {}

    // True when the whole text was well-formed; otherwise m_strError and
    // m_nLine say where it was not.
    bool Walk(std::string_view xml)
    {
        const std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(
            XML_ParserCreateNS(nullptr, '|'), &XML_ParserFree);
        m_parser = parser.get();
        XML_SetUserData(parser.get(), this);
        XML_SetElementHandler(
            parser.get(),
            [](void* data, const XML_Char* name, const XML_Char** attributes) {
                static_cast<CXmlWalker*>(data)->Start(LocalName(name), attributes);
            },
            [](void* data, const XML_Char* name) { static_cast<CXmlWalker*>(data)->End(LocalName(name)); });
        // Fed in pieces: XML_Parse takes an int length.
        constexpr std::size_t kPiece = 1 << 20;
        do {
            const std::size_t nPiece = std::min(kPiece, xml.size());
            const bool bFinal = nPiece == xml.size();
            if (XML_Parse(parser.get(), xml.data(), static_cast<int>(nPiece), bFinal) != XML_STATUS_OK) {
                if (m_bStopped)
                    return true;
                m_strError = XML_ErrorString(XML_GetErrorCode(parser.get()));
                m_nLine = XML_GetCurrentLineNumber(parser.get());
                return false;
            }
            xml.remove_prefix(nPiece);
        } while (!xml.empty());
        return true;
    }

    std::string m_strError;
    unsigned long m_nLine = 0;

protected:
    // Ends the walk from a handler, the text so far taken as well-formed.
    void Stop()
    {
        m_bStopped = true;
        XML_StopParser(m_parser, XML_FALSE);
    }

private:
    XML_Parser m_parser = nullptr;
    bool m_bStopped = false;
};

class CPaperSizeReader : public CXmlWalker
{
public:
    void Start(const char* name, const XML_Char** attributes) override
    {
        if (std::strcmp(name, "Paper-size") != 0)
            return;
        CPaperSize paper;
        paper.m_strId = Attribute(attributes, "id");
        paper.m_strName = Attribute(attributes, "name");
        if (paper.m_strName.empty())
            paper.m_strName = Attribute(attributes, "_name");
        if (paper.m_strName.empty())
            paper.m_strName = paper.m_strId;
        const std::string strWidth = Attribute(attributes, "width");
        const std::string strHeight = Attribute(attributes, "height");
        const auto dWidth = ParseTemplateLength(strWidth);
        const auto dHeight = ParseTemplateLength(strHeight);
        if (paper.m_strId.empty() || strWidth.empty() || strHeight.empty() || !dWidth || !dHeight)
            return;
        paper.m_dWidth = *dWidth;
        paper.m_dHeight = *dHeight;
        m_papers.push_back(std::move(paper));
    }

    std::vector<CPaperSize> m_papers;
};

class CTemplateReader : public CXmlWalker
{
public:
    // Stops once `definitions` holds nMax templates.
    CTemplateReader(std::vector<CTemplateDefinition>& definitions, std::size_t nMax)
        : m_definitions(definitions), m_nMax(nMax)
    {}

    bool Full() const { return m_definitions.size() >= m_nMax; }

    void Start(const char* name, const XML_Char** attributes) override
    {
        if (std::strcmp(name, "Template") == 0) {
            m_bInTemplate = true;
            m_current = {};
            m_current.m_strBrand = Attribute(attributes, "brand");
            m_current.m_strPart = Attribute(attributes, "part");
            // Older files name the product in one attribute, brand first.
            if (m_current.m_strBrand.empty() && m_current.m_strPart.empty()) {
                const std::string strName = Attribute(attributes, "name");
                const auto space = strName.find(' ');
                m_current.m_strBrand = strName.substr(0, space);
                if (space != std::string::npos)
                    m_current.m_strPart = strName.substr(space + 1);
            }
            m_current.m_strEquiv = Attribute(attributes, "equiv");
            m_current.m_strDescription = Attribute(attributes, "_description");
            if (m_current.m_strDescription.empty())
                m_current.m_strDescription = Attribute(attributes, "description");
            m_current.m_strPaperId = Attribute(attributes, "size");
            m_current.m_strWidth = Attribute(attributes, "width");
            m_current.m_strHeight = Attribute(attributes, "height");
            return;
        }
        if (!m_bInTemplate)
            return;
        if (std::strncmp(name, "Label-", 6) == 0) {
            m_bInFirstShape = ++m_current.m_nShapes == 1;
            if (m_bInFirstShape) {
                m_current.m_bRectangle = std::strcmp(name, "Label-rectangle") == 0;
                m_current.m_strLabelWidth = Attribute(attributes, "width");
                m_current.m_strLabelHeight = Attribute(attributes, "height");
            }
        } else if (std::strcmp(name, "Layout") == 0 && m_bInFirstShape) {
            if (++m_current.m_nLayouts == 1) {
                m_current.m_strColumns = Attribute(attributes, "nx");
                m_current.m_strRows = Attribute(attributes, "ny");
                m_current.m_strX0 = Attribute(attributes, "x0");
                m_current.m_strY0 = Attribute(attributes, "y0");
                m_current.m_strDx = Attribute(attributes, "dx");
                m_current.m_strDy = Attribute(attributes, "dy");
            }
        }
    }

    void End(const char* name) override
    {
        if (std::strncmp(name, "Label-", 6) == 0) {
            m_bInFirstShape = false;
        } else if (std::strcmp(name, "Template") == 0 && m_bInTemplate) {
            m_bInTemplate = false;
            m_definitions.push_back(std::move(m_current));
            if (Full())
                Stop();
        }
    }

private:
    std::vector<CTemplateDefinition>& m_definitions;
    std::size_t m_nMax;
    CTemplateDefinition m_current;
    bool m_bInTemplate = false;
    bool m_bInFirstShape = false;
};

// A length that must be given.
std::optional<double> RequiredLength(const std::string& text)
{
    return Trimmed(text).empty() ? std::nullopt : ParseTemplateLength(text);
}

std::int64_t Hundredths(double dMillimetres)
{
    return ToHundredths(std::max(dMillimetres, 0.0));
}

// One direction of the grid: the page size, the label size, the first
// label's offset and the pitch, all in mm, and the count.
struct CAxis
{
    double m_dPage, m_dLabel, m_dOffset, m_dPitch;
    int m_nCount;
};

struct CAxisValues
{
    std::uint32_t m_nPage, m_nNear, m_nFar, m_nLabel;
};

std::optional<TemplateLeftOut> AxisValues(const CAxis& axis, CAxisValues& values)
{
    const double dFar = axis.m_dPage - axis.m_dOffset - (axis.m_nCount - 1) * axis.m_dPitch - axis.m_dLabel;
    if (axis.m_dOffset < -kRoundingTolerance || dFar < -kRoundingTolerance)
        return TemplateLeftOut::NegativeMargin;
    if (axis.m_dPitch < axis.m_dLabel - kRoundingTolerance)
        return TemplateLeftOut::Overlapping;
    const std::int64_t nPage = Hundredths(axis.m_dPage);
    const std::int64_t nNear = Hundredths(axis.m_dOffset);
    const std::int64_t nFar = Hundredths(dFar);
    // Truncating the margins only widens the space between them; the label
    // is cut to its share of that space where touching labels would
    // otherwise overlap by a rounding.
    const std::int64_t nSpace = nPage - nNear - nFar;
    const std::int64_t nLabel = std::min(Hundredths(axis.m_dLabel), nSpace / axis.m_nCount);
    if (nPage < kMinPageSize || nPage > kMaxPageSize || nNear > kMaxMargin || nFar > kMaxMargin ||
        nLabel < kMinLabelSize || nLabel > kMaxLabelSize)
        return TemplateLeftOut::BeyondLimits;
    values = {static_cast<std::uint32_t>(nPage), static_cast<std::uint32_t>(nNear),
              static_cast<std::uint32_t>(nFar), static_cast<std::uint32_t>(nLabel)};
    return std::nullopt;
}

std::string FormatTenths(double dMillimetres)
{
    // Whole hundredths in; one decimal out, without a trailing ".0".
    const long nTenths = std::lround(dMillimetres * 10.0);
    std::string text = std::to_string(nTenths / 10);
    if (nTenths % 10 != 0)
        text += "." + std::to_string(nTenths % 10);
    return text;
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// Case-insensitive, with runs of digits compared as numbers: 5160 before
// 15160, L7160 before L7651.
int CompareNatural(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t nStartA = i;
            const std::size_t nStartB = j;
            while (i < a.size() && IsDigit(a[i]))
                ++i;
            while (j < b.size() && IsDigit(b[j]))
                ++j;
            std::string_view digitsA = a.substr(nStartA, i - nStartA);
            std::string_view digitsB = b.substr(nStartB, j - nStartB);
            digitsA.remove_prefix(std::min(digitsA.find_first_not_of('0'), digitsA.size()));
            digitsB.remove_prefix(std::min(digitsB.find_first_not_of('0'), digitsB.size()));
            if (digitsA.size() != digitsB.size())
                return digitsA.size() < digitsB.size() ? -1 : 1;
            if (const int n = digitsA.compare(digitsB))
                return n < 0 ? -1 : 1;
            continue;
        }
        const char x = LowerAscii(a[i++]);
        const char y = LowerAscii(b[j++]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

std::string SearchText(const CLabelTemplate& label)
{
    return LowerAscii(label.m_strBrand + ' ' + label.m_strPart + ' ' + label.m_strDescription + ' ' +
                      label.m_strPaper + ' ' + TemplateSizeText(label.m_format));
}

bool EndsWith(const std::string& text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The files of a directory that hold templates, in name order: the first
// nRoom of them, counting the others in nMore. Only nRoom names are held
// however many the directory has.
std::vector<std::string> TemplateFiles(const std::string& dir, std::size_t nRoom, std::size_t& nMore)
{
    std::vector<std::string> files; // while listing, a heap with the last name on top
    std::error_code error;
    for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!EndsWith(name, "-templates.xml") && !EndsWith(name, ".template"))
            continue;
        if (files.size() < nRoom) {
            files.push_back(it->path().string());
            std::push_heap(files.begin(), files.end());
            continue;
        }
        ++nMore;
        if (nRoom > 0 && it->path().string() < files.front()) {
            std::pop_heap(files.begin(), files.end());
            files.back() = it->path().string();
            std::push_heap(files.begin(), files.end());
        }
    }
    std::sort_heap(files.begin(), files.end());
    return files;
}

// A size word of a query: two numbers joined by x, X, × or *, each with the
// tolerance its digits give.
struct CSizeWord
{
    double m_dFirst, m_dSecond;
};

// How far a label's size may be from the size searched for, mm: sizes are
// given rounded or in inches (L7160 is 63.5 mm on its box and 63.99 mm in
// the collection), and a label half a millimetre off is the one meant.
constexpr double kSizeTolerance = 0.5 + 1e-9;

std::optional<double> ParseSizeNumber(std::string_view& text)
{
    const std::size_t nEnd = std::min(text.find_first_not_of("0123456789."), text.size());
    const std::string_view number = text.substr(0, nEnd);
    std::string_view rest = number;
    const std::optional<double> value = ParseNumber(rest);
    if (number.empty() || !value || !rest.empty())
        return std::nullopt;
    text.remove_prefix(nEnd);
    return value;
}

std::optional<CSizeWord> ParseSizeWord(std::string_view word)
{
    const auto first = ParseSizeNumber(word);
    if (!first)
        return std::nullopt;
    if (word.starts_with("x") || word.starts_with("*"))
        word.remove_prefix(1);
    else if (word.starts_with("\xC3\x97")) // ×
        word.remove_prefix(2);
    else
        return std::nullopt;
    const auto second = ParseSizeNumber(word);
    if (!second || !word.empty())
        return std::nullopt;
    return CSizeWord{*first, *second};
}

bool SizeMatches(const CSizeWord& size, const CPageFormat& format)
{
    const auto near = [](double dValue, double dWanted) {
        return std::fabs(dValue - dWanted) <= kSizeTolerance;
    };
    const double w = format.m_dLabelWidth;
    const double h = format.m_dLabelHeight;
    return (near(w, size.m_dFirst) && near(h, size.m_dSecond)) ||
           (near(h, size.m_dFirst) && near(w, size.m_dSecond));
}

// Resolves the aliases among `definitions`, converts each template and
// files it as offered or left out, offered ones in their order.
void Convert(const std::vector<CTemplateDefinition>& definitions, const std::vector<CPaperSize>& papers,
             CTemplateCollection& collection)
{
    // The first definition of each brand and part is the one aliases mean.
    std::map<std::pair<std::string, std::string>, std::size_t> byPart;
    for (std::size_t i = 0; i < definitions.size(); ++i)
        byPart.emplace(std::pair(definitions[i].m_strBrand, definitions[i].m_strPart), i);

    for (const CTemplateDefinition& definition : definitions) {
        const CTemplateDefinition* full = &definition;
        // An alias of an alias is followed, a circle of them is not.
        for (std::size_t nHops = 0; full && !full->m_strEquiv.empty(); ++nHops) {
            const auto it = byPart.find({definition.m_strBrand, full->m_strEquiv});
            full = it == byPart.end() || nHops == kMaxAliasHops ? nullptr : &definitions[it->second];
        }
        if (!full) {
            collection.m_leftOut.push_back(
                {definition.m_strBrand, definition.m_strPart, TemplateLeftOut::UnknownAlias});
            continue;
        }
        CTemplateFormat converted = ConvertTemplate(*full, papers);
        if (!converted.m_format) {
            collection.m_leftOut.push_back(
                {definition.m_strBrand, definition.m_strPart, converted.m_leftOut});
            continue;
        }
        CLabelTemplate label;
        label.m_strBrand = definition.m_strBrand;
        label.m_strPart = definition.m_strPart;
        label.m_strDescription = full->m_strDescription;
        label.m_strPaper = std::move(converted.m_strPaperName);
        label.m_strAliasOf = definition.m_strEquiv;
        label.m_format = *converted.m_format;
        label.m_strSearchText = SearchText(label);
        collection.m_templates.push_back(std::move(label));
    }
    // Sorted by index, the position breaking ties, so that equal names keep
    // the order they were read in.
    std::vector<CLabelTemplate>& templates = collection.m_templates;
    std::vector<std::size_t> order(templates.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&templates](std::size_t a, std::size_t b) {
        int n = CompareNatural(templates[a].m_strBrand, templates[b].m_strBrand);
        if (n == 0)
            n = CompareNatural(templates[a].m_strPart, templates[b].m_strPart);
        return n != 0 ? n < 0 : a < b;
    });
    std::vector<CLabelTemplate> sorted;
    sorted.reserve(templates.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(templates[i]));
    templates = std::move(sorted);
}

} // namespace

std::optional<double> ParseTemplateLength(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty())
        return 0.0;
    const std::optional<double> value = ParseNumber(text);
    if (!value)
        return std::nullopt;
    text = Trimmed(text);
    static constexpr std::pair<std::string_view, double> kUnits[] = {
        {"", 25.4 / 72.0}, {"pt", 25.4 / 72.0}, {"in", 25.4}, {"mm", 1.0}, {"cm", 10.0}, {"pc", 25.4 / 6.0},
    };
    for (const auto& [unit, dMillimetres] : kUnits)
        if (text == unit)
            return *value * dMillimetres;
    return std::nullopt;
}

std::vector<CPaperSize> ReadPaperSizes(std::string_view xml)
{
    CPaperSizeReader reader;
    reader.Walk(xml);
    return std::move(reader.m_papers);
}

CTemplateFormat ConvertTemplate(const CTemplateDefinition& definition, const std::vector<CPaperSize>& papers)
{
    CTemplateFormat result;
    const auto leftOut = [&result](TemplateLeftOut why) {
        result.m_leftOut = why;
        return result;
    };
    if (definition.m_nShapes != 1)
        return leftOut(TemplateLeftOut::NotOneLayout);
    if (!definition.m_bRectangle)
        return leftOut(TemplateLeftOut::NotRectangle);
    if (definition.m_nLayouts != 1)
        return leftOut(TemplateLeftOut::NotOneLayout);

    const std::optional<int> nColumns = ParseCount(definition.m_strColumns);
    const std::optional<int> nRows = ParseCount(definition.m_strRows);
    if (!nColumns || !nRows)
        return leftOut(TemplateLeftOut::Unreadable);
    if (*nColumns < 2 || *nColumns > CPageFormat::kMaxColumns)
        return leftOut(TemplateLeftOut::Columns);
    if (*nRows < 2 || *nRows > CPageFormat::kMaxRows)
        return leftOut(TemplateLeftOut::Rows);

    std::optional<double> dPageWidth;
    std::optional<double> dPageHeight;
    std::string strPaperName;
    if (Trimmed(definition.m_strPaperId).empty() || definition.m_strPaperId == "Other") {
        dPageWidth = RequiredLength(definition.m_strWidth);
        dPageHeight = RequiredLength(definition.m_strHeight);
    } else {
        const auto paper = std::find_if(papers.begin(), papers.end(), [&](const CPaperSize& p) {
            return p.m_strId == definition.m_strPaperId;
        });
        if (paper == papers.end())
            return leftOut(TemplateLeftOut::UnknownPaper);
        dPageWidth = paper->m_dWidth;
        dPageHeight = paper->m_dHeight;
        strPaperName = paper->m_strName;
    }
    const auto dLabelWidth = RequiredLength(definition.m_strLabelWidth);
    const auto dLabelHeight = RequiredLength(definition.m_strLabelHeight);
    const auto dX0 = ParseTemplateLength(definition.m_strX0);
    const auto dY0 = ParseTemplateLength(definition.m_strY0);
    const auto dDx = ParseTemplateLength(definition.m_strDx);
    const auto dDy = ParseTemplateLength(definition.m_strDy);
    if (!dPageWidth || !dPageHeight || !dLabelWidth || !dLabelHeight || !dX0 || !dY0 || !dDx || !dDy)
        return leftOut(TemplateLeftOut::Unreadable);

    CAxisValues across{};
    CAxisValues down{};
    if (const auto why = AxisValues({*dPageWidth, *dLabelWidth, *dX0, *dDx, *nColumns}, across))
        return leftOut(*why);
    if (const auto why = AxisValues({*dPageHeight, *dLabelHeight, *dY0, *dDy, *nRows}, down))
        return leftOut(*why);

    CPageSetupValues values;
    values.m_nPageWidth = across.m_nPage;
    values.m_nLeftMargin = across.m_nNear;
    values.m_nRightMargin = across.m_nFar;
    values.m_nLabelWidth = across.m_nLabel;
    values.m_nPageHeight = down.m_nPage;
    values.m_nTopMargin = down.m_nNear;
    values.m_nBottomMargin = down.m_nFar;
    values.m_nLabelHeight = down.m_nLabel;
    values.m_nColumns = static_cast<std::uint32_t>(*nColumns);
    values.m_nRows = static_cast<std::uint32_t>(*nRows);
    CPageFormat format;
    ApplyValuesToFormat(values, format);
    if (CheckLabelsFit(format) != LabelFit::Fits)
        return leftOut(TemplateLeftOut::Overlapping);
    result.m_format = format;
    result.m_strPaperName = std::move(strPaperName);
    return result;
}

std::size_t CTemplateCollection::LeftOutCount(TemplateLeftOut why) const
{
    return static_cast<std::size_t>(std::count_if(
        m_leftOut.begin(), m_leftOut.end(), [why](const CLeftOutTemplate& t) { return t.m_why == why; }));
}

CTemplateSources DefaultTemplateSources()
{
    CTemplateSources sources;
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::string_view dirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    while (!dirs.empty()) {
        const std::size_t nColon = std::min(dirs.find(':'), dirs.size());
        const std::string_view dir = dirs.substr(0, nColon);
        // Relative entries are to be ignored, as for every XDG variable.
        if (dir.starts_with('/'))
            sources.m_systemDirs.push_back(std::string(dir) + "/libglabels-3.0/templates");
        dirs.remove_prefix(std::min(nColon + 1, dirs.size()));
    }
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (configHome && configHome[0] == '/')
        sources.m_strUserDir = std::string(configHome) + "/libglabels/templates";
    else if (home && home[0] == '/')
        sources.m_strUserDir = std::string(home) + "/.config/libglabels/templates";
    return sources;
}

CTemplateCollection ReadTemplateCollection(const CTemplateSources& sources, const CTemplateLimits& limits)
{
    CTemplateCollection collection;
    std::vector<CPaperSize> papers;
    for (const std::string& dir : sources.m_systemDirs) {
        std::string bytes;
        if (ReadWholeFile(dir + "/paper-sizes.xml", kMaxTemplateFileBytes, bytes) == 0) {
            papers = ReadPaperSizes(bytes);
            break;
        }
    }

    std::vector<CTemplateDefinition> definitions;
    std::vector<std::string> dirs = sources.m_systemDirs;
    if (!sources.m_strUserDir.empty())
        dirs.push_back(sources.m_strUserDir);
    std::size_t nListed = 0;
    for (const std::string& dir : dirs) {
        const std::vector<std::string> files =
            TemplateFiles(dir, limits.m_nFiles - nListed, collection.m_nFilesNotRead);
        nListed += files.size();
        for (const std::string& path : files) {
            if (definitions.size() >= limits.m_nTemplates) {
                collection.m_bTemplatesCut = true;
                break;
            }
            std::string bytes;
            if (const int nError = ReadWholeFile(path, kMaxTemplateFileBytes, bytes)) {
                collection.m_problems.push_back({path, nError, {}, 0});
                continue;
            }
            ++collection.m_nFiles;
            // Templates complete before a fault in the file are kept.
            CTemplateReader reader(definitions, limits.m_nTemplates);
            if (!reader.Walk(bytes))
                collection.m_problems.push_back({path, 0, reader.m_strError, reader.m_nLine});
            collection.m_bTemplatesCut = collection.m_bTemplatesCut || reader.Full();
        }
    }

    Convert(definitions, papers, collection);
    return collection;
}

std::string TemplateSizeText(const CPageFormat& format)
{
    return FormatTenths(format.m_dLabelWidth) + 'x' + FormatTenths(format.m_dLabelHeight);
}

std::vector<std::size_t> SearchTemplates(const std::vector<CLabelTemplate>& templates, std::string_view query)
{
    struct CWord
    {
        std::string m_strText;
        std::optional<CSizeWord> m_size;
    };
    std::vector<CWord> words;
    const std::string strQuery = LowerAscii(query);
    std::string_view rest = strQuery;
    while (!(rest = Trimmed(rest)).empty()) {
        const std::size_t nEnd = std::min(rest.find_first_of(" \t\r\n"), rest.size());
        const std::string_view word = rest.substr(0, nEnd);
        words.push_back({std::string(word), ParseSizeWord(word)});
        rest.remove_prefix(nEnd);
    }
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < templates.size(); ++i) {
        const CLabelTemplate& label = templates[i];
        const bool bAll = std::all_of(words.begin(), words.end(), [&label](const CWord& word) {
            return label.m_strSearchText.find(word.m_strText) != std::string::npos ||
                   (word.m_size && SizeMatches(*word.m_size, label.m_format));
        });
        if (bAll)
            found.push_back(i);
    }
    return found;
}

CTemplateCollection ReadTemplateText(std::string_view xml, const std::vector<CPaperSize>& papers)
{
    CTemplateCollection collection;
    std::vector<CTemplateDefinition> definitions;
    CTemplateReader reader(definitions, kMaxTemplates);
    if (!reader.Walk(xml))
        collection.m_problems.push_back({{}, 0, reader.m_strError, reader.m_nLine});
    collection.m_bTemplatesCut = reader.Full();
    Convert(definitions, papers, collection);
    return collection;
}

#include "wirelist/WireListReader.h"

#include "model/FileAccess.h"
#include "wirelist/TableBuilder.h"

#include <cctype>
#include <cerrno>

namespace {

std::string Quoted(const std::string& name)
{
    return "'" + name + "'";
}

std::string Reason(const CWireListProblem& p)
{
    using Kind = CWireListProblem::Kind;
    const std::string part = Quoted(p.m_strPart);
    switch (p.m_kind) {
    case Kind::None:
        return {};
    case Kind::Empty:
        return "the file is empty";
    case Kind::Folder:
        return "is a folder, not a wire list";
    case Kind::TooLarge:
        return "larger than " + std::to_string(p.m_nLimit >> 20) + " MB, too large for a wire list";
    case Kind::FileError:
        return FileErrorText(p.m_nErrno);
    case Kind::OldXls:
        return "an old binary Excel workbook (.xls): save it as .xlsx, .ods or CSV";
    case Kind::Binary:
        return "not a wire list: the file holds binary data, not text or a workbook";
    case Kind::NoCells:
        return "the list has no cells";
    case Kind::UnknownEncoding:
        return "unknown encoding " + Quoted(p.m_strDetail);
    case Kind::InvalidText:
        return "the text is not valid " + p.m_strDetail;
    case Kind::NeitherUtf8NorGb18030:
        return "the text is neither UTF-8 nor GB18030";
    case Kind::QuoteNotClosed:
        return "row " + std::to_string(p.m_nRow) + ": a quoted cell is not closed";
    case Kind::ZipDamaged:
        return "the zip container is damaged (" + p.m_strDetail + ")";
    case Kind::NotAWorkbook:
        return "a zip file, but neither an .xlsx nor an .ods workbook";
    case Kind::PartMissing:
        return "the workbook has no part " + part;
    case Kind::PartTooLarge:
        if (p.m_nCount == 0) // found while unpacking
            return part + " unpacks to more than " + std::to_string(p.m_nLimit >> 20) + " MB";
        return part + " would unpack to " + std::to_string(p.m_nCount >> 20) + " MB, more than " +
               std::to_string(p.m_nLimit >> 20) + " MB";
    case Kind::PartsTooLarge:
        return "the workbook's parts unpack to more than " + std::to_string(p.m_nLimit >> 20) +
               " MB together";
    case Kind::PartUnpackable:
        return part + " cannot be unpacked (" + p.m_strDetail + ")";
    case Kind::PartDamaged:
        return part + " is damaged (" + p.m_strDetail + ")";
    case Kind::TagTooLong:
        return part + " holds an XML tag longer than " + std::to_string(p.m_nLimit >> 20) + " MB";
    case Kind::NestedTooDeep:
        return part + ": elements are nested more than " + std::to_string(p.m_nLimit) + " deep";
    case Kind::NotWellFormed:
        return part + " is not well-formed XML (line " + std::to_string(p.m_nRow) + ": " + p.m_strDetail +
               ")";
    case Kind::NoWorksheet:
        return "the workbook has no worksheet";
    case Kind::NoSuchWorksheet: {
        std::string message = "the workbook has no worksheet named " + Quoted(p.m_strDetail) + " (it has ";
        for (std::size_t i = 0; i < p.m_names.size(); ++i)
            message += (i ? ", " : "") + Quoted(p.m_names[i]);
        return message + ")";
    }
    case Kind::WorksheetNotLocated:
        return "the workbook does not say where worksheet " + Quoted(p.m_strDetail) + " is";
    case Kind::FormulaWithoutResult:
        return "column " + p.m_strDetail + " holds formulas without a saved result (row " +
               std::to_string(p.m_nRow) + " on): open the workbook in a spreadsheet program and save it once";
    case Kind::TooManyRows:
        return "more than " + std::to_string(p.m_nLimit) + " rows";
    case Kind::TooManyCells:
        return "more than " + std::to_string(p.m_nLimit) + " cells";
    case Kind::TooMuchText:
        return "more than " + std::to_string(p.m_nLimit >> 20) + " MB of text";
    case Kind::TooManySharedStrings:
        return "more than " + std::to_string(p.m_nLimit) + " shared strings";
    }
    return {};
}

} // namespace

std::string EnglishText(const CWireListProblem& problem)
{
    using Kind = CWireListProblem::Kind;
    std::string text = Reason(problem);
    // A limit passed inside a workbook part names the part.
    const bool bInPart = problem.m_kind == Kind::TooManyRows || problem.m_kind == Kind::TooManyCells ||
                         problem.m_kind == Kind::TooMuchText || problem.m_kind == Kind::TooManySharedStrings;
    if (bInPart && !problem.m_strPart.empty())
        text = Quoted(problem.m_strPart) + ": " + text;
    if (problem && !problem.m_strPath.empty())
        text = Quoted(problem.m_strPath) + ": " + text;
    return text;
}

std::string EncodingNote(const CWireList& list, const std::string& path)
{
    if (!list.m_bEncodingWeighed)
        return {};
    std::string note = Quoted(path) + ": read as " + list.m_strEncoding;
    if (!list.m_strOtherEncoding.empty())
        note += " (" + list.m_strOtherEncoding + " would read it too: --encoding " + list.m_strOtherEncoding +
                ")";
    return note;
}

bool IsWireListFileName(std::string_view path)
{
    const std::size_t nDot = path.rfind('.');
    if (nDot == std::string_view::npos || path.find('/', nDot) != std::string_view::npos)
        return false;
    std::string extension(path.substr(nDot + 1));
    for (char& ch : extension)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (const char* list : {"csv", "tsv", "txt", "xlsx", "ods"})
        if (extension == list)
            return true;
    return false;
}

CWireListProblem ReadWireListBytes(std::string_view bytes, const CWireListOptions& options, CWireList& list)
{
    using Kind = CWireListProblem::Kind;
    list = {};
    if (bytes.empty())
        return {Kind::Empty};
    if (bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return {Kind::OldXls};
    const bool bZip = bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06");
    CWireListProblem problem = bZip ? ReadWorkbook(bytes, options, list) : ReadTextList(bytes, options, list);
    if (!problem && list.m_table.RowCount() == 0)
        return {Kind::NoCells};
    return problem;
}

CWireListProblem ReadWireListFile(const std::string& path, const CWireListOptions& options, CWireList& list)
{
    using Kind = CWireListProblem::Kind;
    CWireListProblem problem;
    // Read without blocking on a pipe or a device, as documents are.
    std::string bytes;
    switch (const int nError = ReadWholeFile(path, kMaxWireListBytes, bytes)) {
    case 0:
        problem = ReadWireListBytes(bytes, options, list);
        break;
    case EISDIR:
        problem.m_kind = Kind::Folder;
        break;
    case EFBIG:
        problem.m_kind = Kind::TooLarge;
        problem.m_nLimit = kMaxWireListBytes;
        break;
    default:
        problem.m_kind = Kind::FileError;
        problem.m_nErrno = nError;
    }
    if (problem)
        problem.m_strPath = path;
    return problem;
}

#include "app/CommandLine.h"

#include <gtest/gtest.h>

using Cmd = CCommandLineInfo::ShellCommand;

TEST(WireListCommandLine, OptionsGoWithEveryPrintingCommand)
{
    const CCommandLineInfo pdf = ParseCommandLine(
        {"--pdf", "out.pdf", "--list", "wires.xlsx", "--columns", "A,C", "--join", " / ", "--header",
         "--copies", "2", "--worksheet", "线号", "--encoding", "gb18030", "--selected-only", "sheet.tav"});
    ASSERT_EQ(pdf.m_nShellCommand, Cmd::ExportPdf) << pdf.m_strError;
    EXPECT_EQ(pdf.m_strFileName, "sheet.tav");
    const CWireListRequest& list = pdf.m_list;
    EXPECT_EQ(list.m_strPath, "wires.xlsx");
    EXPECT_EQ(list.m_markers.m_columns, (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(list.m_markers.m_strJoin, " / ");
    EXPECT_EQ(list.m_markers.m_nHeaderRows, 1u);
    EXPECT_TRUE(list.m_markers.m_bSkipEmptyCells);
    EXPECT_EQ(list.m_markers.m_nCopies, 2);
    EXPECT_EQ(list.m_read.m_strWorksheet, "线号");
    EXPECT_EQ(list.m_read.m_strEncoding, "gb18030");
    EXPECT_TRUE(list.m_bSelectedOnly);

    const CCommandLineInfo print =
        ParseCommandLine({"/p", "sheet.tav", "--list", "w.csv", "--quantity-column", "4"});
    ASSERT_EQ(print.m_nShellCommand, Cmd::FilePrint) << print.m_strError;
    EXPECT_EQ(print.m_list.m_markers.m_quantityColumn, std::optional<std::size_t>(3));
    EXPECT_EQ(print.m_list.m_markers.m_columns, (std::vector<std::size_t>{0})); // the default

    const CCommandLineInfo printTo = ParseCommandLine({"/pt", "sheet.tav", "Queue", "--list", "w.csv"});
    ASSERT_EQ(printTo.m_nShellCommand, Cmd::FilePrintTo) << printTo.m_strError;
    EXPECT_EQ(printTo.m_strPrinterName, "Queue");
    EXPECT_EQ(printTo.m_list.m_strPath, "w.csv");
    EXPECT_EQ(printTo.m_list.m_markers.m_strJoin, "\n");

    EXPECT_TRUE(ParseCommandLine({"--pdf", "o.pdf", "s.tav"}).m_list.m_strPath.empty());

    // A title row above the column names: --header takes a count of rows.
    const CCommandLineInfo titled = ParseCommandLine(
        {"--pdf", "o.pdf", "--list", "w.ods", "--header", "2", "--keep-empty-cells", "sheet.tav"});
    ASSERT_EQ(titled.m_nShellCommand, Cmd::ExportPdf) << titled.m_strError;
    EXPECT_EQ(titled.m_list.m_markers.m_nHeaderRows, 2u);
    EXPECT_FALSE(titled.m_list.m_markers.m_bSkipEmptyCells);
    EXPECT_EQ(titled.m_strFileName, "sheet.tav");

    const CCommandLineInfo ends =
        ParseCommandLine({"--pdf", "o.pdf", "--list", "w.xlsx", "--ends", "1,2/A,C", "sheet.tav"});
    ASSERT_EQ(ends.m_nShellCommand, Cmd::ExportPdf) << ends.m_strError;
    EXPECT_EQ(ends.m_list.m_markers.m_columns, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(ends.m_list.m_markers.m_farEndColumns, (std::vector<std::size_t>{0, 2}));
}

TEST(WireListCommandLine, BadOptionsAreErrors)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> args;
        const char* error; // a part of the message
    };
    const Case cases[] = {
        {"list without printing", {"--list", "w.csv", "s.tav"}, "goes with --pdf"},
        {"option without a list", {"--pdf", "o.pdf", "--header", "s.tav"}, "need --list"},
        {"two lists", {"/p", "s.tav", "--list", "a.csv", "--list", "b.csv"}, "one wire list"},
        {"list without a value", {"/p", "s.tav", "--list"}, "--list needs a value"},
        {"column 0", {"/p", "s.tav", "--list", "w.csv", "--columns", "0"}, "--columns takes"},
        {"column list for quantity",
         {"/p", "s.tav", "--list", "w.csv", "--quantity-column", "1,2"},
         "one column"},
        {"header rows past the bound",
         {"/p", "s.tav", "--list", "w.csv", "--header", "101"},
         "--header takes a number of rows"},
        {"ends without a slash", {"/p", "s.tav", "--list", "w.csv", "--ends", "1,2"}, "--ends takes"},
        {"ends with an empty end", {"/p", "s.tav", "--list", "w.csv", "--ends", "1/"}, "--ends takes"},
        {"ends and columns",
         {"/p", "s.tav", "--list", "w.csv", "--ends", "1/2", "--columns", "3"},
         "--columns and --ends cannot be combined"},
        {"ends with a pattern", {"/p", "s.tav", "--pattern", "W{1-3}", "--ends", "1/2"}, "go with --list"},
        {"copies 0", {"/p", "s.tav", "--list", "w.csv", "--copies", "0"}, "--copies takes"},
        {"copies not a number", {"/p", "s.tav", "--list", "w.csv", "--copies", "2x"}, "--copies takes"},
        {"unknown encoding", {"/p", "s.tav", "--list", "w.csv", "--encoding", "NO-SUCH"}, "unknown encoding"},
        {"copies and quantity",
         {"/p", "s.tav", "--list", "w.csv", "--copies", "2", "--quantity-column", "C"},
         "cannot be combined"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CCommandLineInfo info = ParseCommandLine(c.args);
        EXPECT_EQ(info.m_nShellCommand, Cmd::Error);
        EXPECT_NE(info.m_strError.find(c.error), std::string::npos) << info.m_strError;
    }
}

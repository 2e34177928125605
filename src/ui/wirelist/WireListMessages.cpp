#include "wirelist/WireListMessages.h"

#include "base/CharacterText.h"
#include "base/NumberText.h"
#include "base/SystemErrorText.h"
#include "text/EditText.h"

#include <QStringList>

namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

QString Megabytes(std::size_t nBytes)
{
    return NumberText(nBytes >> 20) + QStringLiteral(" MB");
}

QString Quoted(const std::string& name)
{
    return QStringLiteral("“%1”").arg(FromUtf8(name));
}

} // namespace

QString WireListProblemText(const CWireListProblem& p)
{
    using Kind = CWireListProblem::Kind;
    const QString part = Quoted(p.m_strPart);
    // A limit passed inside a workbook part names the part.
    const QString inPart = p.m_strPart.empty() ? QString() : part + QStringLiteral("：");
    switch (p.m_kind) {
    case Kind::None:
        return {};
    case Kind::Empty:
        return QStringLiteral("文件是空的。");
    case Kind::Folder:
        return QStringLiteral("这是一个文件夹，不是线号表。");
    case Kind::TooLarge:
        return QStringLiteral("文件大于 %1，不能作为线号表读取。").arg(Megabytes(p.m_nLimit));
    case Kind::FileError:
        return SystemErrorText(p.m_nErrno);
    case Kind::OldXls:
        return QStringLiteral("这是旧格式的 Excel 工作簿（.xls）：请另存为 .xlsx、.ods 或 CSV。");
    case Kind::Binary:
        return QStringLiteral("文件中是二进制数据，不是文字或工作簿。");
    case Kind::NoCells:
        return QStringLiteral("线号表中没有单元格。");
    case Kind::UnknownEncoding:
        return QStringLiteral("未知的编码%1。").arg(Quoted(p.m_strDetail));
    case Kind::InvalidText:
        return QStringLiteral("文字不是有效的 %1 编码。").arg(FromUtf8(p.m_strDetail));
    case Kind::NeitherUtf8NorGb18030:
        return QStringLiteral("文字既不是 UTF-8 编码，也不是 GB18030 编码。");
    case Kind::QuoteNotClosed:
        return QStringLiteral("第 %1 行：引号中的单元格没有结束。").arg(NumberText(p.m_nRow));
    case Kind::ZipDamaged:
        return QStringLiteral("压缩文件已损坏（%1）。").arg(FromUtf8(p.m_strDetail));
    case Kind::NotAWorkbook:
        return QStringLiteral("这是压缩文件，但既不是 .xlsx 也不是 .ods 工作簿。");
    case Kind::PartMissing:
        return QStringLiteral("工作簿缺少部件%1。").arg(part);
    case Kind::PartTooLarge:
        if (p.m_nCount == 0)
            return QStringLiteral("%1解压后超过 %2。").arg(part, Megabytes(p.m_nLimit));
        return QStringLiteral("%1解压后有 %2，超过 %3。")
            .arg(part, Megabytes(p.m_nCount), Megabytes(p.m_nLimit));
    case Kind::PartsTooLarge:
        return QStringLiteral("工作簿的各部分解压后合计超过 %1。").arg(Megabytes(p.m_nLimit));
    case Kind::PartUnpackable:
        return QStringLiteral("无法解压%1（%2）。").arg(part, FromUtf8(p.m_strDetail));
    case Kind::PartDamaged:
        return QStringLiteral("%1已损坏（%2）。").arg(part, FromUtf8(p.m_strDetail));
    case Kind::TagTooLong:
        return QStringLiteral("%1中有长于 %2 的 XML 标记。").arg(part, Megabytes(p.m_nLimit));
    case Kind::NestedTooDeep:
        return QStringLiteral("%1中的元素嵌套超过 %2 层。").arg(part, NumberText(p.m_nLimit));
    case Kind::NotWellFormed:
        return QStringLiteral("%1不是格式正确的 XML（第 %2 行：%3）。")
            .arg(part, NumberText(p.m_nRow), FromUtf8(p.m_strDetail));
    case Kind::NoWorksheet:
        return QStringLiteral("工作簿中没有工作表。");
    case Kind::NoSuchWorksheet: {
        QStringList names;
        for (const std::string& name : p.m_names)
            names << Quoted(name);
        return QStringLiteral("工作簿中没有名为%1的工作表（它有：%2）。")
            .arg(Quoted(p.m_strDetail), names.join(QStringLiteral("、")));
    }
    case Kind::WorksheetNotLocated:
        return QStringLiteral("工作簿没有说明工作表%1在哪里。").arg(Quoted(p.m_strDetail));
    case Kind::FormulaWithoutResult:
        return QStringLiteral("第 %1 列是没有保存结果的公式；请在表格程序中打开并保存一次。")
            .arg(FromUtf8(p.m_strDetail));
    case Kind::TooManyRows:
        return inPart + QStringLiteral("超过 %1 行。").arg(NumberText(p.m_nLimit));
    case Kind::TooManyCells:
        return inPart + QStringLiteral("超过 %1 个单元格。").arg(NumberText(p.m_nLimit));
    case Kind::TooMuchText:
        return inPart + QStringLiteral("文字超过 %1。").arg(Megabytes(p.m_nLimit));
    case Kind::TooManySharedStrings:
        return inPart + QStringLiteral("共享字符串超过 %1 个。").arg(NumberText(p.m_nLimit));
    }
    return {};
}

QString PatternErrorText(const CPatternError& e)
{
    using Kind = CPatternError::Kind;
    const QString at = e.m_nPosition ? QStringLiteral("第 %1 个字符：").arg(e.m_nPosition) : QString();
    const QString marker =
        QStringLiteral("第 %1 个线号“%2”").arg(NumberText(e.m_nMarker), FromUtf8(e.m_strMarker));
    switch (e.m_kind) {
    case Kind::Empty:
        return QStringLiteral("序列是空的。");
    case Kind::UnclosedBrace:
        return at + QStringLiteral("“{”没有对应的“}”。");
    case Kind::StrayCloseBrace:
        return at + QStringLiteral("“}”前面没有“{”（花括号本身请写成“}}”）。");
    case Kind::EmptyCounter:
        return at + QStringLiteral("“{}”中没有计数器。");
    case Kind::NotACounter:
        return at + QStringLiteral("“{%1}”既不是范围（1-24、A-Z），也不是列表（L1,L2）。")
                        .arg(FromUtf8(e.m_strDetail));
    case Kind::MixedBounds:
        return at + QStringLiteral("范围的两端必须都是数字，或都是同样大小写的字母。");
    case Kind::BoundTooLarge:
        return at + QStringLiteral("范围的两端最多 9 位数字或 6 个字母。");
    case Kind::BadStep:
        return at + QStringLiteral("步长必须是正整数。");
    case Kind::ZeroStep:
        return at + QStringLiteral("步长不能为 0。");
    case Kind::BadRepeat:
        return at + QStringLiteral("“*”后面必须是 1 到 %1 之间的整数。").arg(kMaxPatternRepeat);
    case Kind::NothingToTurnWith:
        return at + QStringLiteral("“=”前面没有可以一起转的计数器。");
    case Kind::UnequalTogether:
        return at + QStringLiteral("一起转的计数器必须有同样多的值（%1 和 %2）。")
                        .arg(NumberText(e.m_nOther), NumberText(e.m_nCount));
    case Kind::PatternTooLong:
        return QStringLiteral("序列有 %1 个字符，最多 %2 个。")
            .arg(NumberText(e.m_nCount), NumberText(kMaxPatternCharacters));
    case Kind::TooManyCounters:
        return at + QStringLiteral("一个序列最多 %1 个计数器。").arg(kMaxPatternCounters);
    case Kind::TooManyMarkers:
        return QStringLiteral("序列超过 %1 个线号。").arg(NumberText(kMaxPatternMarkers));
    case Kind::NotCodePage936:
        return marker +
               QStringLiteral("：字符 %1 不能打印在标签上。").arg(CharacterText(FromUtf8(e.m_strDetail)));
    case Kind::TooLong:
        return marker + QStringLiteral("有 %1 个字节，一个标签最多 %2 个字节。")
                            .arg(NumberText(e.m_nCount))
                            .arg(kLabelTextLimit);
    }
    return {};
}

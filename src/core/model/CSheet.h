#pragma once

#include "model/CLabelRecord.h"
#include "model/CPageFormat.h"

#include <array>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

// A whole sheet as the file holds it: the format and every label of the
// 25 × 15 grid. Only the rows × columns of the format are stored; labels
// outside keep their content while hidden.
struct CSheet
{
    using Row = std::array<CLabelRecord, CPageFormat::kMaxColumns>;

    CPageFormat m_format;
    std::array<Row, CPageFormat::kMaxRows> m_labels;

    bool operator==(const CSheet&) const = default;
};

// The first string of every sheet file.
extern const std::string kSheetSignature;

enum class SignatureCheck {
    Ok,
    CannotOpen,     // no message: the open simply fails
    WrongSignature, // "错误的文件格式！"
    Unreadable,     // "文件打开出错,文件被占用或文件格式错误!"
};

enum class SheetReadResult {
    Ok,
    CannotOpen,
    WrongSignature,
    Unreadable, // the signature itself could not be read
    Corrupt,    // the signature matched, the rest did not read: "非预期的文件格式。"
};

SignatureCheck CheckSignature(std::istream& in);
SignatureCheck CheckSignatureFile(const std::string& path);

// Signature, format, then the labels of rows × columns, row-major. A format
// that is not usable (CPageFormat::IsUsable) writes nothing: WriteSheet
// returns false, as it does when the stream fails; SheetBytes returns "".
bool WriteSheet(std::ostream& out, const CSheet& sheet);
std::string SheetBytes(const CSheet& sheet);

// All or nothing: `sheet` changes only when the whole stream read and the
// format is one a sheet can show. Labels outside the new rows × columns keep
// what `sheet` held. A read that failed on a 16-bit string holding a
// character code page 936 cannot hold gives that character in
// `pUnconvertible`.
bool ReadSheet(std::istream& in, CSheet& sheet, std::optional<char32_t>* pUnconvertible = nullptr);

// The signature check, then the full read, as one open of a file. A missing
// or unreadable path and a directory are CannotOpen; a Corrupt file may name
// the character it failed on, as ReadSheet does.
SheetReadResult ReadSheetFile(const std::string& path, CSheet& sheet,
                              std::optional<char32_t>* pUnconvertible = nullptr);

// Written atomically; returns 0 or the errno of the failure (EINVAL for a
// format that is not usable), in which case the previous file is untouched.
int SaveSheetFile(const std::string& path, const CSheet& sheet);

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The stored printer choice, "tavrops.spd" in the settings directory: an
// opaque description in two byte blocks, each preceded by its unsigned
// 32-bit little-endian length, nothing else:
//   length, settings block, length, names block.
// The settings block starts with the printer's name, zero-terminated; what
// follows the name is the front end's own (paper, orientation, copies). The
// names block may be empty.
//
// A file is only taken when it reads exactly: both lengths within their
// bounds, the file no longer and no shorter than they say, and a printable
// name in front. Anything else is foreign and treated as missing, so no
// unread or foreign bytes ever reach the printer system.

extern const std::string kPrinterFileName; // "tavrops.spd"

struct CPrinterDescription
{
    static constexpr std::uint32_t kMaxSettingsBytes = 64 * 1024;
    static constexpr std::uint32_t kMaxNamesBytes = 4 * 1024;
    static constexpr std::size_t kMaxNameBytes = 255;

    std::string m_strSettings; // starts with the name and its zero byte
    std::string m_strNames;

    // The name in front of the settings block; empty when there is none.
    std::string PrinterName() const;

    // A settings block holding just the name and its terminator.
    static CPrinterDescription ForPrinter(const std::string& strName);

    bool operator==(const CPrinterDescription&) const = default;
};

// Whether the description would be read back: a non-empty name of at most
// kMaxNameBytes bytes without control characters, terminated inside the
// settings block, and both blocks within their bounds.
bool IsValidPrinterDescription(const CPrinterDescription& description);

std::string PrinterDescriptionBytes(const CPrinterDescription& description);
std::optional<CPrinterDescription> ParsePrinterDescription(std::string_view bytes);

// nullopt for a missing, unreadable, short, oversized or foreign file; a
// file larger than any valid description is not read at all, nor anything
// but a regular file (a FIFO is never opened).
std::optional<CPrinterDescription> ReadPrinterDescriptionFile(const std::string& path);

// Written atomically. Returns 0, the errno of the failure (the previous file
// then untouched), or EINVAL for a description that would not read back.
int WritePrinterDescriptionFile(const std::string& path, const CPrinterDescription& description);

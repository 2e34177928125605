#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Text as the dialogs' edit boxes hold it (UTF-8, lines separated by LF) and
// as labels store it (code page 936, lines separated by CR LF). Every length
// limit of the dialogs counts the stored bytes.

constexpr std::size_t kLabelTextLimit = 50; // a label's text, and prefix or suffix
constexpr std::size_t kMiddleTextLimit = 5; // the advancing middle part

// Bytes the edit text takes once stored: one for an ASCII character, two for
// a line break and for every other character (a Chinese character in code
// page 936; a character it cannot hold counts two as well).
std::size_t StoredLength(std::string_view utf8);

// The stored form of an edit text; nullopt when a character cannot be held by
// code page 936 (see FirstUnstorableCharacter).
std::optional<std::string> EditTextToGbk(std::string_view utf8);

// The first character (UTF-8) that code page 936 cannot hold, or nullopt.
std::optional<std::string> FirstUnstorableCharacter(std::string_view utf8);

// A label's text for an edit box: CR LF becomes LF; bytes that are not code
// page 936 show as U+FFFD.
std::string GbkToEditText(std::string_view gbk);

// An integer field as the dialogs read it: blanks around an optional sign and
// at least one decimal digit. nullopt for anything else or a value beyond
// 32 bits ("请键入一个整数。").
std::optional<int> ParseDialogInt(std::string_view text);

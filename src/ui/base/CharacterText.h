#pragma once

#include <QString>

// A character as messages name it: its code point and, where it can be
// shown, the character itself ("U+0E01（ก）"), so that it is known even where
// no installed face draws it.
QString CharacterText(char32_t ch);
// The same for the first character of a string.
QString CharacterText(const QString& character);

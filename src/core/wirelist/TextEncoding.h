#pragma once

#include <string>
#include <string_view>

// The encoding of a text list that is not UTF-8, weighed by what each
// candidate reading gives rather than by a detector's word alone. The
// candidates are GB18030 (what Chinese spreadsheet programs write), Big5,
// Shift_JIS, EUC-JP and libuchardet's guess. A reading is plausible when its
// characters are the common ones of its language (GB2312's first level for
// GB18030, Big5's frequent characters, kana and JIS's first level, Hangul;
// letters within words for a single-byte encoding, which also loses for
// characters a label cannot hold). The likelier reading is chosen; another
// plausible one is offered beside it.
struct CEncodingChoice
{
    std::string m_strEncoding; // iconv's name; empty when no candidate decodes the text
    std::string m_strOther;    // another plausible reading; empty when there is none
};

// Weighs a sample of `bytes` (slices from all over a large text); the
// reading chosen, and the one offered, decode the whole of it.
CEncodingChoice ChooseEncoding(std::string_view bytes);

// How plausible `utf8` is as text written in `encoding`: from -1 (every
// character one a label cannot hold and no word of its language) to 1
// (every character a common one). Readings from 0.5 on are plausible.
double ReadingPlausibility(std::string_view utf8, std::string_view encoding);

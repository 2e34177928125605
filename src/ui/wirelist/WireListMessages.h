#pragma once

#include "wirelist/SequencePattern.h"
#include "wirelist/WireListReader.h"

#include <QString>

// Why a wire list cannot be read, in the program's words: the reason alone,
// without the file's name, e.g. "第 3 行：引号中的单元格没有结束".
QString WireListProblemText(const CWireListProblem& problem);

// Why a sequence pattern gives no markers, e.g. "第 5 个字符：步长不能为 0。"
QString PatternErrorText(const CPatternError& error);

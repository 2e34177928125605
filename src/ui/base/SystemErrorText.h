#pragma once

#include <QString>

// Why a file operation failed, for a message box: the common reasons in
// Chinese, any other the C library's own text.
QString SystemErrorText(int nError);

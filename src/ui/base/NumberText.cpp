#include "base/NumberText.h"

QLocale CountLocale()
{
    return QLocale(QLocale::English);
}

QString NumberText(std::size_t nValue)
{
    return CountLocale().toString(static_cast<qulonglong>(nValue));
}

#pragma once

#include <QLocale>
#include <QString>

#include <cstddef>

// The locale of every count the program shows or reads in a number box:
// digits in groups of three, "8,000", whatever the system's locale.
QLocale CountLocale();

// A count as the program writes it, in CountLocale.
QString NumberText(std::size_t nValue);

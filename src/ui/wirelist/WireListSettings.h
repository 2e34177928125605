#pragma once

#include "wirelist/ListChoices.h"

#include <QString>

#include <vector>

// The wire list choices kept in the settings file: the folder the last list
// came from, and what was chosen for each of the last lists.
QString RememberedListFolder();
std::vector<CListChoices> RememberedLists();
// Keeps `choices` first and the folder of its list.
void RememberList(const CListChoices& choices);

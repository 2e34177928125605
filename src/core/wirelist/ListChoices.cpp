#include "wirelist/ListChoices.h"

#include <algorithm>

void RememberListChoices(std::vector<CListChoices>& lists, CListChoices choices)
{
    std::erase_if(lists, [&](const CListChoices& kept) { return kept.m_strPath == choices.m_strPath; });
    lists.insert(lists.begin(), std::move(choices));
    if (lists.size() > kRememberedLists)
        lists.resize(kRememberedLists);
}

const CListChoices* ChoicesForList(const std::vector<CListChoices>& lists, const std::string& path)
{
    const auto found = std::find_if(lists.begin(), lists.end(),
                                    [&](const CListChoices& kept) { return kept.m_strPath == path; });
    return found == lists.end() ? nullptr : &*found;
}

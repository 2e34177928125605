#include "app/CCommandMap.h"

const CCommandMap::Handler* CCommandMap::FindHandler(int nID) const
{
    const auto it = m_handlers.find(nID);
    return it == m_handlers.end() ? nullptr : &it->second;
}

const CCommandMap::UpdateHandler* CCommandMap::FindUpdateHandler(int nID) const
{
    const auto it = m_updaters.find(nID);
    return it == m_updaters.end() ? nullptr : &it->second;
}

const CCommandMap::Handler* CCommandRouter::FindHandler(int nID) const
{
    for (const CCommandMap* pMap : m_targets)
        if (const CCommandMap::Handler* handler = pMap->FindHandler(nID))
            return handler;
    return nullptr;
}

CCmdUI CCommandRouter::Update(int nID) const
{
    CCmdUI cmdUI;
    for (const CCommandMap* pMap : m_targets)
        if (const CCommandMap::UpdateHandler* updater = pMap->FindUpdateHandler(nID)) {
            (*updater)(cmdUI);
            return cmdUI;
        }
    bool bHandled = false;
    for (const CCommandMap* pMap : m_targets)
        bHandled = bHandled || pMap->FindHandler(nID) != nullptr;
    cmdUI.Enable(bHandled);
    return cmdUI;
}

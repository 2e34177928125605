#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

// The state an update handler gives a command's menu item and button.
struct CCmdUI
{
    bool m_bEnabled = true;
    bool m_bChecked = false;

    void Enable(bool bOn = true) { m_bEnabled = bOn; }
    void SetCheck(bool bOn = true) { m_bChecked = bOn; }
};

// The commands one object (view, document, frame, application) handles, with
// their optional update handlers.
class CCommandMap
{
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CCmdUI&)>;

    void On(int nID, Handler handler) { m_handlers[nID] = std::move(handler); }
    void OnUpdate(int nID, UpdateHandler handler) { m_updaters[nID] = std::move(handler); }

    const Handler* FindHandler(int nID) const;
    const UpdateHandler* FindUpdateHandler(int nID) const;

private:
    std::unordered_map<int, Handler> m_handlers;
    std::unordered_map<int, UpdateHandler> m_updaters;
};

// The command maps of a window in their order of precedence (view, document,
// frame, application): a command belongs to the first map that handles it.
// A command's state comes from the first update handler found; without one
// it is enabled exactly when some map handles it, so a command nobody
// carries out is greyed.
class CCommandRouter
{
public:
    void AddTarget(const CCommandMap* pMap) { m_targets.push_back(pMap); }

    const CCommandMap::Handler* FindHandler(int nID) const; // null when nothing handles nID
    CCmdUI Update(int nID) const;

private:
    std::vector<const CCommandMap*> m_targets;
};

#include "framework/CommandMap.h"

namespace {
template <class Map>
auto FindRange(const Map& ranges, unsigned id)
{
    auto it = ranges.upper_bound(id);
    if (it == ranges.begin())
        return ranges.end();
    --it;
    return id <= it->second.last ? it : ranges.end();
}
} // namespace

void CCommandMap::On(unsigned id, Handler handler)
{
    m_handlers[id] = std::move(handler);
}

void CCommandMap::OnRange(unsigned first, unsigned last, RangeHandler handler)
{
    m_ranges[first] = Range{last, std::move(handler)};
}

void CCommandMap::OnUpdate(unsigned id, UpdateHandler handler)
{
    m_updates[id] = std::move(handler);
}

void CCommandMap::OnUpdateRange(unsigned first, unsigned last, UpdateHandler handler)
{
    m_updateRanges[first] = UpdateRange{last, std::move(handler)};
}

bool CCommandMap::HasHandler(unsigned id) const
{
    return m_handlers.count(id) || FindRange(m_ranges, id) != m_ranges.end();
}

bool CCommandMap::HasUpdateHandler(unsigned id) const
{
    return m_updates.count(id) || FindRange(m_updateRanges, id) != m_updateRanges.end();
}

bool CCommandMap::Execute(unsigned id) const
{
    if (auto it = m_handlers.find(id); it != m_handlers.end()) {
        it->second();
        return true;
    }
    if (auto it = FindRange(m_ranges, id); it != m_ranges.end()) {
        it->second.handler(id);
        return true;
    }
    return false;
}

bool CCommandMap::Update(CCmdUI* cmdUI) const
{
    if (auto it = m_updates.find(cmdUI->m_nID); it != m_updates.end()) {
        it->second(cmdUI);
        return true;
    }
    if (auto it = FindRange(m_updateRanges, cmdUI->m_nID); it != m_updateRanges.end()) {
        it->second.handler(cmdUI);
        return true;
    }
    return false;
}

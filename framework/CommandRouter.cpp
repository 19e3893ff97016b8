#include "framework/CommandRouter.h"

void CCommandRouter::AddTarget(TargetSource source)
{
    m_chain.push_back(std::move(source));
}

bool CCommandRouter::Execute(unsigned id) const
{
    for (const TargetSource& source : m_chain) {
        CCmdTarget* target = source();
        if (target && target->OnCmdMsg(id, nullptr))
            return true;
    }
    return false;
}

CCmdUI CCommandRouter::Update(unsigned id) const
{
    CCmdUI cmdUI(id);
    for (const TargetSource& source : m_chain) {
        CCmdTarget* target = source();
        if (target && target->OnCmdMsg(id, &cmdUI))
            return cmdUI;
    }
    cmdUI.Enable(false);
    return cmdUI;
}

#include "framework/CmdTarget.h"

bool CCmdTarget::OnCmdMsg(unsigned id, CCmdUI* cmdUI)
{
    if (!cmdUI)
        return m_commandMap.Execute(id);
    if (m_commandMap.Update(cmdUI))
        return true;
    if (m_commandMap.HasHandler(id)) {
        cmdUI->Enable(true);
        return true;
    }
    return false;
}

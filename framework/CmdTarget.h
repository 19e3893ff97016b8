#pragma once
// Something that handles commands: views, the document's command side, the frame and the
// application each keep a map of command ids to handlers and update handlers.

#include "framework/CmdUI.h"
#include "framework/CommandMap.h"

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // With a null cmdUI, runs the command's handler; otherwise asks its update handler.
    // Returns true when this target took the command: for an update, when it has an
    // update handler or a command handler (which leaves the command enabled).
    virtual bool OnCmdMsg(unsigned id, CCmdUI* cmdUI);

    CCommandMap& CommandMap() { return m_commandMap; }
    const CCommandMap& CommandMap() const { return m_commandMap; }

private:
    CCommandMap m_commandMap;
};

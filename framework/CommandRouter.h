#pragma once
// Routes a command along the chain: active view, document, frame, application. The
// first target that takes it wins. A command nobody handles is shown disabled.

#include "framework/CmdTarget.h"

#include <functional>
#include <vector>

class CCommandRouter {
public:
    // Targets are asked for in order each time, since the active view changes.
    using TargetSource = std::function<CCmdTarget*()>;

    void AddTarget(TargetSource source);

    // Runs the command; false when no target handles it.
    bool Execute(unsigned id) const;

    // The state the command's update handler gives it (disabled when no target takes it).
    CCmdUI Update(unsigned id) const;

private:
    std::vector<TargetSource> m_chain;
};

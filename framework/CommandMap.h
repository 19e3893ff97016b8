#pragma once
// A command target's table: handlers and update handlers by command id, single ids or
// ranges (the audiogram symbols are one range).

#include "framework/CmdUI.h"

#include <functional>
#include <map>

class CCommandMap {
public:
    using Handler = std::function<void()>;
    using RangeHandler = std::function<void(unsigned id)>;
    using UpdateHandler = std::function<void(CCmdUI*)>;

    void On(unsigned id, Handler handler);
    void OnRange(unsigned first, unsigned last, RangeHandler handler);
    void OnUpdate(unsigned id, UpdateHandler handler);
    void OnUpdateRange(unsigned first, unsigned last, UpdateHandler handler);

    bool HasHandler(unsigned id) const;
    bool HasUpdateHandler(unsigned id) const;
    // Each returns false when the map has nothing for the id.
    bool Execute(unsigned id) const;
    bool Update(CCmdUI* cmdUI) const;

private:
    struct Range {
        unsigned last;
        RangeHandler handler;
    };
    struct UpdateRange {
        unsigned last;
        UpdateHandler handler;
    };
    std::map<unsigned, Handler> m_handlers;
    std::map<unsigned, Range> m_ranges;       // keyed by first id
    std::map<unsigned, UpdateHandler> m_updates;
    std::map<unsigned, UpdateRange> m_updateRanges;
};

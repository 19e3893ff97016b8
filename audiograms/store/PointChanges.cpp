#include "audiograms/store/PointChanges.h"

#include <tuple>

namespace quorin {

namespace {

auto values(const CAudPoint& p) { return std::tie(p.symbol, p.xy, p.mask, p.recent, p.type); }
bool samePoint(const CAudPoint& a, const CAudPoint& b) { return values(a) == values(b); }
bool samePlace(const CAudPoint& a, const CAudPoint& b) { return a.symbol == b.symbol && a.xy == b.xy; }

} // namespace

std::optional<PointChanges> ChangesBetween(const std::vector<CAudPoint>& stored, const std::vector<CAudPoint>& fresh)
{
    for (std::size_t i = 0; i < stored.size(); ++i)
        for (std::size_t k = i + 1; k < stored.size(); ++k)
            if (samePoint(stored[i], stored[k]))
                return std::nullopt;
    std::vector<bool> taken(stored.size(), false);
    std::vector<int> match(fresh.size(), -1);
    // Equal points first, then points whose symbol kept its place.
    for (const auto& alike : {&samePoint, &samePlace})
        for (std::size_t j = 0; j < fresh.size(); ++j)
            for (std::size_t i = 0; match[j] < 0 && i < stored.size(); ++i)
                if (!taken[i] && (*alike)(stored[i], fresh[j])) {
                    taken[i] = true;
                    match[j] = static_cast<int>(i);
                }
    // Kept points keep their stored order and new ones are written after them: the
    // record's order must be that one.
    int last = -1;
    bool adding = false;
    for (int m : match) {
        if (m >= 0 && (adding || m < last))
            return std::nullopt;
        adding = adding || m < 0;
        last = m >= 0 ? m : last;
    }
    PointChanges changes;
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (!taken[i])
            changes.deleted.push_back(stored[i]);
    for (std::size_t j = 0; j < fresh.size(); ++j) {
        if (match[j] < 0)
            changes.added.push_back(fresh[j]);
        else if (!samePoint(stored[match[j]], fresh[j]))
            changes.updated.emplace_back(stored[match[j]], fresh[j]);
    }
    return changes;
}

} // namespace quorin

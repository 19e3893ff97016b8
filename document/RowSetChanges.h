#pragma once
// What turns a stored set of rows into the typed one with the fewest writes, so that the
// change history holds only what differs: rows that stay are left alone, a row that keeps
// its place (as `samePlace` tells) is updated, the rest are deleted or added. Used for the
// sets a save used to write again whole: a test's chart symbols, implant devices and
// speech rows.

#include <optional>
#include <utility>
#include <vector>

namespace quorin {

template <typename Row>
struct RowSetChanges {
    std::vector<Row> deleted;                 // stored rows that go
    std::vector<std::pair<Row, Row>> updated; // stored, then as it becomes
    std::vector<Row> added;                   // written after the others
};

// Nothing when only writing the whole set again keeps the stored order (the order the
// set loads in) equal to the typed one, or when two stored rows are equal in every value
// and so cannot be told apart by a statement.
template <typename Row, typename Same, typename SamePlace>
std::optional<RowSetChanges<Row>> ChangesBetween(const std::vector<Row>& stored, const std::vector<Row>& fresh,
                                                 Same same, SamePlace samePlace)
{
    for (std::size_t i = 0; i < stored.size(); ++i)
        for (std::size_t k = i + 1; k < stored.size(); ++k)
            if (same(stored[i], stored[k]))
                return std::nullopt;
    std::vector<bool> taken(stored.size(), false);
    std::vector<int> match(fresh.size(), -1);
    // Equal rows first, then rows that kept their place.
    const auto pair = [&](auto alike) {
        for (std::size_t j = 0; j < fresh.size(); ++j)
            for (std::size_t i = 0; match[j] < 0 && i < stored.size(); ++i)
                if (!taken[i] && alike(stored[i], fresh[j])) {
                    taken[i] = true;
                    match[j] = static_cast<int>(i);
                }
    };
    pair(same);
    pair(samePlace);
    // Kept rows keep their stored order and new ones are written after them: the typed
    // order must be that one.
    int last = -1;
    bool adding = false;
    for (int m : match) {
        if (m >= 0 && (adding || m < last))
            return std::nullopt;
        adding = adding || m < 0;
        last = m >= 0 ? m : last;
    }
    RowSetChanges<Row> changes;
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (!taken[i])
            changes.deleted.push_back(stored[i]);
    for (std::size_t j = 0; j < fresh.size(); ++j) {
        if (match[j] < 0)
            changes.added.push_back(fresh[j]);
        else if (!same(stored[match[j]], fresh[j]))
            changes.updated.emplace_back(stored[match[j]], fresh[j]);
    }
    return changes;
}

} // namespace quorin

#pragma once
// What turns a test's stored points into the record's with the fewest writes, so that
// the change history holds only what differs: points that stay are left alone, a point
// whose symbol stays in its place is updated, the rest are deleted or added.

#include "audiograms/record/CAudPoint.h"

#include <optional>
#include <utility>
#include <vector>

namespace quorin {

struct PointChanges {
    std::vector<CAudPoint> deleted;                       // stored points that go
    std::vector<std::pair<CAudPoint, CAudPoint>> updated; // stored, then as it becomes
    std::vector<CAudPoint> added;                         // written after the others
};

// Nothing when only writing the whole set again keeps the stored order (the order the
// chart draws in) equal to the record's, or when two stored points are equal in every
// value and so cannot be told apart by a statement.
std::optional<PointChanges> ChangesBetween(const std::vector<CAudPoint>& stored, const std::vector<CAudPoint>& fresh);

} // namespace quorin

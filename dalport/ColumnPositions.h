#pragma once
// The column positions of a result set by name, found without regard to case as the
// Fields collection finds them; where two columns share a name the first one wins.
// Made once per result set, so that reading a field is one hash probe rather than a
// case-folding walk over every column name.

#include <string>
#include <string_view>
#include <vector>

namespace dalport {

class ColumnPositions {
public:
    explicit ColumnPositions(std::vector<std::string> names);

    // The position of the first column of that name, -1 when there is none.
    int find(std::string_view name) const;

private:
    std::vector<std::string> m_names;
    std::vector<int> m_slots; // open addressing over folded-name hashes; -1 is empty
};

} // namespace dalport

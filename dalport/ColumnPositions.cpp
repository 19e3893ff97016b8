#include "dalport/ColumnPositions.h"

#include <cstdint>

namespace dalport {

namespace {

// Column names are ASCII; folding only A-Z keeps the match independent of the locale.
inline unsigned char fold(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

// Length and three letters tell a result's column names apart well enough; the probe
// compares the whole name anyway.
std::uint32_t foldedHash(std::string_view s)
{
    if (s.empty())
        return 0;
    const std::uint32_t n = static_cast<std::uint32_t>(s.size());
    return n * 2654435761u ^ fold(s.front()) * 40503u ^ fold(s[s.size() / 2]) * 7919u ^ fold(s.back());
}

bool equalFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

} // namespace

ColumnPositions::ColumnPositions(std::vector<std::string> names) : m_names(std::move(names))
{
    std::size_t size = 8;
    while (size < m_names.size() * 2)
        size *= 2;
    m_slots.assign(size, -1);
    const std::size_t mask = size - 1;
    for (std::size_t column = 0; column < m_names.size(); ++column) {
        std::size_t slot = foldedHash(m_names[column]) & mask;
        bool taken = false;
        while (m_slots[slot] >= 0) {
            // A later column of the same name never hides the first.
            if (equalFolded(m_names[static_cast<std::size_t>(m_slots[slot])], m_names[column])) {
                taken = true;
                break;
            }
            slot = (slot + 1) & mask;
        }
        if (!taken)
            m_slots[slot] = static_cast<int>(column);
    }
}

int ColumnPositions::find(std::string_view name) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = foldedHash(name) & mask; m_slots[slot] >= 0; slot = (slot + 1) & mask) {
        const int column = m_slots[slot];
        if (equalFolded(m_names[static_cast<std::size_t>(column)], name))
            return column;
    }
    return -1;
}

} // namespace dalport

#pragma once
// A connection's translations by statement shape: a bounded cache, the least recently
// used shape leaving first. A shape holds a few variants, one for each set of values of
// the literals its translation keeps written (TOP 10 and TOP 20 are two variants of one
// shape); a text finds the variant whose written literals it repeats.

#include "dalport/DalportExport.h"
#include "dalport/embedded/LiteralLifter.h"
#include "dalport/embedded/Plan.h"

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace dalport::embedded {

class PlanCache {
public:
    static constexpr std::size_t kCapacity = 256;       // variants, over all shapes
    static constexpr std::size_t kVariantsPerShape = 8;

    explicit PlanCache(std::size_t capacity = kCapacity);
    ~PlanCache();
    PlanCache(const PlanCache&) = delete;
    PlanCache& operator=(const PlanCache&) = delete;

    // The plan of the text's shape and written literals; null when there is none.
    std::shared_ptr<const Plan> find(const LiftedText& text);
    // Keeps `plan`, translated from `text`; `written` are the literals it keeps written.
    void insert(const LiftedText& text, const std::vector<int>& written, std::shared_ptr<const Plan> plan);
    void clear();

    std::size_t size() const { return m_entries.size(); }
    // What the kept shapes and plans take, roughly: their texts and nodes.
    std::size_t bytes() const { return m_bytes; }

private:
    struct Entry {
        std::string shape;
        std::vector<std::pair<int, std::string>> written; // literal place, its text
        std::shared_ptr<const Plan> plan;
        std::size_t bytes = 0;
    };
    using Entries = std::list<Entry>; // most recently used first

    void erase(Entries::iterator it);

    std::size_t m_capacity;
    std::size_t m_bytes = 0;
    Entries m_entries;
    std::unordered_map<std::string, std::vector<Entries::iterator>> m_byShape;
};

// What the plan caches of every open connection of the process hold, for the benchmarks.
struct PlanCacheFigures {
    std::size_t variants = 0;
    std::size_t bytes = 0;
};
DALPORT_EXPORT PlanCacheFigures planCacheFigures();

} // namespace dalport::embedded

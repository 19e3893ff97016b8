#include "dalport/embedded/PlanCache.h"

#include <algorithm>
#include <atomic>

namespace dalport::embedded {

namespace {

std::atomic<std::size_t> g_variants{0};
std::atomic<std::size_t> g_bytes{0};

std::size_t planBytes(const Plan& plan)
{
    std::size_t n = sizeof(Plan) + plan.sql.capacity() + plan.name.capacity()
        + plan.literals.capacity() * sizeof(LiteralUse) + plan.arguments.capacity() * sizeof(ExecArgument);
    if (plan.then)
        n += planBytes(*plan.then);
    for (const auto& part : plan.parts)
        n += planBytes(*part);
    return n;
}

} // namespace

PlanCache::PlanCache(std::size_t capacity) : m_capacity(std::max<std::size_t>(capacity, 1)) {}

PlanCache::~PlanCache() { clear(); }

std::shared_ptr<const Plan> PlanCache::find(const LiftedText& text)
{
    const auto shape = m_byShape.find(text.shape);
    if (shape == m_byShape.end())
        return nullptr;
    for (const Entries::iterator& it : shape->second) {
        const bool same = std::all_of(it->written.begin(), it->written.end(), [&](const auto& w) {
            return static_cast<std::size_t>(w.first) < text.literals.size()
                && text.literals[static_cast<std::size_t>(w.first)].text == w.second;
        });
        if (!same)
            continue;
        m_entries.splice(m_entries.begin(), m_entries, it);
        return it->plan;
    }
    return nullptr;
}

void PlanCache::insert(const LiftedText& text, const std::vector<int>& written, std::shared_ptr<const Plan> plan)
{
    Entry entry;
    entry.shape = text.shape;
    for (int w : written) {
        if (w < 0 || static_cast<std::size_t>(w) >= text.literals.size())
            return; // a literal the text does not have: nothing to match it by
        entry.written.emplace_back(w, text.literals[static_cast<std::size_t>(w)].text);
    }
    std::sort(entry.written.begin(), entry.written.end());
    entry.written.erase(std::unique(entry.written.begin(), entry.written.end()), entry.written.end());
    entry.plan = std::move(plan);
    entry.bytes = sizeof(Entry) + 2 * entry.shape.capacity() + planBytes(*entry.plan);
    for (const auto& w : entry.written)
        entry.bytes += sizeof(w) + w.second.capacity();

    auto& variants = m_byShape[text.shape];
    if (variants.size() >= kVariantsPerShape) {
        const auto oldest = std::max_element(variants.begin(), variants.end(), [&](auto a, auto b) {
            return std::distance(m_entries.begin(), a) < std::distance(m_entries.begin(), b);
        });
        erase(*oldest);
    }
    if (m_entries.size() >= m_capacity)
        erase(std::prev(m_entries.end()));
    m_bytes += entry.bytes;
    g_bytes += entry.bytes;
    ++g_variants;
    m_entries.push_front(std::move(entry));
    m_byShape[text.shape].push_back(m_entries.begin());
}

void PlanCache::erase(Entries::iterator it)
{
    auto shape = m_byShape.find(it->shape);
    if (shape != m_byShape.end()) {
        auto& variants = shape->second;
        variants.erase(std::remove(variants.begin(), variants.end(), it), variants.end());
        if (variants.empty())
            m_byShape.erase(shape);
    }
    m_bytes -= it->bytes;
    g_bytes -= it->bytes;
    --g_variants;
    m_entries.erase(it);
}

void PlanCache::clear()
{
    while (!m_entries.empty())
        erase(m_entries.begin());
}

PlanCacheFigures planCacheFigures() { return {g_variants.load(), g_bytes.load()}; }

} // namespace dalport::embedded

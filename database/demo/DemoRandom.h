#pragma once
// The demo's random source. The standard distributions differ between library
// implementations, so the demo draws from mt19937 itself: one seed gives the same
// registry on every platform.

#include <cstdint>
#include <random>

namespace quorin::demo {

class DemoRandom {
public:
    explicit DemoRandom(std::uint32_t seed) : m_engine(seed) {}

    // A whole number in [low, high].
    int between(int low, int high)
    {
        const auto span = static_cast<std::uint64_t>(high - low) + 1;
        return low + static_cast<int>(m_engine() % span);
    }
    // True with the given chance in percent.
    bool percent(int chance) { return between(0, 99) < chance; }
    // One of the values, evenly.
    template <typename Container>
    const auto& pick(const Container& values)
    {
        return values[static_cast<std::size_t>(between(0, static_cast<int>(values.size()) - 1))];
    }
    // A real number in [low, high] with two decimals.
    double real(double low, double high) { return low + (high - low) * between(0, 10000) / 10000.0; }

private:
    std::mt19937 m_engine;
};

} // namespace quorin::demo

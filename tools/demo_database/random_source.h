#pragma once

#include <QtGlobal>

namespace tarvexio::demo {

// splitmix64: small, fast and the same on every compiler and library, so a seed names the
// same database everywhere.
class RandomSource {
public:
    explicit RandomSource(quint64 seed)
        : state_(seed)
    {}

    quint64 next()
    {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }

    // A whole number in [low, high].
    int between(int low, int high)
    {
        const auto span = static_cast<quint64>(high - low) + 1U;
        return low + static_cast<int>(next() % span);
    }

    // A number in [0, 1).
    double unit() { return double(next() >> 11U) * (1.0 / 9007199254740992.0); }

    bool chance(double probability) { return unit() < probability; }

    template <typename T, int N> const T& pick(const T (&items)[N])
    {
        return items[between(0, N - 1)];
    }

private:
    quint64 state_;
};

} // namespace tarvexio::demo

#pragma once

#include <array>
#include <cassert>
#include <cstddef>

namespace oruk {

// A fixed-size table indexed from 1, as every meridian, point and position table of the system is.
// Keeping the 1-based indexes of the formulas avoids off-by-one translation everywhere.
template <class T, std::size_t N> struct OneBased {
    std::array<T, N> items{};

    constexpr T& operator[](int i) {
        assert(i >= 1 && i <= static_cast<int>(N));
        return items[static_cast<std::size_t>(i - 1)];
    }
    constexpr const T& operator[](int i) const {
        assert(i >= 1 && i <= static_cast<int>(N));
        return items[static_cast<std::size_t>(i - 1)];
    }
    static constexpr int size() { return static_cast<int>(N); }
    constexpr auto begin() { return items.begin(); }
    constexpr auto end() { return items.end(); }
    constexpr auto begin() const { return items.begin(); }
    constexpr auto end() const { return items.end(); }
    constexpr void fill(const T& v) { items.fill(v); }
    friend constexpr bool operator==(const OneBased&, const OneBased&) = default;
};

} // namespace oruk

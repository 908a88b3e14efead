#pragma once
// Sorting routines shared by the tool windows.
//
//  BubbleSortArray(a)   a sorted (ascending) copy of a; a is unchanged. Only strictly
//                       smaller neighbours move, so equal elements keep their order.
//                       Gives no value (std::nullopt) when the elements cannot be
//                       compared (a NaN among doubles, or a comparison that throws).
//  QuickSortVariant(a, lo, hi)
//                       sorts a[lo..hi] (inclusive, 0-based) ascending in place by a
//                       non-recursive quicksort: the middle element of each part is the
//                       pivot, the larger part is deferred and the smaller sorted first.
//                       Not stable.
//  QuickSortWithIndex(keys, companion, lo, hi)
//                       the same on keys; every exchange is made at the same positions
//                       of companion, so each companion element stays with its key.
// Index ranges outside the vectors throw trelvik::Error.
#include "core/error.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace trelvik {

template <class T>
std::optional<std::vector<T>> BubbleSortArray(const std::vector<T>& a) {
    if constexpr (std::is_floating_point_v<T>) {
        for (const T& v : a)
            if (std::isnan(v)) return std::nullopt;
    }
    try {
        std::vector<T> s(a);
        if (s.size() < 2) return s;
        bool exchanged = true;
        while (exchanged) {
            exchanged = false;
            for (std::size_t i = s.size() - 1; i-- > 0;) {
                if (s[i + 1] < s[i]) {
                    std::swap(s[i], s[i + 1]);
                    exchanged = true;
                }
            }
        }
        return s;
    } catch (...) {
        return std::nullopt;
    }
}

namespace detail {

inline void checkRange(std::size_t size, long lo, long hi, const char* what) {
    if (lo < hi && (lo < 0 || static_cast<std::size_t>(hi) >= size))
        throw Error(std::string(what) + ": index range " + std::to_string(lo) + " to " + std::to_string(hi) +
                    " lies outside the " + std::to_string(size) + " elements");
}

// The quicksort itself; swap(i, j) is told of every exchange of a[i] and a[j].
template <class T, class Swap>
void quickSort(std::vector<T>& a, long lo, long hi, Swap&& swap) {
    if (hi <= lo) return;
    // Deferring the larger part bounds the pending ranges by log2 of the length.
    long stackF[64], stackL[64];
    int t = 0;
    stackF[0] = lo;
    stackL[0] = hi;
    while (t >= 0) {
        long f = stackF[t], l = stackL[t];
        while (l > f) {
            const long m = f + (l - f) / 2;
            swap(f, m);
            long i = f + 1, j = l;
            for (;;) {
                while (i < j && a[i] < a[f]) ++i;
                while (j >= i && a[f] < a[j]) --j;
                if (i >= j) break;
                swap(i, j);
                --j;
                ++i;
            }
            swap(f, j);
            if ((j - f) > (l - j)) {
                if (j - 1 > f) {
                    stackF[t] = f;
                    stackL[t] = j - 1;
                    ++t;
                }
                f = j + 1;
            } else {
                if (j + 1 < l) {
                    stackF[t] = j + 1;
                    stackL[t] = l;
                    ++t;
                }
                l = j - 1;
            }
        }
        --t;
    }
}

}  // namespace detail

template <class T>
void QuickSortVariant(std::vector<T>& a, long lo, long hi) {
    detail::checkRange(a.size(), lo, hi, "QuickSortVariant");
    detail::quickSort(a, lo, hi, [&a](long i, long j) {
        if (i != j) std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(j)]);
    });
}

template <class K, class C>
void QuickSortWithIndex(std::vector<K>& keys, std::vector<C>& companion, long lo, long hi) {
    detail::checkRange(keys.size(), lo, hi, "QuickSortWithIndex");
    detail::checkRange(companion.size(), lo, hi, "QuickSortWithIndex");
    detail::quickSort(keys, lo, hi, [&keys, &companion](long i, long j) {
        if (i == j) return;
        std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
        using std::swap;
        swap(companion[static_cast<std::size_t>(i)], companion[static_cast<std::size_t>(j)]);
    });
}

} // namespace trelvik

#include "core/sorting.h"

#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using namespace trelvik;

TEST(Sorting, BubbleSortCopies) {
    const std::vector<double> a{3, 1, 2};
    auto s = BubbleSortArray(a);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(*s, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(a, (std::vector<double>{3, 1, 2}));
    EXPECT_FALSE(BubbleSortArray(std::vector<double>{1, NAN, 0}).has_value());
    EXPECT_TRUE(BubbleSortArray(std::vector<double>{})->empty());
    // Stable: equal keys keep their order.
    struct Item {
        int key;
        char tag;
        bool operator<(const Item& o) const { return key < o.key; }
    };
    auto items = BubbleSortArray(std::vector<Item>{{2, 'a'}, {1, 'b'}, {2, 'c'}, {1, 'd'}});
    ASSERT_TRUE(items.has_value());
    std::string tags;
    for (const Item& i : *items) tags += i.tag;
    EXPECT_EQ(tags, "bdac");
}

TEST(Sorting, QuickSortAgainstStdSort) {
    std::mt19937 gen(11);
    for (int trial = 0; trial < 300; ++trial) {
        const int n = static_cast<int>(gen() % 200) + 1;
        std::vector<double> keys(static_cast<std::size_t>(n));
        for (double& k : keys) k = static_cast<double>(gen() % (trial % 3 == 0 ? 5 : 1000));
        std::vector<int> idx(keys.size());
        for (int i = 0; i < n; ++i) idx[static_cast<std::size_t>(i)] = i;
        const std::vector<double> original = keys;
        // Sort only an inner range; the ends must stay untouched.
        const long lo = n > 4 ? 2 : 0, hi = n > 4 ? n - 3 : n - 1;
        QuickSortWithIndex(keys, idx, lo, hi);
        std::vector<double> expect = original;
        std::sort(expect.begin() + lo, expect.begin() + hi + 1);
        ASSERT_EQ(keys, expect);
        for (int i = 0; i < n; ++i) ASSERT_EQ(original[static_cast<std::size_t>(idx[static_cast<std::size_t>(i)])], keys[static_cast<std::size_t>(i)]);
        std::vector<double> v = original;
        QuickSortVariant(v, 0, n - 1);
        std::vector<double> all = original;
        std::sort(all.begin(), all.end());
        ASSERT_EQ(v, all);
    }
    // Sorted, reversed and constant inputs of some size.
    std::vector<double> big(100000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<double>(big.size() - i);
    QuickSortVariant(big, 0, static_cast<long>(big.size()) - 1);
    EXPECT_TRUE(std::is_sorted(big.begin(), big.end()));
    std::vector<double> same(50000, 1.0);
    QuickSortVariant(same, 0, 49999);
    EXPECT_EQ(same.front(), 1.0);
}

TEST(Sorting, ExchangeSequenceFollowsMiddlePivot) {
    // 3 1 2: the middle element 1 is moved to the front first, the partition then
    // needs no exchange and the pivot stays at 0; the right part 3 2 swaps its ends.
    std::vector<double> keys{3, 1, 2};
    std::vector<char> tags{'a', 'b', 'c'};
    QuickSortWithIndex(keys, tags, 0, 2);
    EXPECT_EQ(keys, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(tags, (std::vector<char>{'b', 'c', 'a'}));
    std::vector<double> bad{1, 2};
    EXPECT_THROW(QuickSortVariant(bad, 0, 2), Error);
}

TEST(Random, UniformAndAdvancedByClock) {
    SeedRandom(42);
    double sum = 0;
    for (int i = 0; i < 100000; ++i) {
        const double r = Rnd();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        sum += r;
    }
    EXPECT_NEAR(sum / 100000, 0.5, 0.01);
    // At second 0 nothing beyond the first draw is taken.
    SeedRandom(7);
    EXPECT_EQ(ReseedRandomFromClock(0, 30, 15), 0);
    const double afterOne = Rnd();
    SeedRandom(7);
    (void)Rnd();
    EXPECT_EQ(Rnd(), afterOne);
    // Late in a long month the clock asks for many draws: exactly n + 1 are taken.
    SeedRandom(9);
    const int n = ReseedRandomFromClock(59, 59, 31);
    EXPECT_GT(n, 0);
    EXPECT_LE(n, 1000);
    const double next = Rnd();
    SeedRandom(9);
    for (int i = 0; i <= n; ++i) (void)Rnd();
    EXPECT_EQ(Rnd(), next);
    const int now = ReseedRandomFromClock();
    EXPECT_GE(now, 0);
    EXPECT_LE(now, 1000);
}

#include "core/random.h"

#include "core/textform.h"

#include <ctime>
#include <random>

namespace trelvik {

namespace {
std::mt19937_64& generator() {
    static std::mt19937_64 gen(5489u);
    return gen;
}
}  // namespace

double Rnd() {
    // 53 random bits scaled into [0, 1).
    return static_cast<double>(generator()() >> 11) * 0x1.0p-53;
}

void SeedRandom(std::uint64_t seed) { generator().seed(seed); }

int ReseedRandomFromClock(int second, int minute, int dayOfMonth) {
    const double r = Rnd();
    const double scaled = text::Round(r * second * minute * dayOfMonth / 108000.0, 3);
    const int n = static_cast<int>(text::Round(scaled * 1000.0));
    for (int i = 0; i < n; ++i) (void)Rnd();
    return n;
}

int ReseedRandomFromClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return ReseedRandomFromClock(local.tm_sec > 59 ? 59 : local.tm_sec, local.tm_min, local.tm_mday);
}

} // namespace trelvik

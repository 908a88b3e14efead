// Formatting and reading a million numbers through the system's number forms: the
// volume of one large grid's XYZ text or a scanner point cloud.
#include "core/textform.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kCount = 1'000'000;

const std::vector<double>& values() {
    static const std::vector<double> v = [] {
        std::mt19937_64 gen(3);
        std::uniform_real_distribution<double> d(-500.0, 500.0);
        std::vector<double> out(kCount);
        for (double& x : out) x = d(gen);
        return out;
    }();
    return v;
}

// Three numbers a line, comma-separated, as point files hold them.
const std::string& pointText() {
    static const std::string text = [] {
        std::string t;
        const auto& v = values();
        for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
            t += trelvik::text::CStr(v[i]);
            t += ',';
            t += trelvik::text::CStr(v[i + 1]);
            t += ',';
            t += trelvik::text::CStr(v[i + 2]);
            t += "\r\n";
        }
        return t;
    }();
    return text;
}

void BM_CStr1M(benchmark::State& state) {
    const auto& v = values();
    for (auto _ : state) {
        std::size_t total = 0;
        for (double x : v) total += trelvik::text::CStr(x).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations() * kCount));
}
BENCHMARK(BM_CStr1M)->Unit(benchmark::kMillisecond);

void BM_PrintLine1M(benchmark::State& state) {
    const auto& v = values();
    for (auto _ : state) {
        std::size_t total = 0;
        for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
            trelvik::text::PrintLine p;
            p.num(v[i]).num(v[i + 1]);
            total += p.str().size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations() * kCount));
}
BENCHMARK(BM_PrintLine1M)->Unit(benchmark::kMillisecond);

void BM_Val1M(benchmark::State& state) {
    std::vector<std::string> texts;
    texts.reserve(kCount);
    for (double x : values()) texts.push_back(trelvik::text::CStr(x));
    for (auto _ : state) {
        double sum = 0;
        for (const auto& t : texts) sum += trelvik::text::Val(t);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations() * kCount));
}
BENCHMARK(BM_Val1M)->Unit(benchmark::kMillisecond);

void BM_NumbersPerLine1M(benchmark::State& state) {
    const std::string& text = pointText();
    for (auto _ : state) {
        double sum = 0;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            for (double x : trelvik::text::numbers(std::string_view(text).substr(start, end - start))) sum += x;
            start = end + 1;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations() * (kCount / 3 * 3)));
    state.SetBytesProcessed(static_cast<long long>(state.iterations() * text.size()));
}
BENCHMARK(BM_NumbersPerLine1M)->Unit(benchmark::kMillisecond);

void BM_Round1M(benchmark::State& state) {
    const auto& v = values();
    for (auto _ : state) {
        double sum = 0;
        for (double x : v) sum += trelvik::text::Round(x, 6);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations() * kCount));
}
BENCHMARK(BM_Round1M)->Unit(benchmark::kMillisecond);

void BM_Format1M(benchmark::State& state) {
    const auto& v = values();
    for (auto _ : state) {
        std::size_t total = 0;
        for (double x : v) total += trelvik::text::Format(x, "0.0##").size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations() * kCount));
}
BENCHMARK(BM_Format1M)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

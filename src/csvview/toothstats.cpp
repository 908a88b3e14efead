#include "csvview/toothstats.h"

#include "core/fileroutines.h"
#include "core/sorting.h"
#include "core/textform.h"

#include <cmath>
#include <limits>

namespace trelvik::csvview {

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

double squareArea(double z00, double z10, double z01, double z11) {
    const double a1 = 0.5 * std::sqrt(1 + (z10 - z00) * (z10 - z00) + (z01 - z00) * (z01 - z00)) +
                      0.5 * std::sqrt(1 + (z01 - z11) * (z01 - z11) + (z10 - z11) * (z10 - z11));
    const double a2 = 0.5 * std::sqrt(1 + (z00 - z10) * (z00 - z10) + (z11 - z10) * (z11 - z10)) +
                      0.5 * std::sqrt(1 + (z00 - z01) * (z00 - z01) + (z11 - z01) * (z11 - z01));
    return (a1 + a2) / 2;
}

void field(std::string& line, double v) {
    if (!std::isnan(v)) line += text::CStr(v);
    line += ',';
}

} // namespace

bool allowSaVolRatTick(bool sa, bool vol) { return sa && vol; }

ToothSurface toothSurface(const LatticeGrid& g, double thr, bool withSa) {
    ToothSurface s;
    for (int j = 1; j <= g.rows; ++j)
        for (int i = 1; i <= g.cols; ++i) {
            const double z00 = g.z(i, j);
            if (withSa && i < g.cols && j < g.rows) {
                const double c[4] = {z00, g.z(i + 1, j), g.z(i, j + 1), g.z(i + 1, j + 1)};
                bool anyVoid = false, anyAbove = false;
                for (double z : c) {
                    if (isVoid(z)) anyVoid = true;
                    else if (!(z < thr)) anyAbove = true;
                }
                if (!anyAbove && !(isVoid(c[0]) && isVoid(c[1]) && isVoid(c[2]) && isVoid(c[3]))) continue;
                if (!anyVoid) s.sa += squareArea(c[0], c[1], c[2], c[3]);
            }
            if (!isVoid(z00)) s.vol += z00;
        }
    return s;
}

void CalcStatsAllTeeth(const ToothStatsOptions& opts, const MultiToothStore& store, const std::string& outPath,
                       ToothStatsTable& table, Progress& progress) {
    const std::size_t n = static_cast<std::size_t>(store.toothCount);
    double thr = 0;
    if (opts.threshold == ThresholdRule::Abs) thr = text::Val(opts.absText);
    else if (opts.threshold == ThresholdRule::Prop) thr = text::Val(opts.propText);
    // A ratio needs both sums, measured even when their own columns are not ticked.
    const bool needSa = opts.sa || opts.saVolRat;
    const bool needVol = opts.vol || opts.saVolRat;

    AtomicTextWriter out(outPath);
    std::string line = "\"ToothNo\",";
    if (opts.maxHt) line += "\"MaxHt\",";
    if (opts.sa) line += "\"TotalSA\",";
    if (opts.vol) line += "\"TotalVol\",";
    if (opts.saVolRat) line += "\"TotalSAVolRat\",";
    out.line(line);

    ToothStatsTable t;
    t.generation = store.generation;
    t.hasMaxHt = opts.maxHt;
    t.hasSA = opts.sa;
    t.hasVol = opts.vol;
    t.hasSAVolRat = opts.saVolRat;
    // Measures not ticked keep their earlier values, as long as they belong to these teeth.
    if (table.generation == store.generation && table.available) {
        if (!opts.maxHt) { t.MaxHt = table.MaxHt; t.hasMaxHt = table.hasMaxHt; }
        if (!opts.sa) { t.TotalSA = table.TotalSA; t.hasSA = table.hasSA; }
        if (!opts.vol) { t.TotalVol = table.TotalVol; t.hasVol = table.hasVol; }
        if (!opts.saVolRat) { t.TotalSAVolRat = table.TotalSAVolRat; t.hasSAVolRat = table.hasSAVolRat; }
    }
    if (opts.maxHt) t.MaxHt.assign(n, kNoValue);
    if (opts.sa) t.TotalSA.assign(n, kNoValue);
    if (opts.vol) t.TotalVol.assign(n, kNoValue);
    if (opts.saVolRat) t.TotalSAVolRat.assign(n, kNoValue);

    for (std::size_t k = 0; k < n; ++k) {
        const long tooth = static_cast<long>(k) + 1;
        ToothSurface s;
        if (needSa || needVol) s = toothSurface(store.grids[k], thr, needSa);
        line = text::WriteLine().text(std::to_string(tooth)).str() + ",";
        if (opts.maxHt) {
            t.MaxHt[k] = store.zmax[k];
            field(line, t.MaxHt[k]);
        }
        if (opts.sa) {
            t.TotalSA[k] = s.sa;
            field(line, s.sa);
        }
        if (opts.vol) {
            t.TotalVol[k] = s.vol;
            field(line, s.vol);
        }
        if (opts.saVolRat) {
            t.TotalSAVolRat[k] = s.vol != 0 ? s.sa / s.vol : kNoValue;
            field(line, t.TotalSAVolRat[k]);
        }
        out.line(line);
        if ((tooth & 255) == 0) progress.step(tooth, static_cast<long long>(n));
    }
    out.commit();
    t.available = true;
    table = std::move(t);
}

ToothSortResult SortTeeth(const ToothSortOptions& opts, ToothStatsTable& table, MultiToothStore& store, Prompt& prompt) {
    ToothSortResult res;
    if (!opts.sortBox || !table.available) return res;
    const std::vector<double>* keys = nullptr;
    bool measured = false;
    switch (opts.key) {
    case ToothSortKey::MaxHt: keys = &table.MaxHt; measured = table.hasMaxHt; break;
    case ToothSortKey::SA: keys = &table.TotalSA; measured = table.hasSA; break;
    case ToothSortKey::Vol: keys = &table.TotalVol; measured = table.hasVol; break;
    case ToothSortKey::SAVolRat: keys = &table.TotalSAVolRat; measured = table.hasSAVolRat; break;
    case ToothSortKey::LaPlac:
    case ToothSortKey::None: return res;
    }
    const long n = store.toothCount;
    if (!measured || table.generation != store.generation || static_cast<long>(keys->size()) != n) {
        prompt.message("Values", "Calculate this measure for these teeth with \"All teeth\" before sorting by it");
        return res;
    }
    std::vector<double> k = *keys;
    // Teeth without a value (a ratio over a volume of 0) go last.
    for (double& v : k)
        if (std::isnan(v)) v = std::numeric_limits<double>::infinity();
    res.index.resize(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) res.index[static_cast<std::size_t>(i)] = i + 1;
    if (n > 1) QuickSortWithIndex(k, res.index, 0, n - 1);
    res.sorted = true;
    if (opts.showSorted) {
        std::vector<long> order(res.index.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = res.index[i] - 1;
        store.reorder(order);
        auto reorder = [&order](std::vector<double>& v) {
            if (v.size() != order.size()) return;
            std::vector<double> out(order.size());
            for (std::size_t i = 0; i < order.size(); ++i) out[i] = v[static_cast<std::size_t>(order[i])];
            v = std::move(out);
        };
        reorder(table.MaxHt);
        reorder(table.TotalSA);
        reorder(table.TotalVol);
        reorder(table.TotalSAVolRat);
        res.storeReordered = true;
    }
    return res;
}

} // namespace trelvik::csvview

#include "pairs.h"

#include "electrode_layout.h"

#include <algorithm>
#include <cmath>

namespace qc {

namespace {

std::optional<ElectrodeKey> key(const std::optional<double> &position) {
    if (!position) return kRemote;
    if (!(std::fabs(*position) <= survey::kFarthestPosition)) return std::nullopt;
    return std::llround(*position * 1000.0);
}

std::optional<survey::Point> flat(const std::optional<double> &x) {
    if (!x) return std::nullopt;
    return survey::Point{.x = *x};
}

// A reading's place among the pairs: its electrodes sorted within each dipole, the dipoles in
// the order that puts the smaller first, and which of the two orders it was measured in.
struct Entry {
    std::array<ElectrodeKey, 4> electrodes{};
    bool reciprocal_order = false;
    int sign = 1; // -1 when exactly one dipole's order was swapped by the sorting
    std::size_t index = 0;
};

Entry entry(const std::array<ElectrodeKey, 4> &k, std::size_t index) {
    const bool current_swapped = k[0] > k[1], potential_swapped = k[2] > k[3];
    const std::array<ElectrodeKey, 2> current{std::min(k[0], k[1]), std::max(k[0], k[1])};
    const std::array<ElectrodeKey, 2> potential{std::min(k[2], k[3]), std::max(k[2], k[3])};
    Entry e{.reciprocal_order = potential < current,
            .sign = current_swapped != potential_swapped ? -1 : 1,
            .index = index};
    const auto &low = e.reciprocal_order ? potential : current;
    const auto &high = e.reciprocal_order ? current : potential;
    e.electrodes = {low[0], low[1], high[0], high[1]};
    return e;
}

Pair pair(PairKind kind, const Entry &one, const Entry &two,
          const std::vector<survey::IpReading> &readings) {
    const survey::IpReading &r1 = readings[one.index], &r2 = readings[two.index];
    Pair p{.kind = kind, .first = one.index, .second = two.index};
    const std::optional<double> t1 = transfer_resistance(r1), t2 = transfer_resistance(r2);
    if (t1 && t2) {
        p.value1 = *t1;
        p.value2 = one.sign * two.sign * *t2;
    } else {
        p.on_ro = true;
        p.value1 = r1.ro;
        p.value2 = r2.ro;
    }
    return p;
}

} // namespace

std::optional<std::array<ElectrodeKey, 4>> electrode_keys(const survey::IpReading &reading) {
    const survey::ElectrodeLayout layout = survey::electrode_layout(reading);
    std::array<ElectrodeKey, 4> keys{};
    std::size_t i = 0;
    for (const auto &position : {layout.a, layout.b, layout.m, layout.n}) {
        const std::optional<ElectrodeKey> k = key(position);
        if (!k) return std::nullopt;
        keys[i++] = *k;
    }
    return keys;
}

std::optional<double> transfer_resistance(const survey::IpReading &reading) {
    const double r = double{reading.vp} / double{reading.itx};
    if (!std::isfinite(reading.vp) || !std::isfinite(reading.itx) || reading.itx == 0 ||
        !std::isfinite(r))
        return std::nullopt;
    return r;
}

bool pairable(const survey::IpReading &reading) {
    if (!std::isfinite(reading.ro) || !(reading.ro > 0)) return false;
    if (!electrode_keys(reading)) return false;
    const survey::ElectrodeLayout e = survey::electrode_layout(reading);
    return survey::geometric_factor(flat(e.a), flat(e.b), flat(e.m), flat(e.n)).has_value();
}

double Pair::mean() const {
    return 0.5 * (std::fabs(value1) + std::fabs(value2));
}

double Pair::relative_error() const {
    return std::fabs(error()) / mean();
}

std::vector<Pair> match_pairs(const std::vector<survey::IpReading> &readings) {
    std::vector<Entry> entries;
    entries.reserve(readings.size());
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (!pairable(readings[i])) continue;
        entries.push_back(entry(*electrode_keys(readings[i]), i));
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &x, const Entry &y) {
        return x.electrodes != y.electrodes ? x.electrodes < y.electrodes : x.index < y.index;
    });

    std::vector<Pair> pairs;
    std::vector<const Entry *> order[2];
    for (std::size_t start = 0; start < entries.size();) {
        std::size_t end = start + 1;
        while (end < entries.size() && entries[end].electrodes == entries[start].electrodes)
            ++end;
        if (end - start > 1) {
            order[0].clear();
            order[1].clear();
            for (std::size_t i = start; i < end; ++i)
                order[entries[i].reciprocal_order ? 1 : 0].push_back(&entries[i]);
            const std::size_t both = std::min(order[0].size(), order[1].size());
            for (std::size_t k = 0; k < both; ++k) {
                const Entry *one = order[0][k], *two = order[1][k];
                if (two->index < one->index) std::swap(one, two);
                pairs.push_back(pair(PairKind::Reciprocal, *one, *two, readings));
            }
            const auto &rest = order[0].size() > both ? order[0] : order[1];
            for (std::size_t k = both; k + 1 < rest.size(); k += 2)
                pairs.push_back(pair(PairKind::Repeat, *rest[k], *rest[k + 1], readings));
        }
        start = end;
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const Pair &x, const Pair &y) { return x.first < y.first; });
    return pairs;
}

} // namespace qc

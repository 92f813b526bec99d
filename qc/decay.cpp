#include "decay.h"

#include "line_fit.h"
#include "pairs.h"

#include <algorithm>
#include <cmath>

namespace qc {

namespace {

// A law whose b lies this close to 0 does not fall: float noise must not pass a flat decay.
constexpr double kFlat = 1e-9;
// A decay within 1 % of its master curve is never an outlier, however alike the others are.
constexpr double kLeastShare = 0.01;

// The rms misfit of a law to the windows it was fitted to, and to the others.
double misfit(const DecayLaw &law, const std::vector<float> &m) {
    double sum = 0;
    for (std::size_t k = 0; k < m.size(); ++k) {
        const double d = law.at(static_cast<double>(k + 1)) - m[k];
        sum += d * d;
    }
    return std::sqrt(sum / static_cast<double>(m.size()));
}

// The current dipole of a reading, its electrodes sorted; empty when one is out of reach.
std::optional<std::array<ElectrodeKey, 2>> current_dipole(const survey::IpReading &reading) {
    const std::optional<std::array<ElectrodeKey, 4>> keys = electrode_keys(reading);
    if (!keys) return std::nullopt;
    return std::array<ElectrodeKey, 2>{std::min((*keys)[0], (*keys)[1]),
                                       std::max((*keys)[0], (*keys)[1])};
}

struct Member {
    std::array<ElectrodeKey, 2> dipole{};
    std::size_t index = 0;
};

// The master curve of a dipole's members: their fits weighted by how well each fits its own
// decay.
void weighted_mean(const std::vector<survey::IpReading> &readings,
                   const std::vector<DecayCheck> &checks, const Member *begin, const Member *end,
                   std::vector<double> &master) {
    thread_local std::vector<double> weight;
    std::size_t windows = 0;
    weight.clear();
    for (const Member *g = begin; g != end; ++g) {
        const survey::IpReading &r = readings[g->index];
        const DecayLaw &law = *checks[g->index].law;
        const double floor = 1e-6 * std::fabs(law.at(1)) + 1e-12;
        weight.push_back(1.0 / std::max(misfit(law, r.m), floor));
        windows = std::max(windows, r.m.size());
    }
    master.assign(windows, 0.0);
    double total = 0;
    for (const Member *g = begin; g != end; ++g) {
        const DecayLaw &law = *checks[g->index].law;
        const double w = weight[static_cast<std::size_t>(g - begin)];
        for (std::size_t k = 0; k < windows; ++k)
            master[k] += w * law.at(static_cast<double>(k + 1));
        total += w;
    }
    for (double &value : master)
        value /= total;
}

} // namespace

double DecayLaw::at(double t) const {
    return a * std::pow(t, b);
}

std::optional<DecayLaw> fit_decay(const std::vector<float> &m) {
    thread_local std::vector<double> x, y;
    x.clear();
    y.clear();
    for (std::size_t k = 0; k < m.size(); ++k)
        if (m[k] > 0) {
            x.push_back(std::log(static_cast<double>(k + 1)));
            y.push_back(std::log(double{m[k]}));
        }
    const std::optional<Line> line = fit_line(x, y);
    if (!line) return std::nullopt;
    return DecayLaw{.a = std::exp(line->intercept), .b = line->slope};
}

DecayCheck check_decay(const std::vector<float> &m) {
    DecayCheck check;
    for (std::size_t k = 1; k < m.size(); ++k)
        if (m[k] > m[k - 1]) {
            check.rising_from = static_cast<int>(k);
            break;
        }
    if (!std::all_of(m.begin(), m.end(), [](float v) { return std::isfinite(v); })) return check;
    const auto positive = std::count_if(m.begin(), m.end(), [](float v) { return v > 0; });
    const bool negative = std::any_of(m.begin(), m.end(), [](float v) { return v < 0; });
    if (positive < 2) {
        check.not_positive = negative;
        return check;
    }
    check.law = fit_decay(m);
    check.not_falling = check.law && !(check.law->a > 0 && check.law->b < -kFlat);
    return check;
}

std::vector<DecayCheck> check_decays(const std::vector<survey::IpReading> &readings) {
    std::vector<DecayCheck> checks;
    checks.reserve(readings.size());
    std::vector<Member> members;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        checks.push_back(check_decay(readings[i].m));
        if (!checks.back().law || checks.back().misshapen()) continue;
        if (const auto dipole = current_dipole(readings[i]))
            members.push_back({.dipole = *dipole, .index = i});
    }
    std::stable_sort(members.begin(), members.end(),
                     [](const Member &x, const Member &y) { return x.dipole < y.dipole; });

    std::vector<double> master, shares;
    double sum = 0, sum2 = 0;
    for (std::size_t start = 0; start < members.size();) {
        std::size_t end = start + 1;
        while (end < members.size() && members[end].dipole == members[start].dipole)
            ++end;
        weighted_mean(readings, checks, members.data() + start, members.data() + end, master);
        for (std::size_t g = start; g < end; ++g) {
            const std::vector<float> &m = readings[members[g].index].m;
            double shift = 0, level = 0;
            for (std::size_t k = 0; k < m.size(); ++k) {
                shift += master[k] - m[k];
                level += master[k];
            }
            shift /= static_cast<double>(m.size());
            checks[members[g].index].master_shift = shift;
            sum += shift;
            sum2 += shift * shift;
            shares.push_back(level / static_cast<double>(m.size()));
        }
        start = end;
    }
    if (members.empty()) return checks;
    const auto n = static_cast<double>(members.size());
    const double mean = sum / n;
    const double spread = std::sqrt(std::max(0.0, sum2 / n - mean * mean));
    for (std::size_t g = 0; g < members.size(); ++g) {
        DecayCheck &check = checks[members[g].index];
        const double shift = std::fabs(*check.master_shift);
        check.off_master = shift > 2 * spread && shift > kLeastShare * std::fabs(shares[g]);
    }
    return checks;
}

std::vector<double> master_curve(const std::vector<survey::IpReading> &readings,
                                 const std::vector<DecayCheck> &checks, std::size_t index) {
    std::vector<double> master;
    const auto dipole = current_dipole(readings[index]);
    if (!dipole) return master;
    std::vector<Member> members;
    for (std::size_t i = 0; i < readings.size(); ++i)
        if (checks[i].law && !checks[i].misshapen() && current_dipole(readings[i]) == dipole)
            members.push_back({.dipole = *dipole, .index = i});
    if (!members.empty())
        weighted_mean(readings, checks, members.data(), members.data() + members.size(), master);
    return master;
}

} // namespace qc

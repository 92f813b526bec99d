// The shape of each reading's IP decay: the power law m(t) = a t^b fitted to its M channels, the
// tests of its shape, and how far it lies from its current dipole's master curve, after Flores
// Orozco et al. (2018, Geophysics 83(2) E75). t is the window number, 1 for the first window: the
// records give no window timing the decoder knows the meaning of.
#pragma once

#include "survey_model.h"

#include <optional>
#include <vector>

namespace qc {

struct DecayLaw { // m(t) = a t^b
    double a = 0, b = 0;
    double at(double t) const;
};

struct DecayCheck {
    std::optional<DecayLaw> law; // empty without M channels, with a channel not finite, all 0
    int rising_from = 0;         // K > 0: M rises from window K to K + 1 (the first such)
    bool not_positive = false;   // fewer than two windows above 0, some below
    bool not_falling = false;    // the law breaks a > 0, b < 0
    // The mean of master(t) - m(t) over the windows (mV/V); empty when not compared.
    std::optional<double> master_shift;
    bool off_master = false; // the shift is more than twice the profile's spread of shifts
    // Whether the decay fails a test of its shape alone; such decays take no part in master curves.
    bool misshapen() const { return rising_from > 0 || not_positive || not_falling; }
    // Whether the reading falls under the decay rule.
    bool flagged() const { return misshapen() || off_master; }
};

// The least-squares line through (ln t, ln m) over the windows whose M is above 0 (at least two),
// as the published decay-curve analysis fits. Empty when fewer than two windows are above 0.
std::optional<DecayLaw> fit_decay(const std::vector<float> &m);

// The tests of one decay on its own: rising, not positive, the law's signs.
DecayCheck check_decay(const std::vector<float> &m);

// The decays of one profile's readings, each on its own and then against its current dipole's
// master curve: the mean of the dipole's fitted curves (those that passed the tests above),
// weighted by 1 / the rms misfit of each fit. Each reading's shift K is the mean of
// master(t) - m(t) over its windows; a decay is off its master curve when |K| is more than twice
// the standard deviation of K over the profile, and more than 1 % of the master curve's mean.
std::vector<DecayCheck> check_decays(const std::vector<survey::IpReading> &readings);

// The master curve of reading index's current dipole at windows 1, 2, ...: as check_decays
// builds it from checks (its result). Empty when no reading of the dipole takes part.
std::vector<double> master_curve(const std::vector<survey::IpReading> &readings,
                                 const std::vector<DecayCheck> &checks, std::size_t index);

} // namespace qc

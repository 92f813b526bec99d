// The Res2DInv data file of one profile: four-electrode arrays in the general-array form (code 11),
// pole-dipole and pole-pole in the index-based forms (codes 6 and 2). Apparent resistivity in
// ohm m and, when every reading carries M channels, their mean as chargeability in mV/V. With
// errors, the error block (type 0: each error in the unit of its value) and each row's errors
// after its values: the resistivity's, then the chargeability's.
#pragma once

#include "profile_electrodes.h"
#include "profile_readings.h"
#include "text_out.h"

#include <string>

namespace exports {

void res2dinv_text(const std::string &title, const ReadingGroup &group,
                   const ProfileElectrodes &electrodes, TextOut &out,
                   const GroupErrors *errors = nullptr);

} // namespace exports

// The unified data format (".ohm") of one profile: the electrodes with their positions, then one
// row per reading with the electrode numbers (0 for a remote electrode), the apparent
// resistivity, the geometric factor, the resistance and, when every reading carries M channels,
// their mean as ip; the stacking standard deviation in a column of its own; with errors, each
// reading's relative error as err, and the chargeability's as iperr where every reading's is
// known.
#pragma once

#include "profile_electrodes.h"
#include "profile_readings.h"
#include "text_out.h"

#include <string>
#include <vector>

namespace exports {

// errors: of the group's readings, or null for no err column.
void ohm_text(const ReadingGroup &group, const ProfileElectrodes &electrodes, TextOut &out,
              const GroupErrors *errors = nullptr);

} // namespace exports

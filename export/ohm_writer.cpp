#include "ohm_writer.h"

#include "number_text.h"
#include "plot_geometry.h"

namespace exports {

namespace {

void number(std::string &out, double value, int decimals) {
    out += ' ';
    append_fixed(out, value, decimals);
}

} // namespace

std::string ohm_text(const ReadingGroup &group, const ProfileElectrodes &electrodes) {
    const bool with_ip = every_reading_has_chargeability(group.readings);
    const bool with_y = electrodes.has_cross_line();
    std::string out;
    out.reserve(group.readings.size() * 80 + electrodes.points().size() * 24 + 256);

    out += std::to_string(electrodes.points().size()) + "# Number of electrodes\n";
    out += with_y ? "# x y z\n" : "# x z\n";
    for (const Point &p : electrodes.points()) {
        append_fixed(out, p.x, 3);
        if (with_y) number(out, p.y, 3);
        number(out, p.z, 3);
        out += '\n';
    }
    // Comments may follow the count; the token line must come right before the data.
    out += std::to_string(group.readings.size()) + "# Number of data";
    if (with_ip) out += "; ip: chargeability in mV/V (mean of the M channels)";
    out += "; stdev: the receiver's stacking standard deviation\n";
    out += with_ip ? "# a b m n rhoa k r ip stdev\n" : "# a b m n rhoa k r stdev\n";

    for (std::size_t index = 0; index < group.readings.size(); ++index) {
        const survey::IpReading *r = group.readings[index];
        const std::array<int, 4> &n = electrodes.numbers(index);
        for (int number : n) {
            out += std::to_string(number);
            out += ' ';
        }
        // Selection guarantees a factor for the flat layout; topography rarely changes that.
        const double k = geometric_factor(electrodes.point(n[0]), electrodes.point(n[1]),
                                          electrodes.point(n[2]), electrodes.point(n[3]))
                             .value_or(0);
        append_fixed(out, r->ro, 3);
        out += ' ';
        append_significant(out, k, 6, 3);
        out += ' ';
        append_significant(out, k != 0 ? r->ro / k : 0, 6, 3);
        if (with_ip) number(out, survey::chargeability(*r, -1), 3);
        number(out, r->stdev, 3);
        out += '\n';
    }
    return out;
}

} // namespace exports

#include "ohm_writer.h"

#include "number_text.h"
#include "plot_geometry.h"

namespace exports {

namespace {

char *number(char *at, double value, int decimals) {
    *at++ = ' ';
    return write_fixed(at, value, decimals);
}

} // namespace

void ohm_text(const ReadingGroup &group, const ProfileElectrodes &electrodes, TextOut &out,
              const GroupErrors *errors) {
    const bool with_ip = every_reading_has_chargeability(group.readings);
    const bool with_iperr = errors && with_ip && !errors->ip.empty();
    const bool with_y = electrodes.has_cross_line();

    out.append(std::to_string(electrodes.points().size()) + "# Number of electrodes\n");
    out.append(with_y ? "# x y z\n" : "# x z\n");
    for (const survey::Point &p : electrodes.points()) {
        char *at = write_fixed(out.room(3 * (kWidestFixed + 1) + 1), p.x, 3);
        if (with_y) at = number(at, p.y, 3);
        at = number(at, p.z, 3);
        *at++ = '\n';
        out.wrote(at);
    }
    // Comments may follow the count; the token line must come right before the data.
    std::string head = std::to_string(group.readings.size()) + "# Number of data";
    if (with_ip) head += "; ip: chargeability in mV/V (mean of the M channels)";
    head += "; stdev: the receiver's stacking standard deviation";
    if (errors) head += "; err: relative error of r, a fraction";
    if (with_iperr) head += "; iperr: error of ip in mV/V, from repeats and reciprocals";
    head += with_ip ? "\n# a b m n rhoa k r ip stdev" : "\n# a b m n rhoa k r stdev";
    if (errors) head += " err";
    if (with_iperr) head += " iperr";
    head += "\n";
    out.append(head);

    constexpr std::size_t kWidestRow = 4 * (kWidestInteger + 1) + 7 * (kWidestFixed + 1) + 1;
    for (std::size_t index = 0; index < group.readings.size(); ++index) {
        const survey::IpReading *r = group.readings[index];
        const std::array<int, 4> &n = electrodes.numbers(index);
        char *at = out.room(kWidestRow);
        for (int number : n) {
            at = write_integer(at, number);
            *at++ = ' ';
        }
        // Selection guarantees a factor for the flat layout; topography rarely changes that.
        const double k = survey::geometric_factor(electrodes.point(n[0]), electrodes.point(n[1]),
                                                  electrodes.point(n[2]), electrodes.point(n[3]))
                             .value_or(0);
        at = write_fixed(at, r->ro, 3);
        *at++ = ' ';
        at = write_significant(at, k, 6, 3);
        *at++ = ' ';
        at = write_significant(at, k != 0 ? r->ro / k : 0, 6, 3);
        if (with_ip) at = number(at, survey::chargeability(*r, -1), 3);
        at = number(at, r->stdev, 3);
        if (errors) {
            *at++ = ' ';
            at = write_significant(at, errors->relative[index], 4, 4);
        }
        if (with_iperr) at = number(at, errors->ip[index], 3);
        *at++ = '\n';
        out.wrote(at);
    }
}

} // namespace exports

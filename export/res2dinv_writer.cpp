#include "res2dinv_writer.h"

#include "number_text.h"
#include "plot_geometry.h"

#include <cmath>
#include <cstring>

namespace exports {

namespace {

constexpr int kDecimals = 3;
constexpr std::string_view kEol = "\r\n";

void line(TextOut &out, std::string_view text) {
    out.append(text);
    out.append(kEol);
}

char *number(char *at, double value) {
    return write_fixed(at, value, kDecimals);
}

// The row of a four-electrode reading: "4", then x and z of C1, C2, P1, P2. The z are 0: the
// electrodes stand on the ground, whose elevation the topography list gives.
char *general_row(char *at, const std::array<int, 4> &n, const ProfileElectrodes &e) {
    *at++ = '4';
    for (int electrode : n) {
        *at++ = ' ';
        at = number(at, e.point(electrode)->x);
        std::memcpy(at, " 0.000", 6);
        at += 6;
    }
    return at;
}

// Pole-dipole: x, the dipole length a and n = C1 to the nearer potential electrode over a,
// negative when the dipole lies behind (left of) C1. x is the row's leftmost electrode: C1 for a
// forward row, the farther potential electrode for a reversed one, which readers then place at
// x, x + a and C1 at x + (|n| + 1) a.
char *pole_dipole_row(char *at, const std::array<int, 4> &numbers, const ProfileElectrodes &e) {
    const double a = e.point(numbers[0])->x, m = e.point(numbers[2])->x, n = e.point(numbers[3])->x;
    const double dipole = std::fabs(n - m);
    const double nearer = std::fabs(m - a) < std::fabs(n - a) ? m : n;
    at = number(at, std::fmin(a, std::fmin(m, n)));
    *at++ = ' ';
    at = number(at, dipole);
    *at++ = ' ';
    return number(at, (nearer - a) / dipole);
}

// Pole-pole: the first of the two electrodes and their distance.
char *pole_pole_row(char *at, const std::array<int, 4> &numbers, const ProfileElectrodes &e) {
    const double a = e.point(numbers[0])->x, m = e.point(numbers[2])->x;
    at = number(at, std::fmin(a, m));
    *at++ = ' ';
    return number(at, std::fabs(m - a));
}

} // namespace

void res2dinv_text(const std::string &title, const ReadingGroup &group,
                   const ProfileElectrodes &electrodes, TextOut &out, const GroupErrors *errors) {
    const bool with_ip = every_reading_has_chargeability(group.readings);
    const bool with_topography = electrodes.has_elevation();
    line(out, title);
    line(out, fixed(electrodes.smallest_spacing(), kDecimals));
    switch (group.family) {
    case ArrayFamily::FourElectrode:
        line(out, "11");
        line(out, "0");
        line(out, "Type of measurement (0=app. resistivity,1=resistance)");
        line(out, "0");
        line(out, std::to_string(group.readings.size()));
        // x-location type: with topography the positions are distances along the ground.
        line(out, with_topography ? "2" : "0");
        break;
    case ArrayFamily::PoleDipole:
    case ArrayFamily::PolePole:
        line(out, group.family == ArrayFamily::PoleDipole ? "6" : "2");
        line(out, std::to_string(group.readings.size()));
        line(out, "0"); // x-location: the first electrode
        break;
    }
    line(out, with_ip ? "1" : "0");
    if (with_ip) {
        line(out, "Chargeability");
        line(out, "mV/V");
        // The records state no window timing the inversion could use.
        line(out, "0.000,0.000");
    }
    if (errors) {
        line(out, "Error estimate for data present");
        line(out, "Type of error estimate (0=same unit as data)");
        line(out, "0");
    }
    // The widest row: "4" and four electrodes of x and " 0.000", then resistivity and M.
    constexpr std::size_t kWidestRow = 1 + 4 * (kWidestFixed + 8) + 4 * (kWidestFixed + 1) + 2;
    for (std::size_t index = 0; index < group.readings.size(); ++index) {
        const survey::IpReading *r = group.readings[index];
        const std::array<int, 4> &numbers = electrodes.numbers(index);
        char *at = out.room(kWidestRow);
        switch (group.family) {
        case ArrayFamily::FourElectrode:
            at = general_row(at, numbers, electrodes);
            break;
        case ArrayFamily::PoleDipole:
            at = pole_dipole_row(at, numbers, electrodes);
            break;
        case ArrayFamily::PolePole:
            at = pole_pole_row(at, numbers, electrodes);
            break;
        }
        *at++ = ' ';
        at = number(at, r->ro);
        if (with_ip) {
            *at++ = ' ';
            at = number(at, survey::chargeability(*r, -1));
        }
        if (errors) {
            const double relative = errors->relative[index];
            *at++ = ' ';
            at = write_significant(at, relative * std::fabs(r->ro), 4, kDecimals);
            if (with_ip) {
                // Without a pair for every reading, the chargeability's error is taken as
                // relative as the resistivity's.
                const double m = survey::chargeability(*r, -1);
                *at++ = ' ';
                at = write_significant(
                    at, errors->ip.empty() ? relative * std::fabs(m) : errors->ip[index], 4,
                    kDecimals);
            }
        }
        std::memcpy(at, kEol.data(), kEol.size());
        out.wrote(at + kEol.size());
    }
    if (with_topography) {
        if (group.family == ArrayFamily::FourElectrode) line(out, "Topography in separate list");
        line(out, "2");
        line(out, std::to_string(electrodes.points().size()));
        for (const survey::Point &p : electrodes.points())
            line(out, fixed(p.x, kDecimals) + " " + fixed(p.z, kDecimals));
        line(out, "1"); // the first electrode of the list
    } else {
        line(out, "0");
    }
    for (int i = 0; i < 4; ++i)
        line(out, "0");
}

} // namespace exports

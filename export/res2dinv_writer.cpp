#include "res2dinv_writer.h"

#include "number_text.h"
#include "plot_geometry.h"

#include <cmath>

namespace exports {

namespace {

constexpr int kDecimals = 3;
constexpr const char *kEol = "\r\n";

void line(std::string &out, std::string_view text) {
    out += text;
    out += kEol;
}

void number(std::string &out, double value) {
    append_fixed(out, value, kDecimals);
}

// The row of a four-electrode reading: "4", then x and z of C1, C2, P1, P2. The z are 0: the
// electrodes stand on the ground, whose elevation the topography list gives.
void general_row(std::string &out, const std::array<int, 4> &n, const ProfileElectrodes &e) {
    out += '4';
    for (int electrode : n) {
        out += ' ';
        number(out, e.point(electrode)->x);
        out += " 0.000";
    }
}

// Pole-dipole: the C1 position, the dipole length a and n = C1 to the nearer potential
// electrode over a, negative when the dipole lies behind C1.
void pole_dipole_row(std::string &out, const std::array<int, 4> &numbers,
                     const ProfileElectrodes &e) {
    const double a = e.point(numbers[0])->x, m = e.point(numbers[2])->x, n = e.point(numbers[3])->x;
    const double dipole = std::fabs(n - m);
    const double nearer = std::fabs(m - a) < std::fabs(n - a) ? m : n;
    number(out, a);
    out += ' ';
    number(out, dipole);
    out += ' ';
    number(out, (nearer - a) / dipole);
}

// Pole-pole: the first of the two electrodes and their distance.
void pole_pole_row(std::string &out, const std::array<int, 4> &numbers,
                   const ProfileElectrodes &e) {
    const double a = e.point(numbers[0])->x, m = e.point(numbers[2])->x;
    number(out, std::fmin(a, m));
    out += ' ';
    number(out, std::fabs(m - a));
}

} // namespace

std::string res2dinv_text(const std::string &title, const ReadingGroup &group,
                          const ProfileElectrodes &electrodes) {
    const bool with_ip = every_reading_has_chargeability(group.readings);
    const bool with_topography = electrodes.has_elevation();
    std::string out;
    out.reserve(group.readings.size() * 96 + 512);
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
    for (std::size_t index = 0; index < group.readings.size(); ++index) {
        const survey::IpReading *r = group.readings[index];
        const std::array<int, 4> &numbers = electrodes.numbers(index);
        switch (group.family) {
        case ArrayFamily::FourElectrode:
            general_row(out, numbers, electrodes);
            break;
        case ArrayFamily::PoleDipole:
            pole_dipole_row(out, numbers, electrodes);
            break;
        case ArrayFamily::PolePole:
            pole_pole_row(out, numbers, electrodes);
            break;
        }
        out += ' ';
        number(out, r->ro);
        if (with_ip) {
            out += ' ';
            number(out, survey::chargeability(*r, -1));
        }
        out += kEol;
    }
    if (with_topography) {
        if (group.family == ArrayFamily::FourElectrode) line(out, "Topography in separate list");
        line(out, "2");
        line(out, std::to_string(electrodes.points().size()));
        for (const Point &p : electrodes.points())
            line(out, fixed(p.x, kDecimals) + " " + fixed(p.z, kDecimals));
        line(out, "1"); // the first electrode of the list
    } else {
        line(out, "0");
    }
    for (int i = 0; i < 4; ++i)
        line(out, "0");
    return out;
}

} // namespace exports

// Res2DInv files read back by the format's published rules: every reading's electrodes, rho and
// chargeability as the database holds them.
#include "export_fixture.h"

#include <cmath>
#include <optional>

namespace {

using export_test::Ip;

struct Reading {
    std::vector<double> electrodes; // x of C1, C2, P1, P2; a remote electrode is left out
    double rho = 0;
    std::optional<double> m;
};

struct Res2dinv {
    std::string title;
    double spacing = 0;
    int array = 0;
    int x_location = 0;
    std::vector<Reading> readings;
    std::vector<std::pair<double, double>> topography;
};

std::vector<std::string> lines_of(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

std::vector<double> numbers(const std::string &line) {
    EXPECT_EQ(line.find_first_of("eE"), std::string::npos) << "exponent in: " << line;
    std::istringstream in(line);
    std::vector<double> values;
    for (double v; in >> v;)
        values.push_back(v);
    return values;
}

Res2dinv parse(const std::string &text) {
    const std::vector<std::string> lines = lines_of(text);
    Res2dinv file;
    std::size_t i = 0;
    auto next = [&] { return i < lines.size() ? lines[i++] : std::string("<end>"); };
    file.title = next();
    file.spacing = std::stod(next());
    file.array = std::stoi(next());
    if (file.array == 11) {
        EXPECT_EQ(next(), "0"); // sub-type
        EXPECT_EQ(next(), "Type of measurement (0=app. resistivity,1=resistance)");
        EXPECT_EQ(next(), "0"); // apparent resistivity
    }
    const int count = std::stoi(next());
    file.x_location = std::stoi(next());
    const bool ip = next() == "1";
    if (ip) {
        EXPECT_EQ(next(), "Chargeability");
        EXPECT_EQ(next(), "mV/V");
        next(); // delay and integration time
    }
    for (int k = 0; k < count; ++k) {
        const std::vector<double> v = numbers(next());
        Reading r;
        std::size_t used = 0;
        if (file.array == 11) { // n, then x z of each electrode
            for (int e = 0; e < static_cast<int>(v.at(0)); ++e)
                r.electrodes.push_back(v.at(1 + 2 * e));
            used = 1 + 2 * static_cast<std::size_t>(v.at(0));
        } else if (file.array == 6) { // x a n, x the leftmost electrode
            const double x = v.at(0), a = v.at(1), n = v.at(2);
            if (n > 0) // C1 at x, P1 at x + n a, P2 at x + (n + 1) a
                r.electrodes = {x, x + n * a, x + (n + 1) * a};
            else // reversed: P2 at x, P1 at x + a, C1 at x + (|n| + 1) a
                r.electrodes = {x + (1 - n) * a, x + a, x};
            used = 3;
        } else { // pole-pole: x a
            r.electrodes = {v.at(0), v.at(0) + v.at(1)};
            used = 2;
        }
        r.rho = v.at(used);
        if (ip) r.m = v.at(used + 1);
        EXPECT_EQ(v.size(), used + (ip ? 2 : 1));
        file.readings.push_back(r);
    }
    std::string flag = next();
    if (flag == "Topography in separate list") flag = next();
    if (flag == "2") {
        const int points = std::stoi(next());
        for (int k = 0; k < points; ++k) {
            const std::vector<double> p = numbers(next());
            file.topography.emplace_back(p.at(0), p.at(1));
        }
        EXPECT_EQ(next(), "1");
    } else {
        EXPECT_EQ(flag, "0");
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(next(), "0");
    EXPECT_EQ(i, lines.size());
    return file;
}

// Where the receiver's reading puts its electrodes: M at X, A, B and N at their distances.
std::vector<double> electrodes_of(const Ip &r, std::uint16_t array_code) {
    if (array_code == 0x08) return {r.x + r.da, r.x, r.x + r.dn};
    if (array_code == 0x0C) return {r.x + r.da, r.x};
    return {r.x + r.da, r.x + r.db, r.x, r.x + r.dn};
}

// The inversion works on log(rho): a reading with Ro of 0 or below has no row.
void expect_readings(const Res2dinv &file, const export_test::Profile &profile) {
    std::vector<Ip> rows;
    std::copy_if(profile.readings.begin(), profile.readings.end(), std::back_inserter(rows),
                 [](const Ip &r) { return r.ro > 0; });
    ASSERT_EQ(file.readings.size(), rows.size());
    for (std::size_t k = 0; k < file.readings.size(); ++k) {
        const Ip &want = rows[k];
        std::vector<double> got = file.readings[k].electrodes;
        std::vector<double> expected = electrodes_of(want, profile.array_code);
        if (profile.array_code == 0x0C) { // which of the two comes first is the file's choice
            std::sort(got.begin(), got.end());
            std::sort(expected.begin(), expected.end());
        }
        EXPECT_EQ(got, expected) << "reading " << k;
        EXPECT_DOUBLE_EQ(file.readings[k].rho, std::round(want.ro * 1000) / 1000);
        double mean = 0;
        for (float m : want.m)
            mean += m / want.m.size();
        EXPECT_NEAR(*file.readings[k].m, mean, 0.0005);
    }
}

using Res2dinvExport = export_test::ExportTest;

TEST_F(Res2dinvExport, FourElectrodeArraysInTheGeneralArrayForm) {
    const std::vector<export_test::Profile> profiles = {
        {.array_code = 0x00, // dipole-dipole A B M N, n = 1 and 2
         .line_pos = 100,
         .readings = {{.x = 20, .dn = 10, .da = -20, .db = -10, .ro = 120.25f, .m = {4, 3, 2, 1}},
                      {.x = 30, .dn = 10, .da = -20, .db = -10, .ro = -55, .m = {1, 1}},
                      {.x = 30, .n = 2, .dn = 10, .da = -30, .db = -20, .ro = 80, .m = {8, 6}},
                      {.x = 40, .dn = 10, .da = -20, .db = -10, .ro = 0, .m = {1, 1}}}},
        {.array_code = 0x11, // Wenner A M N B
         .line_pos = 200,
         .readings = {{.x = 5, .dn = 5, .da = -5, .db = 10, .ro = 55.5f, .m = {1, 1, 1, 1}}}},
        {.array_code = 0x10, // Schlumberger with MN = 2 and AB/2 = 15
         .line_pos = -50,
         .readings = {{.x = 49, .dn = 2, .da = -14, .db = 16, .ro = 0.125f, .m = {2, 1, 0, 0}}}},
    };
    const auto outcome = run(export_test::virel(profiles), exports::Format::Res2dinv);
    ASSERT_TRUE(outcome.ok()) << outcome.failures.at(0);
    ASSERT_EQ(outcome.written,
              (std::vector<std::string>{path("line7-S1-L100N.dat"), path("line7-S1-L200N.dat"),
                                        path("line7-S1-L50S.dat")}));
    EXPECT_EQ(outcome.notes, std::vector<std::string>{path("line7.tvd") +
                                                      ": S1-L100N: 2 readings left out: Ro not "
                                                      "positive, which an inversion cannot take"});
    const std::string text = read(outcome.written[0]);
    const std::string header =
        "Grid Line 100N Dipole_Dipole\r\n10.000\r\n11\r\n0\r\n"
        "Type of measurement (0=app. resistivity,1=resistance)\r\n"
        "0\r\n2\r\n0\r\n1\r\nChargeability\r\nmV/V\r\n0.000,0.000\r\n"
        "4 0.000 0.000 10.000 0.000 20.000 0.000 30.000 0.000 120.250 2.500\r\n";
    EXPECT_EQ(text.substr(0, header.size()), header);
    for (std::size_t p = 0; p < profiles.size(); ++p) {
        const Res2dinv file = parse(read(outcome.written[p]));
        EXPECT_EQ(file.array, 11);
        EXPECT_EQ(file.x_location, 0);
        EXPECT_TRUE(file.topography.empty());
        expect_readings(file, profiles[p]);
    }
    EXPECT_DOUBLE_EQ(parse(read(outcome.written[2])).spacing, 2.0); // the MN pegs are closest
}

TEST_F(Res2dinvExport, PoleArraysInTheIndexBasedFormsAndElevationsAsTopography) {
    const std::vector<export_test::Profile> profiles = {
        {.array_code = 0x08, // pole-dipole forward, then reversed (the dipole behind C1)
         .readings = {{.x = 10, .n = 2, .dn = 5, .da = -10, .ro = 70, .m = {3}},
                      {.x = 10, .n = 1, .dn = -5, .da = 5, .ro = 71, .m = {4}},
                      {.x = 10, .n = 3, .dn = -5, .da = 15, .ro = 72, .m = {5}}}},
        {.array_code = 0x0C, // pole-pole
         .line_pos = 300,
         .readings = {{.x = 10, .da = -10, .ro = 90, .m = {5}}}},
        {.array_code = 0x11, // Wenner on a slope: Z at each reading's X
         .line_pos = 400,
         .readings = {{.x = 5, .z = 101, .dn = 5, .da = -5, .db = 10, .ro = 60, .m = {1}},
                      {.x = 10, .z = 103, .dn = 5, .da = -5, .db = 10, .ro = 61, .m = {1}}}},
    };
    const auto outcome = run(export_test::virel(profiles), exports::Format::Res2dinv);
    ASSERT_TRUE(outcome.ok());
    ASSERT_EQ(outcome.written.size(), 3u);
    const Res2dinv pole_dipole = parse(read(outcome.written[0]));
    EXPECT_EQ(pole_dipole.array, 6);
    expect_readings(pole_dipole, profiles[0]);
    const Res2dinv pole_pole = parse(read(outcome.written[1]));
    EXPECT_EQ(pole_pole.array, 2);
    expect_readings(pole_pole, profiles[1]);

    const Res2dinv slope = parse(read(outcome.written[2]));
    expect_readings(slope, profiles[2]);
    EXPECT_EQ(slope.x_location, 2);
    // Electrodes at 0, 5, 10, 15, 20: known at 5 and 10, level beyond, straight between.
    EXPECT_EQ(slope.topography, (std::vector<std::pair<double, double>>{
                                    {0, 101}, {5, 101}, {10, 103}, {15, 103}, {20, 103}}));
}

} // namespace

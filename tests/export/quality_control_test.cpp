// Readings left out by choice and errors carried into the exports: every deliberately bad reading
// is named in the spreadsheet's QC column and absent from the .dat and .ohm files, a NAME.exclude
// file removes exactly its readings, and the Res2DInv error block is read back by the readers'
// rules.
#include "exclusions.h"
#include "export_fixture.h"
#include "survey_reader.h"

#include <cmath>
#include <limits>
#include <set>

namespace {

using export_test::Ip;
using QualityControl = export_test::ExportTest;

// Dipole-dipole, dipoles of 5 m: six current dipoles, each with its potential dipole at n = 1
// to 6. Every reading has a Ro of its own, by which it is found in the files; its decay is
// 20 t^-0.5 off by up to 3 %.
std::vector<Ip> good_readings() {
    std::vector<Ip> readings;
    for (int c = 0; c < 6; ++c)
        for (int n = 1; n <= 6; ++n) {
            const float a = 5.0f * c, m = a + 5.0f * (n + 1);
            Ip r{.x = m, .dn = 5, .da = a - m, .db = a + 5 - m};
            r.ro = 100.0f + static_cast<float>(readings.size());
            for (int t = 1; t <= 4; ++t)
                r.m.push_back(static_cast<float>(20 / std::sqrt(t) *
                                                 (1 + 0.03 * std::sin(1.7 * t + readings.size()))));
            readings.push_back(r);
        }
    return readings;
}

// The rows' first value after the electrodes, the apparent resistivity, of a data file read as
// its reader does: .ohm rows after the token line, .dat rows after the header lines.
std::set<float> ohm_resistivities(const std::string &text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line) && !line.starts_with("# a b m n"))
        ;
    std::set<float> values;
    for (double a, b, m, n, rhoa; std::getline(in, line);) {
        std::istringstream(line) >> a >> b >> m >> n >> rhoa;
        values.insert(static_cast<float>(rhoa));
    }
    return values;
}

struct Bad {
    const char *reason;
    Ip reading;
};

TEST_F(QualityControl, EveryBadReadingIsNamedAndLeftOut) {
    std::vector<Ip> readings = good_readings();
    std::set<float> good;
    for (const Ip &r : readings)
        good.insert(r.ro);
    // At n = 7 of each current dipole, each bad in one way.
    std::vector<Bad> bad;
    for (int c = 0; c < 6; ++c) {
        const float a = 5.0f * c, m = a + 40;
        Ip r = readings[static_cast<std::size_t>(6 * c)];
        r.x = m;
        r.da = a - m;
        r.db = a + 5 - m;
        r.ro = 200.0f + static_cast<float>(c);
        bad.push_back({"", r});
    }
    bad[0].reason = "Ro not positive";
    bad[0].reading.ro = -4;
    bad[1].reason = "Ro not finite";
    bad[1].reading.ro = std::numeric_limits<float>::quiet_NaN();
    bad[2].reason = "Stdev above 5";
    bad[2].reading.stdev = 12;
    bad[3].reason = "M rising from window 1 to 2";
    bad[3].reading.m = {10, 12, 8, 6};
    bad[4].reason = "decay off its dipole's master curve";
    for (float &m : bad[4].reading.m)
        m *= 5;
    bad[5].reason = "ResCon above 20000";
    bad[5].reading.res_con = 60000;
    for (const Bad &b : bad)
        readings.push_back(b.reading);
    ASSERT_TRUE(export_test::virel({{.readings = readings}}).write(path("line7.tvd")));

    exports::ExportOptions options;
    options.format = exports::Format::Csv;
    ASSERT_TRUE(exports::export_database(path("line7.tvd"), options).ok());
    std::istringstream csv(read(path("line7-ip.csv")));
    std::string row;
    std::getline(csv, row);
    for (std::size_t k = 0; std::getline(csv, row); ++k) {
        const std::string qc = row.substr(row.rfind(',') + 1, row.size() - row.rfind(',') - 2);
        if (k < good.size())
            EXPECT_EQ(qc, "") << row;
        else
            EXPECT_NE(qc.find(bad[k - good.size()].reason), std::string::npos) << row;
    }

    options.drop = qc::kDefaultDrop | qc::bit(qc::Rule::ResCon);
    for (exports::Format format : {exports::Format::Ohm, exports::Format::Res2dinv}) {
        options.format = format;
        const exports::ExportOutcome outcome = exports::export_database(path("line7.tvd"), options);
        ASSERT_TRUE(outcome.ok());
        const std::string text = read(outcome.written.at(0));
        if (format == exports::Format::Ohm) {
            EXPECT_EQ(ohm_resistivities(text), good);
        } else {
            for (const Bad &b : bad) {
                if (!std::isfinite(b.reading.ro)) continue;
                const std::string ro = std::to_string(static_cast<int>(b.reading.ro));
                EXPECT_EQ(text.find(std::string(1, ' ').append(ro).append(".000")),
                          std::string::npos)
                    << b.reason;
            }
            const std::string count = std::to_string(good.size());
            EXPECT_NE(text.find(std::string("\r\n").append(count).append("\r\n")),
                      std::string::npos);
        }
        for (const char *note : {"1 reading left out: Stdev above its limit (stdev)",
                                 "2 readings left out: a doubtful decay (decay)",
                                 "1 reading left out: contact resistance above its limit"})
            EXPECT_NE(std::find_if(outcome.notes.begin(), outcome.notes.end(),
                                   [&](const std::string &n) { return n.find(note) != n.npos; }),
                      outcome.notes.end())
                << note;
    }
}

TEST_F(QualityControl, AnExcludeFileRemovesExactlyItsReadings) {
    std::vector<Ip> readings = good_readings();
    readings.push_back(readings[7]); // a repeat of reading 7, Ro of its own
    readings.back().ro = 300;
    ASSERT_TRUE(export_test::virel({{.readings = readings}}).write(path("line7.tvd")));
    const survey::LoadResult loaded = survey::load_database(path("line7.tvd"));
    // The repeat (second at its electrodes) by the tools' own entry; reading 2 typed by hand.
    const std::vector<exports::Exclusion> entries{
        exports::exclusion_of(loaded.database, 0, 0, readings.size() - 1, "noisy\nrepeat")};
    ASSERT_TRUE(exports::write_exclusions(exports::exclusions_path(path("line7.tvd")), entries));
    {
        std::ofstream more(path("line7.exclude"), std::ios::app);
        more << "S1 L100N 0 5 10 15 # cable cut\n";
    }
    EXPECT_EQ(exports::read_exclusions(path("line7.exclude")).entries.size(), 2u);

    exports::ExportOptions options;
    options.format = exports::Format::Ohm;
    const exports::ExportOutcome outcome = exports::export_database(path("line7.tvd"), options);
    std::set<float> expected;
    for (std::size_t i = 0; i + 1 < readings.size(); ++i)
        if (i != 0) expected.insert(readings[i].ro);
    EXPECT_EQ(ohm_resistivities(read(outcome.written.at(0))), expected);
    EXPECT_EQ(outcome.notes,
              std::vector<std::string>{path("line7.tvd") + ": S1-L100N: 2 readings left out: "
                                                           "excluded by hand"});
}

// A Res2DInv reader takes each row's values first (rho at 2n + 1, the chargeability after it)
// and the errors after them, in the unit of the data (type 0).
TEST_F(QualityControl, Res2dinvCarriesAnErrorBlockAfterTheValues) {
    std::vector<Ip> readings = good_readings();
    ASSERT_TRUE(export_test::virel({{.readings = readings}}).write(path("line7.tvd")));
    exports::ExportOptions options;
    options.format = exports::Format::Res2dinv;
    options.errors = exports::ErrorChoice::Stdev; // the floor: 3 % of every reading
    options.drop = 0;
    const exports::ExportOutcome outcome = exports::export_database(path("line7.tvd"), options);
    std::istringstream in(read(outcome.written.at(0)));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.size() - 1));
    ASSERT_GT(lines.size(), 15u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.begin() + 15),
              (std::vector<std::string>{"Chargeability", "mV/V", "0.000,0.000",
                                        "Error estimate for data present",
                                        "Type of error estimate (0=same unit as data)", "0"}));
    for (std::size_t k = 0; k < readings.size(); ++k) {
        std::istringstream row(lines[15 + k]);
        std::vector<double> v;
        for (double x; row >> x;)
            v.push_back(x);
        ASSERT_EQ(v.size(), 13u) << lines[15 + k];
        EXPECT_EQ(v[9], readings[k].ro);
        EXPECT_NEAR(v[11], 0.03 * readings[k].ro, 1e-3);
        EXPECT_NEAR(v[12], 0.03 * v[10], 1e-3);
    }
}

// Decays m = a t^b sampled exactly, so the fit must give a and b back.
std::vector<float> decay(double a, double b) {
    std::vector<float> m;
    for (int t = 1; t <= 4; ++t)
        m.push_back(static_cast<float>(a * std::pow(t, b)));
    return m;
}

// With Itx 0.5 A, R = 2 Vp: the pair's R are 20 and 21, so its relative error is |e| / mean |R| =
// 1 / 20.5; the third reading has no pair and takes its Stdev of 4 %, above the 3 % floor.
TEST_F(QualityControl, SpreadsheetCarriesEachReadingsErrorPairAndDecay) {
    const std::vector<Ip> readings = {
        {.x = 20, .dn = 10, .da = -20, .db = -10, .m = decay(20, -0.5), .vp = 10},   // 0 10 20 30
        {.x = 0, .dn = 10, .da = 20, .db = 30, .m = decay(20, -0.5), .vp = 10.5f},   // 20 30 0 10
        {.x = 30, .dn = 10, .da = -30, .db = -20, .stdev = 4, .m = decay(30, -0.8)}, // 0 10 30 40
    };
    ASSERT_TRUE(export_test::virel({{.readings = readings}}).write(path("line7.tvd")));
    exports::ExportOptions options;
    options.format = exports::Format::Csv;
    options.errors = exports::ErrorChoice::Pairs;
    ASSERT_TRUE(exports::export_database(path("line7.tvd"), options).ok());

    std::istringstream csv(read(path("line7-ip.csv")));
    std::string header;
    std::getline(csv, header);
    EXPECT_EQ(header,
              "SURVEY,LINE,ARRAY,OPERATING_MODE,WINDOWS,LINE_COORD,X,Y,Z,N,DN,DA,DB,RES_CON,"
              "SP,VP,ITX,RO,STDEV,M1,M2,M3,M4,ERROR,PAIR,PAIR_ERROR,DECAY_A,DECAY_B,QC\r");
    std::vector<std::vector<std::string>> rows;
    for (std::string row; std::getline(csv, row);) {
        std::istringstream cells(row);
        rows.emplace_back();
        for (std::string cell; std::getline(cells, cell, ',');)
            rows.back().push_back(cell);
    }
    ASSERT_EQ(rows.size(), 3u);
    const std::size_t error = 23; // ERROR, PAIR, PAIR_ERROR, DECAY_A, DECAY_B after it
    const double pair_error = 1 / 20.5;
    for (std::size_t k : {0u, 1u}) {
        EXPECT_NEAR(std::stod(rows[k][error]), pair_error, 5e-6);
        EXPECT_EQ(rows[k][error + 1], "reciprocal");
        EXPECT_NEAR(std::stod(rows[k][error + 2]), pair_error, 5e-6);
        EXPECT_NEAR(std::stod(rows[k][error + 3]), 20, 5e-4);
        EXPECT_NEAR(std::stod(rows[k][error + 4]), -0.5, 5e-5);
    }
    EXPECT_NEAR(std::stod(rows[2][error]), 0.04, 5e-6);
    EXPECT_EQ(rows[2][error + 1], "none");
    EXPECT_EQ(rows[2][error + 2], "");
    EXPECT_NEAR(std::stod(rows[2][error + 3]), 30, 5e-4);
    EXPECT_NEAR(std::stod(rows[2][error + 4]), -0.8, 5e-5);
}

} // namespace

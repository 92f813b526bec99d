// Unified-format files read back by the format's rules: electrodes numbered from 1 (0 remote),
// the token line right before the data, and k, r, ip and stdev for every reading.
#include "export_fixture.h"

#include <cmath>
#include <map>
#include <numbers>

namespace {

using export_test::Ip;

struct Ohm {
    std::vector<std::string> position_tokens;
    std::vector<std::vector<double>> positions;
    std::vector<std::string> data_tokens;
    std::vector<std::map<std::string, double>> data;
    std::string data_count_comment;
};

std::vector<std::string> words(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

Ohm parse(const std::string &text) {
    std::istringstream in(text);
    std::string line;
    Ohm ohm;
    auto token_line = [&] {
        std::getline(in, line);
        EXPECT_EQ(line.rfind("# ", 0), 0u) << line;
        return words(line.substr(1));
    };
    std::getline(in, line);
    const int electrodes = std::stoi(line.substr(0, line.find('#')));
    ohm.position_tokens = token_line();
    for (int e = 0; e < electrodes; ++e) {
        std::getline(in, line);
        std::vector<double> p;
        for (const std::string &w : words(line))
            p.push_back(std::stod(w));
        EXPECT_EQ(p.size(), ohm.position_tokens.size());
        ohm.positions.push_back(p);
    }
    std::getline(in, line);
    const int count = std::stoi(line.substr(0, line.find('#')));
    ohm.data_count_comment = line.substr(line.find('#'));
    ohm.data_tokens = token_line();
    for (int d = 0; d < count; ++d) {
        std::getline(in, line);
        const std::vector<std::string> values = words(line);
        EXPECT_EQ(values.size(), ohm.data_tokens.size()) << line;
        EXPECT_EQ(line.find_first_of("eE"), std::string::npos) << line;
        std::map<std::string, double> row;
        for (std::size_t k = 0; k < values.size(); ++k)
            row[ohm.data_tokens[k]] = std::stod(values[k]);
        ohm.data.push_back(row);
    }
    EXPECT_FALSE(std::getline(in, line)) << "nothing after the data";
    return ohm;
}

// The electrode a row names, as a point; empty for a remote electrode (number 0).
std::optional<std::vector<double>> electrode(const Ohm &ohm, double number) {
    if (number == 0) return std::nullopt;
    return ohm.positions.at(static_cast<std::size_t>(number) - 1);
}

double distance(const std::optional<std::vector<double>> &p, const std::vector<double> &q) {
    double sum = 0;
    for (std::size_t k = 0; k < q.size(); ++k)
        sum += (p->at(k) - q[k]) * (p->at(k) - q[k]);
    return std::sqrt(sum);
}

using OhmExport = export_test::ExportTest;

TEST_F(OhmExport, ElectrodesNumberedFromOneRemoteZeroAndEveryReadingsValues) {
    // Pole-dipole on a slope, off the line's axis by 2 m: B is remote.
    const export_test::Profile profile{
        .array_code = 0x08,
        .readings = {{.x = 10,
                      .y = 2,
                      .z = 100,
                      .n = 1,
                      .dn = 5,
                      .da = -5,
                      .ro = 70,
                      .stdev = 1.5f,
                      .m = {3, 2, 1, 0}},
                     {.x = 15,
                      .y = 2,
                      .z = 102,
                      .n = 2,
                      .dn = 5,
                      .da = -15,
                      .ro = 8,
                      .stdev = 0.25f,
                      .m = {5, 5, 5, 5}},
                     // log(rhoa) of an inversion: no row
                     {.x = 20, .y = 2, .z = 104, .dn = 5, .da = -5, .ro = -8, .m = {1, 1, 1, 1}}}};
    const auto outcome = run(export_test::virel({profile}), exports::Format::Ohm);
    ASSERT_TRUE(outcome.ok());
    ASSERT_EQ(outcome.written, std::vector<std::string>{path("line7-S1-L100N.ohm")});
    EXPECT_EQ(outcome.notes, std::vector<std::string>{path("line7.tvd") +
                                                      ": S1-L100N: 1 reading left out: Ro not "
                                                      "positive, which an inversion cannot take"});
    const Ohm ohm = parse(read(outcome.written[0]));
    EXPECT_EQ(ohm.position_tokens, (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(ohm.data_tokens,
              (std::vector<std::string>{"a", "b", "m", "n", "rhoa", "k", "r", "ip", "stdev"}));
    EXPECT_NE(ohm.data_count_comment.find("mV/V"), std::string::npos);

    ASSERT_EQ(ohm.data.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        const Ip &want = profile.readings[k];
        std::map<std::string, double> row = ohm.data[k];
        EXPECT_EQ(row["b"], 0) << "B of a pole-dipole is remote";
        const auto a = electrode(ohm, row["a"]), m = electrode(ohm, row["m"]),
                   n = electrode(ohm, row["n"]);
        EXPECT_EQ(a->at(0), want.x + want.da);
        EXPECT_EQ((*m), (std::vector<double>{want.x, want.y, want.z})) << "M stands at X, Y, Z";
        EXPECT_EQ(n->at(0), want.x + want.dn);
        EXPECT_EQ(row["rhoa"], want.ro);
        const double k_factor = 2 * std::numbers::pi / (1 / distance(a, *m) - 1 / distance(a, *n));
        EXPECT_NEAR(row["k"], k_factor, 1e-3);
        EXPECT_NEAR(row["r"], want.ro / k_factor, 1e-5);
        EXPECT_EQ(row["stdev"], want.stdev);
    }
    EXPECT_EQ(ohm.data[0].at("ip"), 1.5);
    EXPECT_EQ(ohm.data[1].at("ip"), 5);
}

TEST_F(OhmExport, AFlatProfileWithoutChargeabilityHasNeitherYNorIp) {
    // Dipole-dipole A B M N: k is negative for the receiver's labels, and r with it.
    const export_test::Profile profile{
        .array_code = 0x00, .readings = {{.x = 20, .dn = 10, .da = -20, .db = -10, .ro = 100}}};
    const auto outcome = run(export_test::virel({profile}, 0), exports::Format::Ohm);
    ASSERT_TRUE(outcome.ok());
    const std::string text = read(outcome.written.at(0));
    EXPECT_EQ(text, "4# Number of electrodes\n# x z\n0.000 0.000\n10.000 0.000\n20.000 0.000\n"
                    "30.000 0.000\n1# Number of data; stdev: the receiver's stacking standard "
                    "deviation\n# a b m n rhoa k r stdev\n1 2 3 4 100.000 -188.496 -0.530516 "
                    "0.500\n");
}

// err, with --errors: a reading's relative error by the reciprocal-error rule, |e| / mean |R|
// (R = Vp / Itx), where it has a reciprocal; its Stdev, at least the 3 % floor, where it has
// neither a pair nor the 20 pairs a model needs.
TEST_F(OhmExport, ErrColumnHoldsEachReadingsError) {
    const export_test::Profile profile{
        .readings = {{.x = 20, .dn = 10, .da = -20, .db = -10, .vp = 5},    // A B M N 0 10 20 30
                     {.x = 0, .dn = 10, .da = 20, .db = 30, .vp = 5.2f},    // 20 30 0 10, R 10.4
                     {.x = 30, .dn = 10, .da = -30, .db = -20, .stdev = 5}, // 0 10 30 40, alone
                     {.x = 40, .dn = 10, .da = -40, .db = -30, .stdev = 1}}};
    ASSERT_TRUE(export_test::virel({profile}).write(path("line7.tvd")));
    const struct {
        exports::ErrorChoice choice;
        std::vector<double> err;
    } cases[] = {
        {exports::ErrorChoice::Pairs, {0.4 / 10.2, 0.4 / 10.2, 0.05, 0.03}},
        {exports::ErrorChoice::Stdev, {0.03, 0.03, 0.05, 0.03}},
    };
    for (const auto &c : cases) {
        exports::ExportOptions options;
        options.format = exports::Format::Ohm;
        options.errors = c.choice;
        ASSERT_TRUE(exports::export_database(path("line7.tvd"), options).ok());
        const Ohm ohm = parse(read(path("line7-S1-L100N.ohm")));
        EXPECT_NE(ohm.data_count_comment.find("err: relative error of r, a fraction"),
                  std::string::npos);
        ASSERT_EQ(ohm.data_tokens.back(), "err");
        ASSERT_EQ(ohm.data.size(), c.err.size());
        for (std::size_t k = 0; k < c.err.size(); ++k)
            EXPECT_NEAR(ohm.data[k].at("err"), c.err[k], 5e-5) << k;
    }
}

} // namespace

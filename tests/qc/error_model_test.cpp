// The error model against laws set beforehand, and where each reading's error comes from.
#include "qc_fixture.h"
#include "reading_errors.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using qc_test::at;

// A profile of reciprocal pairs, pair i at its own electrodes with mean R = mean[i] and error
// e = error[i] (R1 = R + e/2, R2 = R - e/2).
survey::Line profile(const std::vector<double> &mean, const std::vector<double> &error) {
    survey::Line line;
    line.kind = survey::LineKind::Profile;
    for (std::size_t i = 0; i < mean.size(); ++i) {
        const double x = 10.0 * static_cast<double>(i);
        line.ip_readings.push_back(at(x, x + 5, x + 1000, x + 1005, mean[i] + error[i] / 2));
        line.ip_readings.push_back(at(x + 1000, x + 1005, x, x + 5, mean[i] - error[i] / 2));
    }
    return line;
}

survey::Database database(std::vector<survey::Line> lines) {
    survey::Database db;
    db.surveys.push_back(
        {.has_header = true, .header = {}, .lines = std::move(lines), .notes = {}});
    return db;
}

// 400 pairs whose errors follow |e| = 0.02 R^1.15 times a scatter factor between 0.5 and 1.5
// (mean 1), R spread over four decades: the fitted power law finds a and b within 20 %.
TEST(ErrorModel, RecoversAKnownPowerLaw) {
    std::vector<double> mean, error;
    std::uint32_t state = 12345;
    for (int i = 0; i < 400; ++i) {
        state = state * 1664525u + 1013904223u;
        const double scatter = 0.5 + static_cast<double>(state >> 8) / double(1u << 24);
        const double r = std::pow(10.0, -1.0 + 4.0 * i / 399.0);
        mean.push_back(r);
        error.push_back((i % 2 ? -1 : 1) * 0.02 * std::pow(r, 1.15) * scatter);
    }
    const qc::DatabaseQc qc = qc::check_database(database({profile(mean, error)}), {});
    ASSERT_EQ(qc.profiles.size(), 1u);
    const qc::ErrorModel &model = *qc.profiles[0].model;
    EXPECT_EQ(model.pairs, 400);
    EXPECT_EQ(model.bins, 20);
    ASSERT_TRUE(model.power);
    EXPECT_NEAR(model.power->a, 0.02, 0.2 * 0.02);
    EXPECT_NEAR(model.power->b, 1.15, 0.2 * 1.15);
}

// Errors exactly on a straight line stay on it through the bins' means: the linear law comes
// back exact, and bins hold about 20 pairs, at least 2 and at most 20 of them.
TEST(ErrorModel, LinearLawAndBins) {
    std::vector<qc::PairPoint> points;
    for (int i = 0; i < 45; ++i)
        points.push_back({.mean = 1.0 + i * i, .error = 0.05 * (1.0 + i * i) + 0.2});
    const qc::ErrorModel model = qc::fit_error_model(points);
    ASSERT_TRUE(model.linear);
    EXPECT_NEAR(model.linear->a, 0.05, 1e-9);
    EXPECT_NEAR(model.linear->b, 0.2, 1e-9);
    EXPECT_EQ(model.bins, 2);
    points.resize(19);
    EXPECT_FALSE(qc::fit_error_model(points).power);
    EXPECT_FALSE(qc::fit_error_model(points).linear);
    points.resize(20);
    EXPECT_EQ(qc::fit_error_model(points).bins, 2);
}

// Each reading's error: its own pair's, else the model's, else its Stdev or the floor, the
// larger. Pairs with e = 1 % of R exactly give the power law |e| = 0.01 R.
TEST(ReadingErrors, EachFromItsSource) {
    std::vector<double> mean, error;
    for (int i = 0; i < 40; ++i) {
        mean.push_back(1.0 + i);
        error.push_back(0.01 * (1.0 + i));
    }
    survey::Line modelled = profile(mean, error);
    modelled.ip_readings.push_back(at(5000, 5005, 5010, 5015, 50));

    survey::Line few; // fewer than 20 pairs: no model
    few.kind = survey::LineKind::Profile;
    few.ip_readings = {at(0, 10, 20, 30, 10),        at(20, 30, 0, 10, 10.4),
                       at(0, 10, 30, 40, 5, 100, 5), at(0, 10, 40, 50, 2, 100, 1),
                       at(0, 10, 50, 60, 2, -3),     at(0, 10, 60, 70, 3),
                       at(0, 10, 60, 70, 3)}; // a repeat agreeing to the last digit

    const qc::DatabaseQc qc = qc::check_database(database({modelled, few}), {});
    ASSERT_EQ(qc.profiles.size(), 2u);
    const qc::ProfileQc &m = qc.profiles[0];
    ASSERT_TRUE(m.model->power);
    EXPECT_NEAR(m.model->power->a, 0.01, 1e-6); // readings hold floats
    EXPECT_NEAR(m.model->power->b, 1.0, 1e-5);
    EXPECT_EQ(m.errors[0].source, qc::ErrorSource::Pair);
    EXPECT_NEAR(m.errors[0].relative, 0.01, 1e-6);
    EXPECT_EQ(m.errors[80].source, qc::ErrorSource::Model);
    EXPECT_NEAR(m.errors[80].relative, 0.01, 1e-6);

    const qc::ProfileQc &f = qc.profiles[1];
    EXPECT_FALSE(f.model->power);
    EXPECT_EQ(f.errors[0].source, qc::ErrorSource::Pair);
    EXPECT_NEAR(f.errors[1].relative, 0.4 / 10.2, 1e-6);
    EXPECT_EQ(f.errors[2].source, qc::ErrorSource::Floor);
    EXPECT_NEAR(f.errors[2].relative, 0.05, 1e-9);        // Stdev 5 %
    EXPECT_NEAR(f.errors[3].relative, 0.03, 1e-9);        // Stdev 1 %, floor 3 %
    EXPECT_EQ(f.errors[4].source, qc::ErrorSource::None); // Ro below 0
    EXPECT_EQ(f.errors[5].source, qc::ErrorSource::Floor);
    EXPECT_TRUE(f.pair_of[6]);

    const qc::DatabaseQc low_floor = qc::check_database(database({few}), {.error_floor = 0.5});
    EXPECT_NEAR(low_floor.profiles[0].errors[3].relative, 0.01, 1e-9);
}

// Two profiles of 10 pairs each: too few for a model of its own, enough together.
TEST(ReadingErrors, SurveyScopeFitsOverEveryProfile) {
    std::vector<double> mean, error;
    for (int i = 0; i < 10; ++i) {
        mean.push_back(1.0 + i);
        error.push_back(0.01 * (1.0 + i));
    }
    const survey::Database db = database({profile(mean, error), profile(mean, error)});
    const qc::DatabaseQc by_profile = qc::check_database(db, {});
    const qc::DatabaseQc by_survey = qc::check_database(db, {.scope = qc::ErrorScope::Survey});
    EXPECT_FALSE(by_profile.profiles[1].model->power);
    ASSERT_TRUE(by_survey.profiles[1].model->power);
    EXPECT_EQ(by_survey.profiles[1].model->pairs, 20);
    EXPECT_EQ(by_survey.profiles[0].model, by_survey.profiles[1].model);
}

} // namespace

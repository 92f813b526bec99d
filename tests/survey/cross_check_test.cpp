// The survey model against the decoder: generated VIREL and KX-4 databases are converted, and
// every reading the model reads from the converted database must show the values the decoder
// wrote for it in the survey text file and the pseudo-section file.
#include "../dumpdec/conversion_fixture.h"
#include "samples.h"
#include "survey_reader.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

using ravelin::test::ConversionTest;
using ravelin::test::RawBuilder;

// The lines of a text file whose lines are introduced by "\r\n".
std::vector<std::string> text_lines(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::vector<double> numbers(const std::string &line, char separator) {
    std::vector<double> values;
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, separator);)
        if (field.find_first_not_of(" \t") != std::string::npos)
            values.push_back(std::strtod(field.c_str(), nullptr));
    return values;
}

// Printed with three decimals.
constexpr double kPrinted = 0.0005 + 1e-9;

class SurveyCrossCheck : public ConversionTest {
  protected:
    survey::Database convert_and_load(const std::vector<std::uint8_t> &raw) {
        write("a.raw", raw);
        const std::int16_t keep = 1;
        EXPECT_EQ(dumpdec::convert(path("a.raw"), &keep).result, 1);
        const survey::LoadResult loaded = survey::load_database(path("a.tvd"));
        EXPECT_TRUE(loaded.complete()) << survey::stop_reason(loaded);
        return loaded.database;
    }
};

TEST_F(SurveyCrossCheck, VirelReadingsEqualTheSurveyTextAndPseudoSectionFiles) {
    ravelin::sample::VirelShape shape;
    shape.profiles_per_survey = 9; // every array once
    shape.surveys = 2;
    const survey::Database db = convert_and_load(ravelin::sample::build_virel(shape));

    std::vector<std::pair<const survey::Line *, const survey::IpReading *>> readings;
    for (const survey::Survey &s : db.surveys)
        for (const survey::Line &line : s.lines)
            for (const survey::IpReading &r : line.ip_readings)
                readings.emplace_back(&line, &r);

    std::size_t next = 0;
    for (const std::string &text : text_lines(read("a.txt"))) {
        if (text.empty() || text[0] != ' ') continue; // only IP data lines begin with a blank
        ASSERT_LT(next, readings.size()) << text;
        const auto [line, r] = readings[next++];
        const std::vector<double> v = numbers(text, ',');
        ASSERT_GE(v.size(), 12u) << text;
        const double *measured = &v[v.size() - 10]; // Ro, Sd, SP, RC, Vp, Itx, M1 to M4
        EXPECT_NEAR(r->ro, measured[0], kPrinted) << text;
        EXPECT_NEAR(r->stdev, measured[1], kPrinted) << text;
        EXPECT_EQ(r->sp, measured[2]) << text;
        EXPECT_EQ(r->res_con, measured[3]) << text;
        EXPECT_NEAR(r->vp, measured[4], kPrinted) << text;
        EXPECT_NEAR(r->itx, measured[5], kPrinted) << text;
        ASSERT_EQ(r->m.size(), static_cast<std::size_t>(shape.window_count));
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(r->m[k], measured[6 + k], kPrinted) << text;
    }
    EXPECT_EQ(next, readings.size());

    // The pseudo-section file: one line per profile reading, RHO-A the size of Ro.
    std::vector<const survey::IpReading *> profile_readings;
    for (const auto &[line, r] : readings)
        if (line->kind == survey::LineKind::Profile) profile_readings.push_back(r);
    std::size_t i2d_line = 0;
    for (const std::string &text : text_lines(read("a.i2d"))) {
        if (text.empty() || text[0] == '/' || text.rfind("LINE", 0) == 0) continue;
        ASSERT_LT(i2d_line, profile_readings.size());
        EXPECT_NEAR(std::fabs(profile_readings[i2d_line++]->ro), numbers(text, ',')[2], kPrinted);
    }
    EXPECT_EQ(i2d_line, profile_readings.size());
}

TEST_F(SurveyCrossCheck, BoreHoleReadingsEqualTheDepthLogFiles) {
    const survey::Database db = convert_and_load(ravelin::sample::build_virel({}));
    const std::pair<survey::BoreHoleLog, const char *> logs[] = {
        {survey::BoreHoleLog::ShortNormal, "a.sn"},
        {survey::BoreHoleLog::LongNormal, "a.ln"},
        {survey::BoreHoleLog::Lateral, "a.lat"},
        {survey::BoreHoleLog::Fluid, "a.con"},
        {survey::BoreHoleLog::SelfPotential, "a.sp"}};
    for (const auto &[log, file] : logs) {
        std::vector<const survey::BoreHoleReading *> readings;
        for (const survey::Survey &s : db.surveys)
            for (const survey::Line &line : s.lines)
                for (const survey::BoreHoleReading &b : line.bore_hole_readings)
                    if (b.log == log) readings.push_back(&b);
        std::size_t next = 0;
        for (const std::string &text : text_lines(read(file))) {
            if (text.empty()) continue;
            ASSERT_LT(next, readings.size()) << file;
            const survey::BoreHoleReading &b = *readings[next++];
            const std::vector<double> v = numbers(text, '\t'); // Depth, then the log's values
            ASSERT_GE(v.size(), 2u) << text;
            EXPECT_NEAR(b.depth, v[0], kPrinted) << text;
            if (log == survey::BoreHoleLog::SelfPotential) {
                EXPECT_EQ(b.sp, v[1]) << text;
            } else {
                EXPECT_NEAR(b.resistivity, v[1], kPrinted) << text;
                ASSERT_EQ(v.size(), 3u) << text;
                if (log == survey::BoreHoleLog::Fluid)
                    EXPECT_NEAR(b.temperature, v[2], 0.05 + 1e-9) << text;
                else
                    EXPECT_EQ(b.sp, v[2]) << text;
            }
        }
        EXPECT_EQ(next, readings.size()) << file;
        EXPECT_GT(next, 0u) << file;
    }
}

TEST_F(SurveyCrossCheck, GravityReadingsEqualTheSurveyTextFile) {
    ravelin::sample::Kx4Shape shape;
    shape.surveys = 2;
    const survey::Database db = convert_and_load(ravelin::sample::build_kx4(shape));
    ASSERT_TRUE(db.instrument.is_kx4);

    std::vector<const survey::GravityReading *> readings;
    for (const survey::Survey &s : db.surveys)
        for (const survey::Line &line : s.lines)
            for (const survey::GravityReading &g : line.gravity_readings)
                readings.push_back(&g);

    std::size_t next = 0;
    for (const std::string &text : text_lines(read("a.txt"))) {
        if (text.empty() || text[0] == '/' || text[0] == 'L') continue;
        ASSERT_LT(next, readings.size()) << text;
        const survey::GravityReading &g = *readings[next++];
        // Y X ALT GRAV SD TILTX TILTY TEMP TIDE DUR REJ HH:MM:SS DEC.TIME TERRAIN YYYY/MM/DD
        std::stringstream fields(text);
        double y, x, alt, grav, sd, tilt_x, tilt_y, temp, tide, dec, terrain;
        int dur, rej, hh, mm, ss, year, month, day;
        char c;
        fields >> y >> x >> alt >> grav >> sd >> tilt_x >> tilt_y >> temp >> tide >> dur >> rej >>
            hh >> c >> mm >> c >> ss >> dec >> terrain >> year >> c >> month >> c >> day;
        ASSERT_TRUE(fields) << text;
        EXPECT_NEAR(g.y, y, 5e-8) << text;
        EXPECT_NEAR(g.x, x, 5e-8) << text;
        EXPECT_NEAR(g.altitude, alt, 5e-5) << text;
        EXPECT_NEAR(g.gravity, grav, kPrinted) << text;
        EXPECT_NEAR(g.standard_deviation, sd, kPrinted) << text;
        EXPECT_NEAR(g.tilt_x, tilt_x, 0.05 + 1e-9) << text;
        EXPECT_NEAR(g.tilt_y, tilt_y, 0.05 + 1e-9) << text;
        EXPECT_NEAR(g.temperature, temp, 0.005 + 1e-9) << text;
        EXPECT_NEAR(g.tide, tide, kPrinted) << text;
        EXPECT_EQ(g.duration, dur);
        EXPECT_EQ(g.rejected, rej);
        EXPECT_EQ(g.time_ms / 1000, static_cast<std::uint32_t>(hh * 3600 + mm * 60 + ss)) << text;
        EXPECT_NEAR(g.terrain_correction, terrain, 0.00005 + 1e-9) << text;
        EXPECT_EQ(g.date.year, year);
        EXPECT_EQ(g.date.month(), month);
        EXPECT_EQ(g.date.day(), day);
    }
    EXPECT_EQ(next, readings.size());
}

} // namespace

// The exports on arbitrary bytes as a converted database: every format is written from whatever
// the survey model reads, without a fault, and the numbers stay in the form the readers take.
#include "fuzz_harness.h"
#include "gravity_csv_writer.h"
#include "ohm_writer.h"
#include "reading_errors.h"
#include "res2dinv_writer.h"
#include "survey_input.h"
#include "table_csv_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace ravelin::fuzz;

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    return database_seeds(ravelin::test::ByteOrder::kLittle);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    return 0;
}

namespace {

// Lines of numbers hold no letters: readers reject exponents and misread "nan" or "inf". The
// title and the format's words ("Chargeability", "# x z", ...) begin with a letter or "#".
void check_plain_numbers(std::string_view text) {
    std::size_t start = text.find('\n') + 1; // after the title or the electrode count
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string_view line(text.data() + start, end - start);
        if (line.empty() || !(line[0] == '-' || (line[0] >= '0' && line[0] <= '9'))) continue;
        if (line.find('#') != std::string_view::npos) continue; // a count with its comment
        check(std::none_of(line.begin(), line.end(),
                           [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }),
              "a number a reader cannot take");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const survey::Database database = read_survey(data, size).database;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines) {
            const exports::ProfileReadings selected =
                exports::select_profile_readings(line.ip_readings);
            for (const exports::ReadingGroup &group : selected.groups) {
                const exports::ProfileElectrodes electrodes(group.readings);
                exports::TextOut ohm, res2dinv;
                exports::ohm_text(group, electrodes, ohm);
                check_plain_numbers(ohm.text());
                exports::res2dinv_text("title", group, electrodes, res2dinv);
                check_plain_numbers(res2dinv.text());
            }
        }
    // Every reading an inversion file takes gets an error it can weight by: finite, above 0.
    for (qc::ErrorScope scope : {qc::ErrorScope::Profile, qc::ErrorScope::Survey})
        for (const qc::ProfileQc &profile : qc::check_database(database, {.scope = scope}).profiles)
            for (const qc::ReadingError &e : profile.errors)
                check(e.source == qc::ErrorSource::None ||
                          (std::isfinite(e.relative) && e.relative > 0),
                      "an error an inversion cannot weight by");
    // Readers split a gravity line at "/" and ":": exactly the date's and the time's.
    exports::TextOut csv;
    exports::gravity_csv(database, {.utc_offset_hours = -3.5}, csv);
    const std::string_view text = csv.text();
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string_view row(text.data() + start, end - start);
        if (start == 0 || row.starts_with('%')) continue;
        check(std::count(row.begin(), row.end(), '/') == 2 &&
                  std::count(row.begin(), row.end(), ':') == 2,
              "a gravity line a reader splits wrongly");
    }
    exports::TextOut tables;
    const qc::DatabaseQc checked = qc::check_database(database, {});
    exports::ip_table_csv(database, {.checked = &checked, .errors = qc::ErrorChoice::Pairs},
                          tables);
    exports::gravity_table_csv(database, tables);
    return 0;
}

// Line.errors(): the quality control of a line's IP readings, each reading's pair and error.
#include "module_parts.h"
#include "numpy_columns.h"

#include <string>
#include <vector>

namespace ravelin::python {

namespace {

qc::QcOptions qc_options(const std::string &scope, double error_floor) {
    qc::QcOptions options;
    const std::optional<qc::ErrorScope> named = qc::error_scope(scope);
    if (!named) throw py::value_error(std::string("scope ") + qc::kErrorScopeRule);
    if (!qc::error_floor_allowed(error_floor))
        throw py::value_error(std::string("error_floor ") + qc::kErrorFloorRule);
    options.scope = *named;
    options.error_floor = error_floor;
    return options;
}

} // namespace

py::dict line_errors(const LineRef &line, const std::string &scope, double error_floor) {
    const qc::DatabaseQc &qc = line.database->check(qc_options(scope, error_floor));
    const std::size_t count = line.get().ip_readings.size();
    std::vector<qc::ReadingError> errors(count); // source None: a line the checks pass by
    std::vector<std::ptrdiff_t> partner(count, -1);
    std::vector<std::string> pair_kind(count);
    for (const qc::ProfileQc &profile : qc.profiles) {
        if (profile.survey != line.survey || profile.line != line.line) continue;
        errors = profile.errors;
        for (std::size_t i = 0; i < count; ++i) {
            if (!profile.pair_of[i]) continue;
            const qc::Pair &p = profile.pairs[*profile.pair_of[i]];
            partner[i] = static_cast<std::ptrdiff_t>(p.first == i ? p.second : p.first);
            pair_kind[i] = p.kind == qc::PairKind::Repeat ? "repeat" : "reciprocal";
        }
    }
    std::vector<std::string> sources;
    for (const qc::ReadingError &e : errors)
        sources.emplace_back(qc::error_source_name(e.source));
    py::dict d;
    d["relative_error"] = column_of<double>(errors, [](const qc::ReadingError &e) {
        return e.source == qc::ErrorSource::None ? kNaN : e.relative;
    });
    d["source"] = texts(sources);
    d["pair"] = column_of<std::int64_t>(partner, [](std::ptrdiff_t i) { return i; });
    d["pair_kind"] = texts(pair_kind);
    return d;
}

} // namespace ravelin::python

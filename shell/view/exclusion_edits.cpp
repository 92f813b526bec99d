#include "exclusion_edits.h"

#include "pairs.h"

namespace {

bool same(const exports::Exclusion &x, const exports::Exclusion &y) {
    return x.survey == y.survey && x.line == y.line && x.electrodes == y.electrodes &&
           x.occurrence == y.occurrence;
}

} // namespace

const std::vector<std::string> &ExclusionEdits::open(const survey::Database *database,
                                                     const std::string &tvd_path) {
    database_ = database;
    path_ = exports::exclusions_path(tvd_path);
    exclusions_ = exports::read_exclusions(path_);
    lines_ = exports::excluded_lines(exclusions_, *database);
    undo_.clear();
    return exclusions_.errors;
}

bool ExclusionEdits::excluded(std::size_t survey, std::size_t line, std::size_t index) const {
    const auto found = lines_.find({survey, line});
    return found != lines_.end() && index < found->second.size() && found->second[index];
}

bool ExclusionEdits::excludable(std::size_t survey, std::size_t line, std::size_t index) const {
    return database_ &&
           qc::electrode_keys(database_->surveys[survey].lines[line].ip_readings[index])
               .has_value();
}

bool ExclusionEdits::toggle(std::size_t survey, std::size_t line, std::size_t index,
                            const std::string &reason) {
    if (!editable() || !excludable(survey, line, index)) return false;
    std::vector<exports::Exclusion> entries;
    if (!excluded(survey, line, index)) {
        entries = exclusions_.entries;
        entries.push_back(exports::exclusion_of(*database_, survey, line, index, reason));
        return commit(std::move(entries));
    }
    // Every entry that names the reading goes; the other readings an entry named without saying
    // which (all those at its electrodes) stay left out, each by an entry of its own.
    const std::vector<survey::IpReading> &readings =
        database_->surveys[survey].lines[line].ip_readings;
    const std::string key = exports::line_key(database_->surveys[survey], line);
    std::vector<exports::Exclusion> named_others;
    for (const exports::Exclusion &e : exclusions_.entries) {
        const std::vector<bool> named =
            e.survey == survey && e.line == key
                ? exports::excluded_readings({.entries = {e}, .errors = {}}, survey, key, readings)
                : std::vector<bool>{};
        if (named.empty() || !named[index]) {
            entries.push_back(e);
            continue;
        }
        for (std::size_t j = 0; j < named.size(); ++j)
            if (named[j] && j != index)
                named_others.push_back(
                    exports::exclusion_of(*database_, survey, line, j, e.reason));
    }
    for (const exports::Exclusion &e : named_others) {
        bool known = false;
        for (const exports::Exclusion &kept : entries)
            known = known || same(kept, e);
        if (!known) entries.push_back(e);
    }
    return commit(std::move(entries));
}

bool ExclusionEdits::undo() {
    if (undo_.empty()) return false;
    std::vector<exports::Exclusion> before = undo_.back();
    if (!replace(std::move(before))) return false;
    undo_.pop_back();
    return true;
}

bool ExclusionEdits::commit(std::vector<exports::Exclusion> entries) {
    std::vector<exports::Exclusion> before = exclusions_.entries;
    if (!replace(std::move(entries))) return false;
    undo_.push_back(std::move(before));
    return true;
}

bool ExclusionEdits::replace(std::vector<exports::Exclusion> entries) {
    if (!exports::write_exclusions(path_, entries)) return false;
    exclusions_.entries = std::move(entries);
    lines_ = exports::excluded_lines(exclusions_, *database_);
    return true;
}

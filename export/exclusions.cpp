#include "exclusions.h"

#include "atomic_file.h"
#include "electrode_layout.h"
#include "line_names.h"
#include "output_name.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace exports {

namespace {

constexpr const char *kHead = "# Readings left out by hand: survey, line, A B M N in metres "
                              "(remote: far away), which of the readings at those electrodes "
                              "(none: all), # reason\n";

std::string position_text(qc::ElectrodeKey key) {
    if (key == qc::kRemote) return "remote";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(key) / 1000.0);
    return text;
}

std::optional<qc::ElectrodeKey> position_key(const std::string &word) {
    if (word == "remote") return qc::kRemote;
    char *end = nullptr;
    const double x = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !(std::fabs(x) <= survey::kFarthestPosition))
        return std::nullopt;
    return std::llround(x * 1000.0);
}

std::optional<Exclusion> parse(const std::string &text) {
    const std::size_t hash = text.find('#');
    std::istringstream in(text.substr(0, hash));
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    if (words.size() != 6 && words.size() != 7) return std::nullopt;
    Exclusion e;
    if (words[0].size() < 2 || words[0][0] != 'S') return std::nullopt;
    const unsigned long number = std::strtoul(words[0].c_str() + 1, nullptr, 10);
    if (number == 0) return std::nullopt;
    e.survey = number - 1;
    e.line = words[1];
    for (std::size_t k = 0; k < 4; ++k) {
        const std::optional<qc::ElectrodeKey> key = position_key(words[2 + k]);
        if (!key) return std::nullopt;
        e.electrodes[k] = *key;
    }
    if (words.size() == 7) {
        e.occurrence = std::atoi(words[6].c_str());
        if (e.occurrence < 1) return std::nullopt;
    }
    if (hash != std::string::npos) {
        e.reason = text.substr(hash + 1);
        e.reason.erase(0, e.reason.find_first_not_of(' '));
    }
    return e;
}

// Which of the line's readings at the same electrodes reading index is, from 1, and how many
// there are.
std::pair<int, int> occurrence(const std::vector<survey::IpReading> &readings, std::size_t index,
                               const std::array<qc::ElectrodeKey, 4> &keys) {
    int before = 0, all = 0;
    for (std::size_t i = 0; i < readings.size(); ++i)
        if (qc::electrode_keys(readings[i]) == keys) {
            ++all;
            if (i <= index) ++before;
        }
    return {before, all};
}

} // namespace

std::string exclusions_path(const std::string &tvd_path) {
    return ravelin::output_name(tvd_path, ".exclude");
}

Exclusions read_exclusions(const std::string &path) {
    Exclusions out;
    std::ifstream in(path);
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find_first_not_of(' ') == std::string::npos || text[0] == '#') continue;
        if (const std::optional<Exclusion> e = parse(text))
            out.entries.push_back(*e);
        else
            out.errors.push_back(std::string(path)
                                     .append(1, ':')
                                     .append(std::to_string(number))
                                     .append(": not a reading: ")
                                     .append(text));
    }
    return out;
}

bool write_exclusions(const std::string &path, const std::vector<Exclusion> &entries) {
    if (entries.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return !std::filesystem::exists(path, ignored);
    }
    FileBatch batch;
    const std::string error = batch.stage(path, [&](TextOut &out) {
        out.append(kHead);
        for (const Exclusion &e : entries) {
            std::string line(1, 'S');
            line.append(std::to_string(e.survey + 1)).append(1, ' ').append(e.line);
            for (qc::ElectrodeKey key : e.electrodes)
                line.append(1, ' ').append(position_text(key));
            if (e.occurrence > 0) line.append(1, ' ').append(std::to_string(e.occurrence));
            line.append(" # ");
            for (char c : e.reason)
                line += c == '\n' || c == '\r' ? ' ' : c;
            line.push_back('\n');
            out.append(line);
        }
        return true;
    });
    return error.empty() && batch.commit().errors.empty();
}

std::string line_key(const survey::Survey &survey, std::size_t line) {
    const std::string part = line_file_part(survey.lines[line]);
    int same = 0;
    for (std::size_t l = 0; l < line; ++l)
        same += line_file_part(survey.lines[l]) == part ? 1 : 0;
    if (same == 0) return part;
    return std::string(part).append(1, '-').append(std::to_string(same + 1));
}

Exclusion exclusion_of(const survey::Database &database, std::size_t survey, std::size_t line,
                       std::size_t index, const std::string &reason) {
    const std::vector<survey::IpReading> &readings =
        database.surveys[survey].lines[line].ip_readings;
    Exclusion e;
    e.survey = survey;
    e.line = line_key(database.surveys[survey], line);
    e.electrodes = qc::electrode_keys(readings[index]).value_or(e.electrodes);
    const auto [which, all] = occurrence(readings, index, e.electrodes);
    e.occurrence = all > 1 ? which : 0;
    e.reason = reason;
    return e;
}

std::vector<bool> excluded_readings(const Exclusions &exclusions, std::size_t survey,
                                    const std::string &line,
                                    const std::vector<survey::IpReading> &readings) {
    std::vector<bool> excluded(readings.size(), false);
    std::vector<const Exclusion *> mine;
    for (const Exclusion &e : exclusions.entries)
        if (e.survey == survey && e.line == line) mine.push_back(&e);
    if (mine.empty()) return excluded;
    for (const Exclusion *e : mine) {
        int seen = 0;
        for (std::size_t i = 0; i < readings.size(); ++i) {
            if (qc::electrode_keys(readings[i]) != e->electrodes) continue;
            ++seen;
            if (e->occurrence == 0 || e->occurrence == seen) excluded[i] = true;
        }
    }
    return excluded;
}

ExcludedLines excluded_lines(const Exclusions &exclusions, const survey::Database &database) {
    ExcludedLines out;
    if (exclusions.entries.empty()) return out;
    for (std::size_t s = 0; s < database.surveys.size(); ++s) {
        const survey::Survey &survey = database.surveys[s];
        for (std::size_t l = 0; l < survey.lines.size(); ++l) {
            const std::vector<survey::IpReading> &readings = survey.lines[l].ip_readings;
            if (readings.empty()) continue;
            std::vector<bool> excluded =
                excluded_readings(exclusions, s, line_key(survey, l), readings);
            if (std::find(excluded.begin(), excluded.end(), true) != excluded.end())
                out.emplace(std::pair{s, l}, std::move(excluded));
        }
    }
    return out;
}

} // namespace exports

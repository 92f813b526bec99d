// Readings left out by hand, kept beside the database in NAME.exclude (never in the database):
// one line per reading, "S1 L100N A B M N [K] # reason", the survey's number in the file, the
// line as the export file names give it ("-2" for the second line of that name in the survey),
// the four electrodes' positions in metres ("remote" for a remote electrode) and, where a line
// holds several readings at those electrodes in that order, K, which of them counting from 1.
// Without K every reading at those electrodes is meant. Lines starting with "#" are comments.
#pragma once

#include "pairs.h"
#include "survey_model.h"

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace exports {

struct Exclusion {
    std::size_t survey = 0; // index in the database
    std::string line;       // line_key()
    std::array<qc::ElectrodeKey, 4> electrodes{};
    int occurrence = 0; // 0: every reading at those electrodes
    std::string reason;
};

struct Exclusions {
    std::vector<Exclusion> entries;
    std::vector<std::string> errors; // lines that could not be read, with their numbers
};

// NAME.exclude beside the database, NAME as the exports name their files.
std::string exclusions_path(const std::string &tvd_path);

// The lines of the file; no file is no exclusion.
Exclusions read_exclusions(const std::string &path);

// Writes the file whole (complete or not at all); an empty list removes it. False on failure.
bool write_exclusions(const std::string &path, const std::vector<Exclusion> &entries);

// The name of line index of a survey: line_file_part(), with "-2", "-3" for later lines of the
// same name.
std::string line_key(const survey::Survey &survey, std::size_t line);

// The entry that names reading index of a line (its occurrence counted among the line's readings
// at the same electrodes).
Exclusion exclusion_of(const survey::Database &database, std::size_t survey, std::size_t line,
                       std::size_t index, const std::string &reason);

// Per reading of the line, whether an entry names it.
std::vector<bool> excluded_readings(const Exclusions &exclusions, std::size_t survey,
                                    const std::string &line,
                                    const std::vector<survey::IpReading> &readings);

// The lines of a database with readings left out by hand, by (survey, line) index: per reading
// of the line, whether an entry names it.
using ExcludedLines = std::map<std::pair<std::size_t, std::size_t>, std::vector<bool>>;
ExcludedLines excluded_lines(const Exclusions &exclusions, const survey::Database &database);

} // namespace exports

// A database's readings of one kind cut into runs, the pieces a table is formatted in two at a
// time (text_pieces.h): each run lies within one line and holds at most kRunReadings readings,
// so that the piece held aside stays small however long a line is.
#pragma once

#include "survey_model.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace exports {

struct LineRun {
    const survey::Survey *survey = nullptr;
    const survey::Line *line = nullptr;
    std::size_t begin = 0, end = 0; // the line's readings of the kind, [begin, end)
};

inline constexpr std::size_t kRunReadings = 1000;

// The runs of the readings count(line) says each line holds, in the order of the database.
template <typename Count>
std::vector<LineRun> line_runs(const survey::Database &database, Count count) {
    std::vector<LineRun> runs;
    for (const survey::Survey &s : database.surveys)
        for (const survey::Line &line : s.lines) {
            const std::size_t readings = count(line);
            for (std::size_t begin = 0; begin < readings; begin += kRunReadings)
                runs.push_back({&s, &line, begin, std::min(readings, begin + kRunReadings)});
        }
    return runs;
}

// The runs of the KX-4 gravity readings.
inline std::vector<LineRun> gravity_runs(const survey::Database &database) {
    return line_runs(database,
                     [](const survey::Line &line) { return line.gravity_readings.size(); });
}

// How many readings the runs hold.
inline std::size_t reading_count(const std::vector<LineRun> &runs) {
    std::size_t count = 0;
    for (const LineRun &run : runs)
        count += run.end - run.begin;
    return count;
}

} // namespace exports

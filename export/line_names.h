// How a line is named in titles, spreadsheet columns and file names.
#pragma once

#include "survey_model.h"

#include <string>

namespace exports {

// "200N" for a profile at northing 200, "120.5W" at easting -120.5 (the survey text file's
// letters).
std::string line_position(const survey::ProfileHeader &profile);

// "Line 200N", "Sounding VES-1", "Bore hole BH-1", or "" for readings before any line header.
std::string line_title(const survey::Line &line);

// A line's part of a file name: "L200N", safe in any file system.
std::string line_file_part(const survey::Line &line);

} // namespace exports

// The ".xyz" file: the survey text file's data lines, without its heading and comment lines
// (first character "/") and the lines that open a profile (first character "L").
#pragma once

#include <QString>

namespace ravelin {

// Creates (or empties) xyzPath first, then copies the kept lines of surveyPath, each ended by
// "\r\n" like the survey text file's own lines. Returns false with a description in *failure
// when a file cannot be opened, read or written; the ".xyz" file then stays as far as it got.
bool writeXyzFile(const QString &surveyPath, const QString &xyzPath, QString *failure);

} // namespace ravelin

// The printout of the survey text file: Courier New 8 pt, the file's first (empty) line left
// out, every line indented by ten spaces, lines that do not begin with a space in bold, and a
// drawn rule in place of a line of dashes.
#pragma once

#include "print_surface.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace ravelin {

// Writes the lines (as read from the survey text file, first line included) to the surface and
// ends the document.
bool printSurveyLines(const QList<QByteArray> &lines, PrintSurface &surface, QString *failure);

// Where a printout went.
struct PrintResult {
    bool ok = false;
    QString failure;
    QString pdfPath; // set when no printer is installed and the page went to this PDF file
};

// Prints surveyPath on the default printer or, where no printer is installed, writes the same
// pages to pdfPath. Nothing is started when the survey text file is missing or empty.
PrintResult printSurveyTextFile(const QString &surveyPath, const QString &pdfPath);

} // namespace ravelin

// The export choices the View page offers for the database it shows, and what it says after an
// export. No widgets here: the page shows the labels and the text.
#pragma once

#include "export_files.h"

#include <QString>

#include <vector>

struct ExportChoice {
    exports::Format format;
    bool in_utc = false; // gravity CSV: ask for the meter's time zone and shift times to UTC
    QString label;
};

std::vector<ExportChoice> exportChoices();

// "Exported N files: NAMES." followed by the notes, or "Export failed: ..." with every reason;
// file names without their folder, which the page names once.
QString exportReport(const exports::ExportOutcome &outcome);

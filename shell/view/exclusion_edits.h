// The readings left out by hand while the View page shows a database: read from NAME.exclude
// beside it, changed one reading at a time, and the file written whole after each change; every
// change can be undone. Plain C++: the QC view only asks and tells.
#pragma once

#include "exclusions.h"

#include <string>
#include <vector>

class ExclusionEdits {
  public:
    // Reads NAME.exclude beside tvd_path for database (which outlives the use of it) and forgets
    // the changes of the database before. Returns the lines of the file that could not be read.
    const std::vector<std::string> &open(const survey::Database *database,
                                         const std::string &tvd_path);

    // Per line with readings left out, per reading whether it is.
    const exports::ExcludedLines &lines() const { return lines_; }
    bool excluded(std::size_t survey, std::size_t line, std::size_t index) const;

    // Whether the file can be changed: every line of it was read (a line that could not be read
    // would be lost when the file is written whole).
    bool editable() const { return database_ && exclusions_.errors.empty(); }
    // Whether a reading can be named in the file: its electrodes are within reach.
    bool excludable(std::size_t survey, std::size_t line, std::size_t index) const;

    // Leaves reading index of the line out (with the reason as the file's comment) or takes it
    // back, and writes the file. False, with nothing changed, when it cannot be written.
    bool toggle(std::size_t survey, std::size_t line, std::size_t index, const std::string &reason);

    bool canUndo() const { return !undo_.empty(); }
    // Takes the last change back and writes the file; false when it cannot be written.
    bool undo();

    const std::string &path() const { return path_; }

  private:
    // Writes entries as the file and keeps the entries before for undo.
    bool commit(std::vector<exports::Exclusion> entries);
    // Writes entries as the file; on success they are the exclusions.
    bool replace(std::vector<exports::Exclusion> entries);

    const survey::Database *database_ = nullptr;
    std::string path_;
    exports::Exclusions exclusions_;
    exports::ExcludedLines lines_;
    std::vector<std::vector<exports::Exclusion>> undo_; // the entries before each change
};

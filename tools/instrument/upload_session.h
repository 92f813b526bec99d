// The instrument's side of an operating-system upload: 0x11 asks for each line, 0x0F for the
// same line again; every line arrives ended by CR LF.
#pragma once

#include "instrument_options.h"
#include "serial_line.h"

#include <fstream>
#include <optional>
#include <random>
#include <string>

namespace instrument {

struct UploadReport {
    size_t lines = 0;
    size_t repeatsAsked = 0;
    size_t repeatsDiffering = 0; // a repeated line that did not match its first copy
};

class UploadSession {
  public:
    // Received lines go to `out`, each followed by CR LF.
    UploadSession(SerialLine &line, const Options &options, std::ofstream &out);
    UploadReport run();

  private:
    // One line without its CR LF; nothing when the PC stays quiet or closes the line before the
    // line starts. Throws for a line cut off half way.
    std::optional<std::string> receiveLine();
    std::runtime_error endedEarly(const std::string &what) const;
    bool asksAgain(size_t lineNumber);

    SerialLine &line_;
    const Options &options_;
    std::ofstream &out_;
    std::mt19937 random_;
    UploadReport report_;
};

} // namespace instrument

#include "line_names.h"

#include "number_text.h"

#include <cmath>

namespace exports {

std::string line_position(const survey::ProfileHeader &p) {
    std::string position = compact(std::fabs(p.line_pos), 3);
    position += p.direction();
    return position;
}

std::string line_title(const survey::Line &line) {
    std::string title;
    switch (line.kind) {
    case survey::LineKind::Profile:
        title = "Line ";
        title += line_position(line.profile);
        break;
    case survey::LineKind::Sounding:
        title = "Sounding ";
        title += line.sounding.name;
        break;
    case survey::LineKind::BoreHole:
        title = "Bore hole ";
        title += line.bore_hole.name;
        break;
    case survey::LineKind::Unheaded:
        break;
    }
    return title;
}

std::string line_file_part(const survey::Line &line) {
    std::string part = "L";
    part += line_position(line.profile);
    for (char &c : part)
        if (c == '/' || c == '\\' || c == ':' || c == ' ') c = '_';
    return part;
}

} // namespace exports

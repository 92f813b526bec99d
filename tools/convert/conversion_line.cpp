#include "conversion_line.h"

namespace ravelin::convert_tool {

const char *stop_note(dumpdec::PassEnd end) {
    switch (end) {
    case dumpdec::PassEnd::kBadRecord:
        return "stopped at an unknown record";
    case dumpdec::PassEnd::kBadLength:
        return "stopped at an impossible record length";
    case dumpdec::PassEnd::kTableFull:
        return "stopped: too many surveys or lines";
    default:
        return "the last record is cut short";
    }
}

std::string conversion_line(const std::string &path, const dumpdec::ConversionReport &report) {
    std::string line = path + ": ";
    if (report.result != 1) return line + "FAILED: " + report.failure;
    line += "converted";
    if (!report.read_whole) {
        line += " (";
        line += stop_note(report.pass_end);
        line += "; raw database kept)";
    }
    line += " ->";
    for (const std::string &file : report.files_written)
        line += " " + file;
    return line;
}

int file_status(const dumpdec::ConversionReport &report) {
    if (report.result != 1) return kSomeFailed;
    return report.read_whole ? kAllConverted : kConvertedInPart;
}

int run_status(int so_far, int file) {
    if (so_far == kSomeFailed || file == kSomeFailed) return kSomeFailed;
    if (so_far == kConvertedInPart || file == kConvertedInPart) return kConvertedInPart;
    return kAllConverted;
}

} // namespace ravelin::convert_tool

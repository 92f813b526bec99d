// The files a conversion writes, and the lines written into them.
#pragma once

#include "block_writer.h"
#include "files.h"
#include "line_format.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace dumpdec {

// The eleven names derived from the input path.
struct OutputNames {
    std::string tvd, log, tmp, txt, i2d, sn, ln, lat, sp, con, smp;
    explicit OutputNames(std::string_view input_path);
};

// The five bore hole log files, created on first use.
enum class BoreLog { kShortNormal, kLongNormal, kLateral, kFluid, kSp, kCount };

struct Outputs {
    explicit Outputs(std::string_view input_path) : names(input_path) {}

    OutputNames names;
    BlockWriter block_writer;  // before the files: they hand it blocks until they close
    OutputFile intermediate;   // .tmp
    OutputFile listing;        // .log
    OutputFile survey_text;    // .txt
    OutputFile pseudo_section; // .i2d
    OutputFile raw_samples;    // .smp
    OutputFile converted;      // .tvd
    std::array<OutputFile, static_cast<std::size_t>(BoreLog::kCount)> bore_logs;
    std::array<bool, static_cast<std::size_t>(BoreLog::kCount)> bore_log_opened{};

    // Creates a bore hole log file on first use; false when it cannot be created.
    bool open_bore_log(BoreLog which);
    OutputFile &bore_log(BoreLog which) { return bore_logs[static_cast<std::size_t>(which)]; }
    const std::string &bore_log_name(BoreLog which) const;
};

// printf-style line, formatted into the file's block (line_format.h).
template <FormatString F, typename... Args>
inline void print(OutputFile &file, Format<F> format, const Args &...args) {
    if (char *at = file.reserve(line_room(format, args...))) [[likely]] {
        if (char *end = format_into(at, format, args...)) [[likely]] {
            file.commit(end);
            return;
        }
    }
    if (!file.is_open()) return;
    const auto write = [](void *target, const char *bytes, std::size_t size) {
        static_cast<OutputFile *>(target)->write(bytes, size);
    };
    write_line({&file, write}, format, args...);
}

inline void put(OutputFile &file, std::string_view text) {
    file.write(text.data(), text.size());
}

} // namespace dumpdec

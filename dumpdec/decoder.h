// The state of one conversion and the primitives every record handler works with.
//
// A Decoder is made per conversion, so conversions in different threads never share state.
// Handlers see the current record in `record_buffer` (header little-endian in bytes 0..3, body
// as read from offset 4) and convert their fields in place with the convert_* helpers, which
// never touch a byte beyond `record_length`: a field that lies beyond the record reads as 0.
#pragma once

#include "files.h"
#include "line_format.h"
#include "link_table.h"
#include "record_layout.h"

#include <array>
#include <bit>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace dumpdec {

inline constexpr std::size_t kRecordBufferSize = 25000;
using ravelin::kNoLink;

// Why the first pass stopped. Only kEndMarker and kLengthTest mean the raw database was read
// whole; the others leave data in it that the converted database does not hold. kTableFull is
// the guard of the link tables, which no sound database reaches (link_table.h).
enum class PassEnd { kRunning, kEndMarker, kLengthTest, kBadRecord, kBadLength, kTableFull };

// The eleven names derived from the input path.
struct OutputNames {
    std::string tvd, log, tmp, txt, i2d, sn, ln, lat, sp, con, smp;
    explicit OutputNames(std::string_view input_path);
};

// A decoded copy of a header record, numeric fields in host order, read by later records.
template <std::size_t N> struct KeptRecord {
    std::array<std::uint8_t, N> bytes{};

    std::uint8_t u8(std::size_t offset) const { return offset < N ? bytes[offset] : 0; }
    std::uint16_t u16(std::size_t offset) const {
        return static_cast<std::uint16_t>(le(offset, 2));
    }
    std::uint32_t u32(std::size_t offset) const {
        return static_cast<std::uint32_t>(le(offset, 4));
    }
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    float f32(std::size_t offset) const;
    double f64(std::size_t offset) const;
    // NUL-terminated text of a fixed-width field; a full field without NUL is taken whole.
    std::string text(std::size_t offset, std::size_t width) const;

  private:
    std::uint64_t le(std::size_t offset, std::size_t width) const {
        std::uint64_t value = 0;
        for (std::size_t i = width; i-- > 0;)
            value = value << 8 | u8(offset + i);
        return value;
    }
};

// What IPI, Array and Sounding records set for the readings that follow (ip.cpp, ip_data.cpp).
struct IpState {
    std::uint16_t operating_mode = 0;
    std::uint32_t window_count = 0;
    std::uint16_t array_code = 0;
    std::string column_names;
    // The pseudo-section geometry of the current profile, from its first reading.
    float i2d_spacing = 0.0f;
    float i2d_left_electrode = 0.0f;
};

// Which titled sections of the survey text file the current bore hole has opened
// (borehole.cpp).
struct BoreHoleSections {
    bool res_title_written = false;
    bool short_normal_announced = false;
    bool long_normal_announced = false;
    bool lateral_announced = false;
    bool fluid_announced = false;
    bool sp_announced = false;
};

// The five bore hole log files, created on first use.
enum class BoreLog { kShortNormal, kLongNormal, kLateral, kFluid, kSp, kCount };

struct Decoder {
    explicit Decoder(std::string_view input_path) : names(input_path) {}

    // ---- The current record -------------------------------------------------------------
    std::uint16_t record_id = 0;
    std::uint16_t record_length = 0;
    std::array<std::uint8_t, kRecordBufferSize> record_buffer{};
    std::string reading_text; // a reading's text, kept between readings to keep its capacity
    std::uint32_t file_position = 0;
    std::uint32_t dropped_bytes = 0;

    // ---- Instrument and survey ----------------------------------------------------------
    bool instrument_is_kx4 = false;
    std::uint16_t instrument_serial = 0;
    bool column_header_due = false;
    KeptRecord<ravelin::record_size::kSurveyHeader> current_survey_header;
    KeptRecord<ravelin::record_size::kProfileHeader> current_profile_header;
    bool line_is_profile = false;

    // ---- The parts that outlive a record ------------------------------------------------
    LinkTables links;
    IpState ip_state;
    BoreHoleSections bore_hole;

    // ---- Files --------------------------------------------------------------------------
    OutputNames names;
    InputFile input;           // raw database (first pass), intermediate database (second)
    BlockWriter block_writer;  // before the outputs: they hand it blocks until they close
    OutputFile intermediate;   // .tmp
    OutputFile listing;        // .log
    OutputFile survey_text;    // .txt
    OutputFile pseudo_section; // .i2d
    OutputFile raw_samples;    // .smp
    OutputFile converted;      // .tvd
    std::array<OutputFile, static_cast<std::size_t>(BoreLog::kCount)> bore_logs;
    std::array<bool, static_cast<std::size_t>(BoreLog::kCount)> bore_log_opened{};
    // Where write_record puts the record: the intermediate database, then the converted one.
    OutputFile *output_database = &intermediate;

    // ---- First pass bookkeeping ---------------------------------------------------------
    PassEnd pass_end = PassEnd::kRunning;
    bool record_cut_short = false; // some record ran past the end of the raw database
    bool record_disposed = false;  // the current record was written or dropped

    // ---- Reader primitives --------------------------------------------------------------
    void read_record_header(); // first pass: big-endian header bytes
    void read_stored_header(); // second pass: little-endian, also stored in record_buffer
    // Reads the body into record_buffer from offset 4; bytes missing at the end of the file
    // read as 0xFF, never as an earlier record's.
    void read_body();
    // Stores record_id and record_length little-endian in record_buffer[0..3].
    void store_header();
    void write_record();
    void print_record_index();
    // Drops the current record: it takes space in the raw database but none in the output.
    void drop_record();
    std::uint32_t output_offset() const { return file_position - dropped_bytes; }

    // ---- Field access (offsets from the first byte of the Record ID) --------------------
    // Reverse a big-endian field in place and return its value. Bytes beyond the record read
    // as 0; a field that does not lie whole inside the record is left as it is.
    std::uint16_t swap16(std::size_t offset) { return static_cast<std::uint16_t>(swap<2>(offset)); }
    std::uint32_t swap32(std::size_t offset) { return static_cast<std::uint32_t>(swap<4>(offset)); }
    std::uint64_t swap64(std::size_t offset) { return swap<8>(offset); }
    std::uint16_t convert_u16(std::size_t offset) { return swap16(offset); }
    std::int16_t convert_i16(std::size_t offset) {
        return static_cast<std::int16_t>(swap16(offset));
    }
    std::uint32_t convert_u32(std::size_t offset) { return swap32(offset); }
    std::int32_t convert_i32(std::size_t offset) {
        return static_cast<std::int32_t>(swap32(offset));
    }
    float convert_f32(std::size_t offset) { return std::bit_cast<float>(swap32(offset)); }
    double convert_f64(std::size_t offset) { return std::bit_cast<double>(swap64(offset)); }
    // Single byte inside the record, else 0.
    std::uint8_t byte(std::size_t offset) const {
        return offset < record_length ? record_buffer[offset] : 0;
    }
    // Text of a fixed-width field, cut at its NUL, at its width and at the end of the record.
    std::string text(std::size_t offset, std::size_t width) const;
    // Host-order (already converted) 32-bit field, and its replacement; both stay inside the
    // record.
    std::uint32_t stored_u32(std::size_t offset) const;
    void store_u32(std::size_t offset, std::uint32_t value);
    // Copies the first N bytes of the record (zero beyond its length) into a kept copy.
    template <std::size_t N> void keep_copy(KeptRecord<N> &into) const {
        for (std::size_t i = 0; i < N; ++i)
            into.bytes[i] = byte(i);
    }

    // ---- Link rules, at the current record's offset in the output ------------------------
    void link_survey_header() { links.add_survey_header(output_offset()); }
    void link_line_header() { links.add_line_header(output_offset()); }
    void link_data_record() { links.add_data_record(output_offset()); }

    // ---- Output lines -------------------------------------------------------------------
    // printf-style line, formatted into the file's block (line_format.h).
    template <FormatString F, typename... Args>
    void print(OutputFile &file, Format<F> format, const Args &...args) {
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
    void put(OutputFile &file, std::string_view text) { file.write(text.data(), text.size()); }
    // Creates a bore hole log file on first use; false when it cannot be created.
    bool open_bore_log(BoreLog which);
    OutputFile &bore_log(BoreLog which) { return bore_logs[static_cast<std::size_t>(which)]; }
    const std::string &bore_log_name(BoreLog which) const;

  private:
    static std::uint16_t byte_reversed(std::uint16_t v) { return __builtin_bswap16(v); }
    static std::uint32_t byte_reversed(std::uint32_t v) { return __builtin_bswap32(v); }
    static std::uint64_t byte_reversed(std::uint64_t v) { return __builtin_bswap64(v); }
    // Every field read takes this path: a whole field inline, a cut one out of line.
    template <std::size_t Width> std::uint64_t swap(std::size_t offset) {
        if (offset + Width <= record_length && offset + Width <= kRecordBufferSize) [[likely]] {
            std::uint8_t *field = record_buffer.data() + offset;
            if constexpr (std::endian::native == std::endian::little) {
                using Field = std::conditional_t<
                    Width == 2, std::uint16_t,
                    std::conditional_t<Width == 4, std::uint32_t, std::uint64_t>>;
                Field stored;
                std::memcpy(&stored, field, Width);
                const Field value = byte_reversed(stored);
                std::memcpy(field, &value, Width);
                return value;
            }
            std::uint64_t value = 0;
            for (std::size_t i = 0; i < Width; ++i)
                value = value << 8 | field[i];
            for (std::size_t i = 0; i < Width; ++i)
                field[i] = static_cast<std::uint8_t>(value >> (8 * i));
            return value;
        }
        return swap_cut(offset, Width);
    }
    std::uint64_t swap_cut(std::size_t offset, std::size_t width);
};

// Milliseconds since midnight split into hours, minutes and seconds by truncating division.
struct TimeOfDay {
    int hours, minutes, seconds;
};
TimeOfDay split_time(std::int32_t milliseconds);

} // namespace dumpdec

#include "decoder.h"

#include "output_name.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace dumpdec {

OutputNames::OutputNames(std::string_view input_path)
    : tvd(ravelin::output_name(input_path, ".tvd")), log(ravelin::output_name(input_path, ".log")),
      tmp(ravelin::output_name(input_path, ".tmp")), txt(ravelin::output_name(input_path, ".txt")),
      i2d(ravelin::output_name(input_path, ".i2d")), sn(ravelin::output_name(input_path, ".sn")),
      ln(ravelin::output_name(input_path, ".ln")), lat(ravelin::output_name(input_path, ".lat")),
      sp(ravelin::output_name(input_path, ".sp")), con(ravelin::output_name(input_path, ".con")),
      smp(ravelin::output_name(input_path, ".smp")) {}

template <std::size_t N> float KeptRecord<N>::f32(std::size_t offset) const {
    const std::uint32_t bits = u32(offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <std::size_t N> double KeptRecord<N>::f64(std::size_t offset) const {
    const std::uint64_t bits = le(offset, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <std::size_t N>
std::string KeptRecord<N>::text(std::size_t offset, std::size_t width) const {
    std::string value;
    for (std::size_t i = offset; i < offset + width && i < N && bytes[i] != 0; ++i)
        value += static_cast<char>(bytes[i]);
    return value;
}

template struct KeptRecord<ravelin::record_size::kSurveyHeader>;
template struct KeptRecord<ravelin::record_size::kProfileHeader>;

void Decoder::read_record_header() {
    const std::uint8_t b0 = input.byte(), b1 = input.byte(), b2 = input.byte(), b3 = input.byte();
    record_id = static_cast<std::uint16_t>(b0 << 8 | b1);
    record_length = static_cast<std::uint16_t>(b2 << 8 | b3);
}

void Decoder::read_stored_header() {
    for (std::size_t i = 0; i < 4; ++i)
        record_buffer[i] = input.byte();
    record_id = static_cast<std::uint16_t>(record_buffer[0] | record_buffer[1] << 8);
    record_length = static_cast<std::uint16_t>(record_buffer[2] | record_buffer[3] << 8);
}

void Decoder::read_body() {
    if (record_length <= 4) return;
    const std::size_t wanted = std::min<std::size_t>(record_length, kRecordBufferSize) - 4;
    const std::size_t got = input.read(record_buffer.data() + 4, wanted);
    if (got < wanted) {
        // Past the end of the file every byte reads as 0xFF, never as an earlier record's.
        std::memset(record_buffer.data() + 4 + got, 0xFF, wanted - got);
        record_cut_short = true;
    }
}

void Decoder::store_header() {
    record_buffer[0] = static_cast<std::uint8_t>(record_id);
    record_buffer[1] = static_cast<std::uint8_t>(record_id >> 8);
    record_buffer[2] = static_cast<std::uint8_t>(record_length);
    record_buffer[3] = static_cast<std::uint8_t>(record_length >> 8);
}

void Decoder::write_record() {
    output_database->write(record_buffer.data(),
                           std::min<std::size_t>(record_length, kRecordBufferSize));
    file_position += record_length;
    record_disposed = true;
}

void Decoder::drop_record() {
    file_position += record_length;
    dropped_bytes += record_length;
    record_disposed = true;
}

void Decoder::print_record_index() {
    const std::uint32_t offset = output_offset();
    // Three lines in one call: this runs for every record.
    print(listing,
          "\nFILE INDEX\t\t\t\t%-4x\t%-4d\n"
          "Record ID :\t\t\t\t%-4x\n"
          "Record length :\t\t\t%-4d\n"_fmt,
          offset, static_cast<int>(offset), record_id, record_length);
}

// A field that does not lie whole inside the record (Decoder::swap takes the others).
std::uint64_t Decoder::swap_cut(std::size_t offset, std::size_t width) {
    if (offset >= record_length || offset >= kRecordBufferSize) return 0;
    const std::size_t inside =
        std::min({width, std::size_t{record_length} - offset, kRecordBufferSize - offset});
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value = value << 8 | (i < inside ? record_buffer[offset + i] : 0);
    // A field cut by the end of the record has no little-endian form that fits: its bytes
    // stay as the instrument wrote them.
    if (inside == width)
        for (std::size_t i = 0; i < width; ++i)
            record_buffer[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return value;
}

std::string Decoder::text(std::size_t offset, std::size_t width) const {
    std::string value;
    for (std::size_t i = offset; i < offset + width; ++i) {
        const std::uint8_t c = byte(i);
        if (c == 0) break;
        value += static_cast<char>(c);
    }
    return value;
}

std::uint32_t Decoder::stored_u32(std::size_t offset) const {
    return static_cast<std::uint32_t>(byte(offset) | byte(offset + 1) << 8 |
                                      byte(offset + 2) << 16 |
                                      static_cast<std::uint32_t>(byte(offset + 3)) << 24);
}

void Decoder::store_u32(std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        if (offset + i < record_length && offset + i < kRecordBufferSize)
            record_buffer[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

const std::string &Decoder::bore_log_name(BoreLog which) const {
    switch (which) {
    case BoreLog::kShortNormal:
        return names.sn;
    case BoreLog::kLongNormal:
        return names.ln;
    case BoreLog::kLateral:
        return names.lat;
    case BoreLog::kFluid:
        return names.con;
    case BoreLog::kSp:
    case BoreLog::kCount:
        break;
    }
    return names.sp;
}

bool Decoder::open_bore_log(BoreLog which) {
    OutputFile &file = bore_log(which);
    if (file.is_open() || bore_log_opened[static_cast<std::size_t>(which)]) return file.is_open();
    if (!file.create(bore_log_name(which), &block_writer)) return false;
    bore_log_opened[static_cast<std::size_t>(which)] = true;
    return true;
}

TimeOfDay split_time(std::int32_t milliseconds) {
    const std::int64_t t = milliseconds;
    const std::int64_t hours = t / 3600000;
    const std::int64_t minutes = (t - hours * 3600000) / 60000;
    const std::int64_t seconds = (t - hours * 3600000 - minutes * 60000) / 1000;
    return {static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(seconds)};
}

} // namespace dumpdec

#include "incremental_reader.h"

#include "record_layout.h"

#include <algorithm>

namespace survey {

namespace id = ravelin::record_id;

namespace {

constexpr std::size_t kHeader = ravelin::kRecordHeaderSize;

std::uint16_t big_u16(const std::uint8_t *at) {
    return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}

} // namespace

ReadingCounts count_readings(const Database &database) {
    ReadingCounts counts;
    for (const Survey &s : database.surveys)
        for (const Line &line : s.lines) {
            counts.ip += line.ip_readings.size() + line.ip_user_readings.size();
            counts.kx4 += line.gravity_readings.size();
            counts.bore_hole += line.bore_hole_readings.size();
        }
    return counts;
}

void IncrementalReader::stop(LoadStop why, std::uint16_t record_id, std::uint16_t length) {
    status_.stop = why;
    status_.stop_offset = position_;
    status_.stop_record_id = record_id;
    status_.stop_record_length = length;
}

// The checks of a record's header, in the converted database reader's order.
bool IncrementalReader::header_fits(std::uint16_t record_id, std::uint16_t length) {
    if (record_id == id::kEndOfData)
        stop(LoadStop::EndMarker, record_id, length);
    else if (minimum_record_length(record_id) == 0)
        stop(LoadStop::UnknownRecord, record_id, length);
    else if (length < kHeader || length > kRecordCapacity)
        stop(LoadStop::BadLength, record_id, length);
    else
        return true;
    return false;
}

void IncrementalReader::add_record(const std::uint8_t *record, std::uint16_t length) {
    const std::uint16_t record_id = big_u16(record);
    if (length < minimum_record_length(record_id)) {
        stop(LoadStop::RecordTooShort, record_id, length);
        return;
    }
    builder_.add(
        {record_id, length, records::RecordBytes(record, length, records::ByteOrder::Big)});
    position_ += length;
    switch (record_id) {
    case id::kIprStandard:
    case id::kIprUser:
        ++counts_.ip;
        break;
    case id::kKx4Data:
        ++counts_.kx4;
        break;
    case id::kBoreHoleResData:
    case id::kBoreHoleSpData:
    case id::kBoreHoleFluidData:
        ++counts_.bore_hole;
        break;
    default:
        break;
    }
}

std::uint16_t IncrementalReader::pending_length() const {
    return pending_.size() < kHeader ? static_cast<std::uint16_t>(kHeader)
                                     : big_u16(pending_.data() + 2);
}

bool IncrementalReader::feed(const std::uint8_t *data, std::size_t size) {
    while (size > 0 && reading()) {
        if (pending_.empty() && size >= kHeader) {
            // The record starts in this piece: read it in place when it ends here too.
            const std::uint16_t length = big_u16(data + 2);
            if (!header_fits(big_u16(data), length)) break;
            if (length <= size) {
                add_record(data, length);
                data += length;
                size -= length;
                continue;
            }
        }
        const bool had_header = pending_.size() >= kHeader;
        const std::size_t wanted = pending_length() - pending_.size();
        const std::size_t taken = std::min(wanted, size);
        pending_.insert(pending_.end(), data, data + taken);
        data += taken;
        size -= taken;
        if (pending_.size() < kHeader) continue;
        if (!had_header && !header_fits(big_u16(pending_.data()), pending_length())) break;
        if (pending_.size() == pending_length()) {
            add_record(pending_.data(), pending_length());
            pending_.clear();
        }
    }
    return reading();
}

void IncrementalReader::finish() {
    if (!reading()) return;
    if (!pending_.empty()) {
        // As the decoder reads past the end of the raw database: erased bytes.
        const std::uint64_t cut_at = position_;
        // A single byte left is the high half of the ID; the erased byte is its low half.
        const std::uint16_t record_id = pending_.size() > 1
                                            ? big_u16(pending_.data())
                                            : static_cast<std::uint16_t>(pending_[0] << 8 | 0xFF);
        while (reading() && !pending_.empty()) {
            const std::uint8_t erased = 0xFF;
            feed(&erased, 1);
        }
        if (reading()) stop(LoadStop::TruncatedRecord, record_id, 0);
        status_.stop_offset = cut_at;
    } else {
        status_.stop_offset = position_;
    }
    finished_ = true;
}

} // namespace survey

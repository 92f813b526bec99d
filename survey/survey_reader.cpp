#include "survey_reader.h"

#include "record_file.h"
#include "record_layout.h"
#include "record_model.h"

#include <algorithm>
#include <cinttypes>
#include <memory>

namespace survey {

namespace id = ravelin::record_id;

LoadResult read_database(std::FILE *input, std::uint64_t length) {
    LoadResult result;
    records::RecordReader record(input, kRecordCapacity);
    ModelBuilder builder;
    std::uint64_t position = 0;
    while (position < length) {
        record.read_header();
        result.stop_offset = position;
        result.stop_record_id = record.id();
        result.stop_record_length = record.length();
        const std::uint64_t remaining = length - position;
        if (record.id() == id::kEndOfData) {
            result.stop = LoadStop::EndMarker;
            break;
        }
        const std::size_t minimum = minimum_record_length(record.id());
        if (minimum == 0) {
            result.stop = LoadStop::UnknownRecord;
            break;
        }
        if (!record.length_fits()) {
            result.stop = LoadStop::BadLength;
            break;
        }
        if (record.length() > remaining) {
            result.stop = LoadStop::TruncatedRecord;
            break;
        }
        record.read_body();
        if (!record.body_complete()) { // the file shrank while being read
            result.stop = LoadStop::TruncatedRecord;
            break;
        }
        if (record.length() < minimum) {
            result.stop = LoadStop::RecordTooShort;
            break;
        }
        builder.add({record.id(), record.length(), record.fields()});
        position += record.length();
    }
    if (position == length) {
        result.stop = LoadStop::EndOfFile;
        result.stop_offset = length;
        result.stop_record_id = 0;
        result.stop_record_length = 0;
    }
    result.database = builder.take();
    return result;
}

LoadResult load_database(const std::string &path) {
    struct Closer {
        void operator()(std::FILE *f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> input(std::fopen(path.c_str(), "rb"));
    LoadResult result;
    long length = -1;
    if (input && std::fseek(input.get(), 0, SEEK_END) == 0) length = std::ftell(input.get());
    if (length < 0 || std::fseek(input.get(), 0, SEEK_SET) != 0) {
        result.stop = LoadStop::CannotOpen;
        result.path = path;
        return result;
    }
    result = read_database(input.get(), static_cast<std::uint64_t>(length));
    result.path = path;
    return result;
}

std::string stop_reason(const LoadResult &result) {
    char text[160];
    const auto at = static_cast<unsigned long long>(result.stop_offset);
    const unsigned kind = result.stop_record_id;
    switch (result.stop) {
    case LoadStop::EndOfFile:
    case LoadStop::EndMarker:
        return {};
    case LoadStop::CannotOpen:
        return "Cannot read " + result.path + ".";
    case LoadStop::UnknownRecord:
        std::snprintf(text, sizeof text,
                      "Reading stopped at byte %llu: record 0x%04x is of no known kind.", at, kind);
        break;
    case LoadStop::BadLength:
        std::snprintf(text, sizeof text,
                      "Reading stopped at byte %llu: record 0x%04x claims a length of %u bytes.",
                      at, kind, static_cast<unsigned>(result.stop_record_length));
        break;
    case LoadStop::RecordTooShort:
        std::snprintf(text, sizeof text,
                      "Reading stopped at byte %llu: record 0x%04x is too short for its fields.",
                      at, kind);
        break;
    case LoadStop::TruncatedRecord:
        std::snprintf(text, sizeof text,
                      "Reading stopped at byte %llu: the file ends inside record 0x%04x.", at,
                      kind);
        break;
    }
    return text;
}

} // namespace survey

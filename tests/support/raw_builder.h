// RawBuilder: writes database records field by field, for tests and tools.
//
// Raw databases are big-endian (the default); converted databases are little-endian
// (RawBuilder(ByteOrder::kLittle)). A record opened with record(id) gets its Record length
// filled in automatically when the next record starts, when end_marker() is written or when
// bytes() is called; record(id, length) writes a fixed (possibly wrong) length instead, for
// damaged-database tests. Offsets in the record tables count from the Record ID, so after
// record(id) the next field written is at offset 4.
//
//     RawBuilder raw;
//     raw.record(0x1008).text("Tervane", 16).u16(1).u16(2);   // length patched later
//     raw.record(0x0800, 10).u32(7);                           // length 10, 8 bytes present
//     raw.end_marker();
//     write_file(path, raw.bytes());
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ravelin::test {

enum class ByteOrder { kBig, kLittle };

class RawBuilder {
  public:
    explicit RawBuilder(ByteOrder order = ByteOrder::kBig) : order_(order) {}

    // ---- Records ------------------------------------------------------------------------
    // Starts a record whose Record length is computed when it ends.
    RawBuilder &record(std::uint16_t id) {
        close_record();
        open_at_ = data_.size();
        put(id, 2);
        put(0, 2);
        return *this;
    }
    // Starts a record with this Record length, whatever the bytes that follow.
    RawBuilder &record(std::uint16_t id, std::uint16_t length) {
        close_record();
        put(id, 2);
        put(length, 2);
        return *this;
    }
    // The 0xFFFF end of data (an erased memory word).
    RawBuilder &end_marker() {
        close_record();
        put(0xFFFF, 2);
        return *this;
    }
    // Ends the open record explicitly (a following raw_bytes() is then outside any record).
    RawBuilder &end_record() {
        close_record();
        return *this;
    }

    // ---- Fields ------------------------------------------------------------------------
    RawBuilder &u8(std::uint8_t value) { return put(value, 1); }
    RawBuilder &u16(std::uint16_t value) { return put(value, 2); }
    RawBuilder &u32(std::uint32_t value) { return put(value, 4); }
    RawBuilder &u64(std::uint64_t value) { return put(value, 8); }
    RawBuilder &i16(std::int16_t value) { return put(static_cast<std::uint16_t>(value), 2); }
    RawBuilder &i32(std::int32_t value) { return put(static_cast<std::uint32_t>(value), 4); }
    RawBuilder &f32(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return put(bits, 4);
    }
    RawBuilder &f64(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return put(bits, 8);
    }
    // A BCD byte: bcd(12) writes 0x12.
    RawBuilder &bcd(int value) {
        return u8(static_cast<std::uint8_t>((value / 10) << 4 | value % 10));
    }
    // Fixed-width text: cut to width, padded with NULs (a text of exactly width has no NUL).
    RawBuilder &text(std::string_view value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            data_.push_back(i < value.size() ? static_cast<std::uint8_t>(value[i]) : 0);
        return *this;
    }
    RawBuilder &raw_bytes(const std::vector<std::uint8_t> &bytes) {
        data_.insert(data_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    RawBuilder &fill(std::size_t count, std::uint8_t value) {
        data_.insert(data_.end(), count, value);
        return *this;
    }
    // Pads the open record with zeros up to this offset from its Record ID.
    RawBuilder &pad_to(std::size_t offset) {
        if (open_at_ == kNone) throw std::logic_error("pad_to outside a record");
        const std::size_t target = open_at_ + offset;
        if (data_.size() < target) data_.resize(target, 0);
        return *this;
    }

    // ---- Result ------------------------------------------------------------------------
    // Offset of the next byte, which is also the next record's offset in the database.
    std::size_t size() const { return data_.size(); }
    // Ends the open record and returns the database.
    const std::vector<std::uint8_t> &bytes() {
        close_record();
        return data_;
    }
    // Drops the last count bytes (a database cut short by the end of the file).
    RawBuilder &truncate(std::size_t count) {
        close_record();
        data_.resize(count > data_.size() ? 0 : data_.size() - count);
        return *this;
    }
    void save(const std::string &path) {
        close_record();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data_.data()),
                  static_cast<std::streamsize>(data_.size()));
        if (!out) throw std::runtime_error("cannot write " + path);
    }

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    RawBuilder &put(std::uint64_t value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t shift = order_ == ByteOrder::kBig ? 8 * (width - 1 - i) : 8 * i;
            data_.push_back(static_cast<std::uint8_t>(value >> shift));
        }
        return *this;
    }
    void close_record() {
        if (open_at_ == kNone) return;
        const std::size_t length = data_.size() - open_at_;
        const std::uint8_t hi = static_cast<std::uint8_t>(length >> 8);
        const std::uint8_t lo = static_cast<std::uint8_t>(length);
        data_[open_at_ + 2] = order_ == ByteOrder::kBig ? hi : lo;
        data_[open_at_ + 3] = order_ == ByteOrder::kBig ? lo : hi;
        open_at_ = kNone;
    }

    ByteOrder order_;
    std::vector<std::uint8_t> data_;
    std::size_t open_at_ = kNone;
};

} // namespace ravelin::test

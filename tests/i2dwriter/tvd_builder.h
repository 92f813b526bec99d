// Builds converted databases (little-endian records) field by field for the writer's tests.
#pragma once

#include "portable.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tvd {

// One record: fields are appended little-endian after the 4 header bytes; the Record length is
// the record's size unless overridden.
class Record {
  public:
    explicit Record(std::uint16_t id) : id_(id) {}

    Record &u8(std::uint8_t v) {
        body_.push_back(v);
        return *this;
    }
    Record &u16(std::uint16_t v) { return little(v, 2); }
    Record &u32(std::uint32_t v) { return little(v, 4); }
    Record &f32(float v) { return little(ravelin::portable::bit_cast<std::uint32_t>(v), 4); }
    Record &f64(double v) { return little(ravelin::portable::bit_cast<std::uint64_t>(v), 8); }
    // A fixed-width text field, NUL-padded; text as long as the field has no NUL.
    Record &text(std::string_view s, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            body_.push_back(i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0);
        return *this;
    }
    // Pads with zero bytes until the next field starts at offset (counted from the Record ID).
    Record &at(std::size_t offset) {
        while (4 + body_.size() < offset)
            body_.push_back(0);
        return *this;
    }
    Record &length(std::uint16_t claimed) {
        claimed_length_ = claimed;
        has_claimed_length_ = true;
        return *this;
    }

    std::vector<std::uint8_t> bytes() const {
        const auto length =
            has_claimed_length_ ? claimed_length_ : static_cast<std::uint16_t>(4 + body_.size());
        // Sized once: growing a four-byte vector here trips GCC 12's -Warray-bounds at -O3.
        std::vector<std::uint8_t> out(4 + body_.size());
        out[0] = static_cast<std::uint8_t>(id_);
        out[1] = static_cast<std::uint8_t>(id_ >> 8);
        out[2] = static_cast<std::uint8_t>(length);
        out[3] = static_cast<std::uint8_t>(length >> 8);
        std::copy(body_.begin(), body_.end(), out.begin() + 4);
        return out;
    }

  private:
    Record &little(std::uint64_t v, int width) {
        for (int i = 0; i < width; ++i)
            body_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }

    std::uint16_t id_;
    std::vector<std::uint8_t> body_;
    std::uint16_t claimed_length_ = 0;
    bool has_claimed_length_ = false;
};

class Database {
  public:
    Database &add(const Record &record) {
        const auto b = record.bytes();
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    Database &raw(const std::vector<std::uint8_t> &b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    const std::vector<std::uint8_t> &bytes() const { return bytes_; }
    bool write(const std::string &path) const {
        std::FILE *f = std::fopen(path.c_str(), "wb");
        if (!f) return false;
        const bool ok =
            bytes_.empty() || std::fwrite(bytes_.data(), 1, bytes_.size(), f) == bytes_.size();
        return std::fclose(f) == 0 && ok;
    }

  private:
    std::vector<std::uint8_t> bytes_;
};

// The record kinds with the fields the pseudo-section writer reads at their offsets.
inline Record file_header() {
    return Record(0x1008).u16(0).u16(0).u32(0);
}

inline Record survey_header(std::string_view client, std::string_view project, std::uint16_t year,
                            std::uint8_t month_bcd, std::uint8_t day_bcd) {
    Record r(0x1004);
    r.text(client, 36).text(project, 36).text("operator", 36).u32(0);
    r.u8(day_bcd).u8(month_bcd).u16(year);
    return r.at(184);
}

inline Record profile_header(float line_pos, std::uint16_t line_coord,
                             std::uint16_t azimuth_tenths) {
    return Record(0x1002)
        .f32(line_pos)
        .u16(line_coord)
        .u16(azimuth_tenths)
        .u16(0)
        .u16(0)
        .u32(0)
        .u32(0)
        .u32(0);
}

inline Record sounding_header(std::uint16_t array_code) {
    return Record(0x1100)
        .u16(array_code)
        .u16(0)
        .f64(0)
        .f64(0)
        .f32(0)
        .text("S1", 8)
        .u32(0)
        .u32(0)
        .u32(0);
}

inline Record bore_hole_header() {
    return Record(0x1010).at(60);
}

inline Record ipi(std::uint16_t operating_mode, std::uint16_t on_windows,
                  std::uint16_t off_windows) {
    Record r(0x3100);
    r.u16(operating_mode).u8(0).u8(0).u32(0).u32(0).u16(on_windows).u16(off_windows);
    for (int i = 0; i < 2 * (on_windows + off_windows); ++i)
        r.u32(0);
    return r;
}

inline Record array(std::uint16_t code) {
    return Record(0x4100).u16(code).u16(0).f32(0);
}

struct Reading {
    float x = 0, dn = 0, da = 0, db = 0, ro = 0;
    std::uint16_t n = 1;
    std::vector<float> m{};
};

inline Record ipr_standard(const Reading &reading) {
    Record r(0x0100);
    r.f32(reading.x)
        .f32(0)
        .f32(0)
        .u16(0)
        .u16(reading.n)
        .f32(reading.dn)
        .f32(reading.da)
        .f32(reading.db);
    r.u16(0).u16(0).f32(0).f32(0).f32(reading.ro).f32(0);
    for (float m : reading.m)
        r.f32(m);
    return r;
}

inline Record ipr_user() {
    return Record(0x0101).at(76);
}
inline Record note(std::string_view text) {
    return Record(0x0001).u32(0).text(text, 16);
}

} // namespace tvd

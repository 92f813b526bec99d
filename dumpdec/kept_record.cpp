#include "kept_record.h"

#include "record_layout.h"

#include <cstring>

namespace dumpdec {

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

} // namespace dumpdec

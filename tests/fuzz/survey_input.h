// The survey model's reading of fuzz input bytes, for the harnesses that start from a database.
#pragma once

#include "fuzz_harness.h"
#include "survey_reader.h"

#include <cstdio>

namespace ravelin::fuzz {

inline survey::LoadResult read_survey(const std::uint8_t *data, std::size_t size) {
    Bytes copy(data, data + size);
    copy.push_back(0); // fmemopen needs a buffer even for no input
    std::FILE *in = fmemopen(copy.data(), size ? size : 1, "rb");
    check(in != nullptr, "fmemopen failed");
    survey::LoadResult result = survey::read_database(in, size);
    std::fclose(in);
    return result;
}

} // namespace ravelin::fuzz

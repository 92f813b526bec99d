// Seed inputs for the fuzz harnesses, built in code from the record builders: databases holding
// every record kind the decoder knows, in both byte orders.
#pragma once

#include "raw_builder.h"

#include <cstdint>
#include <vector>

namespace ravelin::fuzz {

using Bytes = std::vector<std::uint8_t>;

// KX-4, VIREL (profiles, a sounding, user readings) and bore hole databases. kBig gives raw
// databases as an instrument stores them, kLittle converted databases as the decoder writes them.
std::vector<Bytes> database_seeds(test::ByteOrder order);

// The same databases damaged at places a fixed generator picks (bytes overwritten, the end cut
// off), and runs of records of every kind with random lengths and contents: what a replay of the
// seeds alone would never reach.
std::vector<Bytes> damaged_database_seeds(test::ByteOrder order);

} // namespace ravelin::fuzz

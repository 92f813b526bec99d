// The converter's one line per file.
#pragma once

#include "convert.h"

#include <string>

namespace ravelin::convert_tool {

// Why a conversion read only part of the raw database ("stopped at an unknown record", ...).
const char *stop_note(dumpdec::PassEnd end);

// "PATH: converted -> NAMES..." or "PATH: FAILED: REASON", without a line end.
std::string conversion_line(const std::string &path, const dumpdec::ConversionReport &report);

// Exit statuses of the converter (2, bad arguments, is the argument parser's).
inline constexpr int kAllConverted = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kConvertedInPart = 3; // converted, but the raw database was not read whole

// One file's status: kAllConverted, kConvertedInPart or kSomeFailed.
int file_status(const dumpdec::ConversionReport &report);
// The run's status with one more file's: a failure outweighs a file converted in part.
int run_status(int so_far, int file);

} // namespace ravelin::convert_tool

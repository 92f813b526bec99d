// The two passes of a conversion over files the caller has opened.
#pragma once

namespace dumpdec {

struct Decoder;

// Why the first pass stopped. Only kEndMarker and kLengthTest mean the raw database was read
// whole; the others leave data in it that the converted database does not hold. kTableFull is
// the guard of the link tables, which no sound database reaches (link_table.h).
enum class PassEnd { kRunning, kEndMarker, kLengthTest, kBadRecord, kBadLength, kTableFull };

// Reads the raw database record by record into the listing, the survey text and per-instrument
// files and the intermediate database, noting the links; sets Decoder::pass_end.
void first_pass(Decoder &d);

// Copies the intermediate database into the converted one, patching the header links.
void second_pass(Decoder &d);

} // namespace dumpdec

// The two passes of a conversion over files the caller has opened.
#pragma once

namespace dumpdec {

struct Decoder;

// Reads the raw database record by record into the listing, the survey text and per-instrument
// files and the intermediate database, noting the links; sets Decoder::pass_end.
void first_pass(Decoder &d);

// Copies the intermediate database into the converted one, patching the header links.
void second_pass(Decoder &d);

} // namespace dumpdec

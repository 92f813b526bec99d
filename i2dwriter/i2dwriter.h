// Public entry of libi2dwriter.so: writes the pseudo-section file (".i2d") of a converted
// database (".tvd").
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Returns 1 when the run completed (also when it stopped at a record it does not handle), 0 when
// the input cannot be opened, the output cannot be created, or the output name would be the input
// itself. The second argument is ignored; it keeps the decoder's entry signature.
__attribute__((visibility("default"))) int i2dwriter_main(const char *path, void *unused);

#ifdef __cplusplus
}
#endif

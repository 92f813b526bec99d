// The decoder's only export: converts one raw database into the files written beside it.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Returns 1 when both passes ran, 0 when a file could not be opened or written, or when the
// input's own name is one of the names the conversion would write. *keep nonzero keeps the
// listing and the raw database; zero deletes both at the end (the raw database only when the
// conversion read all of it soundly).
__attribute__((visibility("default"))) int dumpdec_main(const char *path, int16_t *keep);

#ifdef __cplusplus
}
#endif

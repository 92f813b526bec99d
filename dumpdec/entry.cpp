#include "convert.h"
#include "dumpdec.h"

extern "C" int dumpdec_main(const char *path, int16_t *keep) {
    if (path == nullptr) return 0;
    try {
        return dumpdec::convert(path, keep).result;
    } catch (...) {
        return 0; // out of memory: a failure, never an exception across the C boundary
    }
}

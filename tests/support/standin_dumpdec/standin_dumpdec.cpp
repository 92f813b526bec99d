// A stand-in for libdumpdec.so that fails its first conversion and succeeds from then on, so
// the window's retry path can be driven. Every call appends the keep flag it was given to
// <base>.calls; a successful call writes a small survey text file <base>.txt.
#include "output_name.h"

#include <cstdint>
#include <cstdio>

namespace {
int calls = 0;

void appendLine(const std::string &path, const char *text) {
    if (std::FILE *file = std::fopen(path.c_str(), "ab")) {
        std::fputs(text, file);
        std::fclose(file);
    }
}
} // namespace

extern "C" __attribute__((visibility("default"))) int dumpdec_main(const char *path,
                                                                   std::int16_t *keep) {
    char line[32];
    std::snprintf(line, sizeof line, "keep=%d\n", *keep);
    appendLine(ravelin::output_name(path, ".calls"), line);
    if (calls++ == 0) return 0;
    if (std::FILE *survey = std::fopen(ravelin::output_name(path, ".txt").c_str(), "wb")) {
        std::fputs("\r\n/\tSTAND-IN SURVEY\r\nLine 1\r\n  1.0  2.0  3.0", survey);
        std::fclose(survey);
    }
    return 1;
}

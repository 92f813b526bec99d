// ravelin-sample OUT.raw [--kind NAME]: writes a small, realistic raw database.
#include "samples.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

namespace {

int usage() {
    std::fprintf(stderr, "usage: ravelin-sample OUT.raw [--kind");
    for (const auto &kind : ravelin::sample::sample_kinds())
        std::fprintf(stderr, " %.*s", static_cast<int>(kind.name.size()), kind.name.data());
    std::fprintf(stderr, "]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    std::string out;
    std::string_view kind_name = ravelin::sample::sample_kinds().front().name;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--kind" && i + 1 < argc)
            kind_name = argv[++i];
        else if (arg.starts_with("--kind="))
            kind_name = arg.substr(7);
        else if (!arg.starts_with("-") && out.empty())
            out = arg;
        else
            return usage();
    }
    if (out.empty()) return usage();
    for (const auto &kind : ravelin::sample::sample_kinds()) {
        if (kind.name != kind_name) continue;
        const std::vector<std::uint8_t> bytes = kind.build();
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::fprintf(stderr, "ravelin-sample: cannot write %s\n", out.c_str());
            return 1;
        }
        std::printf("%s\n", out.c_str());
        return 0;
    }
    std::fprintf(stderr, "ravelin-sample: no sample kind \"%.*s\"\n",
                 static_cast<int>(kind_name.size()), kind_name.data());
    return usage();
}

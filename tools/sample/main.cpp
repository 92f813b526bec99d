// ravelin-sample OUT.raw [--kind NAME]: writes a small, realistic raw database.
#include "command_line.h"
#include "samples.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

int main(int argc, char **argv) {
    std::string kinds;
    for (const auto &kind : ravelin::sample::sample_kinds())
        kinds += (kinds.empty() ? "" : ", ") + std::string(kind.name);
    ravelin::CommandLine line("ravelin-sample",
                              "Writes a small, realistic raw database and prints its name.", 2);
    line.addOption("kind", "NAME",
                   "The instrument's sample: " + kinds + " (default " +
                       std::string(ravelin::sample::sample_kinds().front().name) + ").");
    line.addArgument("OUT.raw", "The file to write.");
    if (const std::optional<int> status = line.parse(argc, argv)) return *status;
    if (line.arguments().size() != 1) return line.fail("name one file to write");
    const std::string &out = line.arguments().front();
    const std::string kind_name = line.isSet("kind")
                                      ? line.value("kind")
                                      : std::string(ravelin::sample::sample_kinds().front().name);
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
    return line.fail("no sample kind \"" + kind_name + "\"");
}

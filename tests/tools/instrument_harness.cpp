#include "instrument_harness.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace instrument_test {

using Clock = std::chrono::steady_clock;

Simulator::Simulator(const std::vector<std::string> &arguments) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> all{RAVELIN_INSTRUMENT_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = out[0];
    if (spawned != 0) throw std::runtime_error("cannot start the simulator");
    // The first line is the device path; an early exit gives an empty one.
    char c;
    pollfd p{stdout_, POLLIN, 0};
    while (poll(&p, 1, 10000) > 0 && ::read(stdout_, &c, 1) == 1 && c != '\n')
        devicePath_.push_back(c);
}

Simulator::~Simulator() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) ::close(stdout_);
}

int Simulator::waitForExit(milliseconds limit) {
    const auto until = Clock::now() + limit;
    while (Clock::now() < until) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    return -1;
}

PcPort::PcPort(const std::string &path) : PcPort(::open(path.c_str(), O_RDWR | O_NOCTTY)) {}

PcPort::PcPort(int fd) : fd_(fd) {
    if (fd_ < 0) throw std::runtime_error("cannot open the line");
    termios tio{};
    tcgetattr(fd_, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd_, TCSANOW, &tio);
}

PcPort::~PcPort() {
    close();
}

void PcPort::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void PcPort::send(const std::string &bytes) {
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
}

std::optional<uint8_t> PcPort::receive(milliseconds silence) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, int(silence.count())) <= 0) return std::nullopt;
    uint8_t byte;
    if (::read(fd_, &byte, 1) != 1) return std::nullopt;
    return byte;
}

PcDump receiveDump(PcPort &port, milliseconds silenceReset, milliseconds answerDelay) {
    PcDump dump;
    const auto giveUp = Clock::now() + std::chrono::seconds(20);
    port.send(0x06);
    std::vector<uint8_t> block;
    size_t expected = 0;
    while (Clock::now() < giveUp) {
        const std::optional<uint8_t> byte = port.receive(silenceReset);
        if (!byte) {
            if (!dump.header.empty() && dump.header.size() < 10)
                dump.header.clear();
            else if (block.empty())
                continue;
            block.clear();
            port.send(0x0F);
            continue;
        }
        if (dump.header.size() < 10) {
            dump.header.push_back(char(*byte));
            if (dump.header.size() == 10) {
                const size_t announced = std::stoul(dump.header);
                expected = (announced + 251) / 252 * 252;
                if (expected == 0) return dump;
                port.send(0x06);
            }
            continue;
        }
        block.push_back(*byte);
        if (block.size() < 255) continue;
        std::this_thread::sleep_for(answerDelay);
        unsigned sum = 0;
        for (uint8_t b : block)
            sum += b;
        if (block[0] == 0x53 && sum % 256 == 0) {
            dump.data.insert(dump.data.end(), block.begin() + 1, block.begin() + 253);
            dump.complete = dump.data.size() >= expected;
            port.send(0x06);
        } else {
            dump.rejectedBlocks.push_back(block);
            port.send(0x0F);
        }
        block.clear();
        if (dump.complete) return dump;
    }
    return dump;
}

std::string temporaryPath(const std::string &name) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("ravelin_instrument_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

void writeFile(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace instrument_test

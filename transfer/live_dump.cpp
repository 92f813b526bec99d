#include "live_dump.h"

#include "engine_internals.h"

#include <cmath>
#include <cstdio>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace ravelin {

namespace {

constexpr int kNiceness = 10;
// The reading thread reads what has come this often; the dump never wakes it (a wake-up per
// 64 KB chunk cost a fast USB dump about 40 % more processor time): a slow serial line's blocks
// show within a tenth of a second, and the view refreshes a few times a second anyway.
constexpr int kWakeMs = 100;

} // namespace

std::string liveLineTitle(int surveyNumber, const survey::Survey &s, int lineNumber,
                          const survey::Line &line) {
    std::string title = "survey " + std::to_string(surveyNumber);
    if (s.has_header) title += " \"" + s.header.name + "\"";
    title += ", line " + std::to_string(lineNumber) + ": ";
    switch (line.kind) {
    case survey::LineKind::Profile: {
        char at[64];
        std::snprintf(at, sizeof at, "profile at %.3f %c", std::fabs(line.profile.line_pos),
                      line.profile.direction());
        return title + at;
    }
    case survey::LineKind::Sounding:
        return title + "sounding \"" + line.sounding.name + "\"";
    case survey::LineKind::BoreHole:
        return title + "bore hole \"" + line.bore_hole.name + "\"";
    case survey::LineKind::Unheaded:
        break;
    }
    return title + "readings before any line header";
}

std::string liveCountLine(const survey::ReadingCounts &counts) {
    return "live: IP " + std::to_string(counts.ip) + ", KX-4 " + std::to_string(counts.kx4) +
           ", bore hole " + std::to_string(counts.bore_hole);
}

LiveDump::LiveDump(LineHandler onLine) : onLine_(std::move(onLine)), thread_([this] { run(); }) {}

LiveDump::~LiveDump() {
    {
        std::lock_guard guard(controlLock_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void LiveDump::take(const char *bytes, std::size_t count) {
    inbox_.put(reinterpret_cast<const std::uint8_t *>(bytes), count);
}

void LiveDump::prepare() {
    inbox_.reserve(std::size_t(engine::kLargestDumpTotal));
}

void LiveDump::end() {
    {
        std::lock_guard guard(controlLock_);
        finishing_ = true;
    }
    wake_.notify_one();
}

void LiveDump::finish() {
    end();
    std::unique_lock guard(controlLock_);
    drained_.wait(guard, [this] { return !finishing_; });
}

void LiveDump::restart() {
    finish();
    {
        std::lock_guard guard(modelLock_);
        reader_ = survey::IncrementalReader();
        finished_ = false;
        announcedSurveys_ = announcedLines_ = 0;
        publish();
    }
    prepare();
}

void LiveDump::run() {
    // The dump comes first: on a busy processor this thread is the one that waits.
    setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kNiceness);
    pthread_setname_np(pthread_self(), "live view"); // for top, perf and debuggers
    std::unique_lock control(controlLock_);
    for (;;) {
        wake_.wait_for(control, std::chrono::milliseconds(kWakeMs),
                       [this] { return stopping_ || finishing_; });
        if (stopping_) return;
        // Every byte taken before end() was called is in the inbox by now.
        const bool finishing = finishing_;
        control.unlock();
        readInbox(finishing);
        control.lock();
        if (finishing) {
            finishing_ = false;
            drained_.notify_all();
        }
    }
}

// Snapshots are published after each chunk (at most 64 KB), so that the view follows a long
// backlog as it is read.
void LiveDump::readInbox(bool finishing) {
    std::lock_guard model(modelLock_);
    inbox_.read([this](const std::uint8_t *bytes, std::size_t count) {
        reader_.feed(bytes, count);
        publish();
    });
    if (finishing) {
        reader_.finish();
        finished_ = true;
        publish();
        inbox_.trim(); // nothing more comes until prepare()
    }
    if (onLine_) announceNewLines();
}

// Only this thread changes the model, so it reads it here without the lock; lines already
// announced are not looked at again.
void LiveDump::announceNewLines() {
    const std::vector<survey::Survey> &surveys = reader_.database().surveys;
    for (; announcedSurveys_ < surveys.size(); ++announcedSurveys_, announcedLines_ = 0) {
        const survey::Survey &s = surveys[announcedSurveys_];
        for (; announcedLines_ < s.lines.size(); ++announcedLines_)
            onLine_(int(announcedSurveys_) + 1, s, int(announcedLines_) + 1,
                    s.lines[announcedLines_]);
        if (announcedSurveys_ + 1 == surveys.size()) break;
    }
}

void LiveDump::publish() {
    auto shot = std::make_shared<Snapshot>();
    shot->counts = reader_.counts();
    shot->bytes_read = reader_.position();
    shot->stop_reason = survey::stop_reason(reader_.status());
    shot->finished = finished_;
    const std::vector<survey::Survey> &surveys = reader_.database().surveys;
    if (!surveys.empty()) {
        const survey::Survey &s = surveys.back();
        shot->survey_number = static_cast<int>(surveys.size());
        if (s.has_header) shot->survey_name = s.header.name;
        shot->line_number = static_cast<int>(s.lines.size());
        if (!s.lines.empty()) shot->line = std::make_shared<const survey::Line>(s.lines.back());
    }
    std::lock_guard guard(publishedLock_);
    published_ = std::move(shot);
}

LiveDump::Snapshot LiveDump::snapshot(bool withLine) const {
    std::shared_ptr<const Snapshot> shot;
    {
        std::lock_guard guard(publishedLock_);
        shot = published_;
    }
    Snapshot copy = *shot;
    if (!withLine) copy.line.reset();
    return copy;
}

} // namespace ravelin

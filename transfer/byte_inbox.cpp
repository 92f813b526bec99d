#include "byte_inbox.h"

#include <algorithm>
#include <cstring>

namespace ravelin {

ByteInbox::ByteInbox() {
    chain_.push_back(spareChunk());
    writing_ = chain_.back().get();
}

void ByteInbox::reserve(std::size_t bytes) {
    std::lock_guard guard(lock_);
    const std::size_t wanted = (bytes + kChunkSize - 1) / kChunkSize;
    while (spares_.size() < wanted)
        spares_.push_back(std::make_unique<Chunk>()); // value-initialised: every page written
}

std::unique_ptr<ByteInbox::Chunk> ByteInbox::spareChunk() {
    if (spares_.empty()) return std::make_unique<Chunk>();
    std::unique_ptr<Chunk> chunk = std::move(spares_.back());
    spares_.pop_back();
    chunk->filled.store(0, std::memory_order_relaxed);
    return chunk;
}

void ByteInbox::put(const std::uint8_t *bytes, std::size_t count) {
    while (count > 0) {
        if (writeAt_ == kChunkSize) {
            // The reader may still be reading the full chunk; it is left to it.
            std::lock_guard guard(lock_);
            chain_.push_back(spareChunk());
            writing_ = chain_.back().get();
            writeAt_ = 0;
        }
        const std::size_t n = std::min(count, kChunkSize - writeAt_);
        std::memcpy(writing_->bytes + writeAt_, bytes, n);
        writeAt_ += n;
        writing_->filled.store(writeAt_, std::memory_order_release);
        bytes += n;
        count -= n;
    }
}

std::size_t ByteInbox::read(const std::function<void(const std::uint8_t *, std::size_t)> &take) {
    std::size_t handed = 0;
    for (;;) {
        Chunk *chunk;
        bool writerMovedOn;
        {
            std::lock_guard guard(lock_);
            chunk = chain_.front().get();
            writerMovedOn = chain_.size() > 1;
        }
        // A chunk the writer has moved on from is full, and it no longer touches it.
        const std::size_t filled = chunk->filled.load(std::memory_order_acquire);
        if (filled > readAt_) {
            take(chunk->bytes + readAt_, filled - readAt_);
            handed += filled - readAt_;
            readAt_ = filled;
        }
        if (!writerMovedOn) return handed;
        std::lock_guard guard(lock_);
        spares_.push_back(std::move(chain_.front()));
        chain_.pop_front();
        readAt_ = 0;
    }
}

void ByteInbox::trim() {
    std::lock_guard guard(lock_);
    if (spares_.size() > kKeptChunks) spares_.resize(kKeptChunks);
}

} // namespace ravelin

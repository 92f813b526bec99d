// Bytes handed from one thread (the dump) to another (the live view's reader) without the writer
// waiting for the reader. The writer copies into fixed chunks and takes the lock only when it
// moves to a new chunk; the reader reads what the writer has published, a chunk at a time, and
// gives the chunks it has read back for reuse. One writer and one reader.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace ravelin {

class ByteInbox {
  public:
    static constexpr std::size_t kChunkSize = 64 * 1024;
    // Chunks kept between dumps by trim().
    static constexpr std::size_t kKeptChunks = 2;

    ByteInbox();

    // Writer: copies the bytes.
    void put(const std::uint8_t *bytes, std::size_t count);

    // Reader: hands every byte put so far and not yet read to take, in order, at most a chunk a
    // call. Returns the number of bytes handed.
    std::size_t read(const std::function<void(const std::uint8_t *, std::size_t)> &take);

    // Makes chunks for this many bytes and touches their pages now, so that the writer neither
    // allocates nor waits for the system to supply pages (dearer than the copy itself) however
    // far the reader lags. Only while nothing is being written.
    void reserve(std::size_t bytes);
    // Frees the chunks beyond kKeptChunks. Only while nothing is being written and everything
    // has been read.
    void trim();

  private:
    struct Chunk {
        std::atomic<std::size_t> filled{0}; // published by the writer, read by the reader
        std::uint8_t bytes[kChunkSize];
    };
    std::unique_ptr<Chunk> spareChunk();

    std::mutex lock_;
    // Front: the chunk being read; back: the chunk being written. Never empty.
    std::deque<std::unique_ptr<Chunk>> chain_;
    std::vector<std::unique_ptr<Chunk>> spares_;
    Chunk *writing_;          // the writer's: chain_.back()
    std::size_t writeAt_ = 0; // the writer's
    std::size_t readAt_ = 0;  // the reader's, in chain_.front()
};

} // namespace ravelin

// The dump's bytes reach the live view's reader whole and in order while both run at once, across
// the inbox's chunk edges, and again after the inbox was trimmed and prepared for the next dump.
#include "byte_inbox.h"

#include <QTest>
#include <atomic>
#include <random>
#include <thread>
#include <vector>

using ravelin::ByteInbox;

class ByteInboxTest : public QObject {
    Q_OBJECT

  private slots:
    void readerGetsEveryByteInOrderWhileTheWriterWrites() {
        ByteInbox inbox;
        for (int dump = 0; dump < 2; ++dump) {
            inbox.reserve(ByteInbox::kChunkSize * 4); // fewer than the dump needs: it adds more
            std::vector<std::uint8_t> sent(3 * 1000 * 1000 + 333 * std::size_t(dump));
            std::mt19937 random(dump);
            for (std::uint8_t &b : sent)
                b = std::uint8_t(random());
            std::atomic<bool> written = false;
            std::thread writer([&] {
                std::mt19937 pieces(7);
                for (std::size_t at = 0; at < sent.size();) {
                    const std::size_t n =
                        std::min<std::size_t>(sent.size() - at, 1 + pieces() % 300);
                    inbox.put(sent.data() + at, n);
                    at += n;
                }
                written = true;
            });
            std::vector<std::uint8_t> got;
            std::size_t largestPiece = 0;
            const auto take = [&](const std::uint8_t *bytes, std::size_t n) {
                got.insert(got.end(), bytes, bytes + n);
                largestPiece = std::max(largestPiece, n);
            };
            // Once the writer is done, one more read takes what is left.
            for (bool writing = true; writing;) {
                writing = !written;
                inbox.read(take);
            }
            writer.join();
            QVERIFY(got == sent);
            QVERIFY(largestPiece <= ByteInbox::kChunkSize); // a snapshot waits for a chunk at most
            inbox.trim();
        }
    }
};

QTEST_GUILESS_MAIN(ByteInboxTest)
#include "byte_inbox_test.moc"

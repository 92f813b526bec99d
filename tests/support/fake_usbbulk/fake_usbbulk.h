/* libfake_usbbulk.so: a USB instrument in memory behind the six usbbulk operations
 * (usbbulk/usbbulk.h), for tests. Its name differs from the real library's on purpose, so the
 * program never picks it up by accident: a test loads it by path.
 *
 * The instrument it plays:
 * - one attached device with vendor 0x0815 and product 0x1A2D unless configured otherwise;
 *   dll_getDeviceDescriptor fills a standard 18-byte descriptor (bLength 18, type 1, bcdUSB 2.00,
 *   bMaxPacketSize0 64, idVendor at offset 8 and idProduct at offset 10, little-endian).
 * - "PIPE3" is the dump pipe (read only), "PIPE2" the upload pipe (write only); every other name
 *   fails to open. Opening "PIPE3" starts the dump from its beginning.
 * - The dump stream, one packet per read: first a 64-byte packet whose first four bytes hold the
 *   announced length (32-bit little-endian, the rest zero), then the image in 64-byte packets,
 *   the last one short when the image length is not a multiple of 64, then zero-length packets
 *   (successful reads delivering 0 bytes). A read asking for fewer bytes than the next packet
 *   holds fails, as an overflowing bulk read does.
 * - Every successful write on "PIPE2" is recorded whole (the upload sink); the count written is
 *   the length asked.
 * - A read waits for its packet as the real library's does, at most 5000 ms: one that times out
 *   delivers the part of the packet sent by then with a short count, or fails when nothing was
 *   sent; dll_getReadFailure then says USBBULK_READ_TIMED_OUT. A stall or a late start shorter
 *   than what is left of the read's 5000 ms only delays it. What a timed-out read delivered is
 *   not sent again: the next read delivers the rest of that packet once the stall is over.
 * - dll_Get_Long decodes the first four bytes of the packet as a little-endian 32-bit count.
 * - dll_getOpenFailure tells why the last dll_openUsbPipe failed (USBBULK_OPEN_* of usbbulk.h).
 * Every call is serialised by one lock, held by a read while it waits.
 *
 * Configuration, either way:
 * - in the test process: find the functions below with dlsym and call them;
 * - in a child process (a command-line tool): environment variables named exactly like the
 *   settings below (FAKE_USBBULK_VENDOR=0x0DDE, FAKE_USBBULK_READ_FAILS_AFTER=3, numbers in
 *   decimal or 0x hex), plus FAKE_USBBULK_IMAGE=path (the file whose bytes are the memory image)
 *   and FAKE_USBBULK_UPLOAD_SINK=path (every written packet is appended to that file, unchanged).
 *   The environment is read at the first call of any function and again by fake_usbbulk_reset.
 */
#ifndef RAVELIN_FAKE_USBBULK_H
#define RAVELIN_FAKE_USBBULK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum fake_usbbulk_setting {
    FAKE_USBBULK_ATTACHED = 0,            /* 1 (default): a device answers; 0: none */
    FAKE_USBBULK_VENDOR = 1,              /* idVendor, default 0x0815 */
    FAKE_USBBULK_PRODUCT = 2,             /* idProduct, default 0x1A2D */
    FAKE_USBBULK_DESCRIPTOR_FAILURES = 3, /* the first N descriptor calls return 0 (default 0) */
    FAKE_USBBULK_ANNOUNCED_LENGTH = 4,    /* the first packet's count; default the image size */
    FAKE_USBBULK_FIRST_READ_LENGTH = 5,   /* bytes the first read delivers, 0-64 (default 64) */
    FAKE_USBBULK_OPEN_FAILS = 6,          /* 1: every dll_openUsbPipe returns -1 */
    FAKE_USBBULK_READ_FAILS_AFTER = 7,    /* after K successful reads of a dump the next read
                                             fails, and every one after it; -1 (default) never */
    FAKE_USBBULK_WRITE_FAILS_AFTER = 8,   /* after K recorded writes every write fails; -1 never */
    FAKE_USBBULK_NO_ACCESS = 9,           /* 1: the system refuses the user the device: every
                                             dll_openUsbPipe returns -1 and dll_getOpenFailure
                                             USBBULK_OPEN_NO_ACCESS */
    FAKE_USBBULK_STALL_AFTER_PACKET = 10, /* after K packets of a dump (the length packet is the
                                             first) the instrument stalls once; -1 (default)
                                             never */
    FAKE_USBBULK_STALL_MS = 11,           /* how long that stall lasts (default 0) */
    FAKE_USBBULK_STALL_PART_SENT = 12,    /* bytes of packet K+1 sent before the stall, the rest
                                             after it (default 0) */
    FAKE_USBBULK_START_DELAY_MS = 13      /* the instrument sends nothing for this long after
                                             "PIPE3" is opened (default 0) */
};

enum fake_usbbulk_counter {
    FAKE_USBBULK_DESCRIPTOR_CALLS = 0,
    FAKE_USBBULK_OPEN_CALLS = 1,
    FAKE_USBBULK_OPEN_PIPES = 2, /* handles open right now */
    FAKE_USBBULK_READ_CALLS = 3,
    FAKE_USBBULK_WRITE_CALLS = 4,
    FAKE_USBBULK_CLOSE_CALLS = 5,
    FAKE_USBBULK_GET_LONG_CALLS = 6
};

/* Back to the defaults above (then the environment), an empty image, counters and sink cleared,
 * every handle closed. */
void fake_usbbulk_reset(void);

/* Sets one of enum fake_usbbulk_setting. Returns 0, or -1 for an unknown setting. */
int fake_usbbulk_set(int setting, int64_t value);

/* Copies the memory image the dump sends. Returns 0, or -1 when image is null and length > 0. */
int fake_usbbulk_set_image(const uint8_t *image, int64_t length);

/* One of enum fake_usbbulk_counter since the last reset; -1 for an unknown counter. */
int64_t fake_usbbulk_count(int counter);

/* Number of packets recorded by the upload sink. */
int32_t fake_usbbulk_written_packet_count(void);

/* Copies recorded packet `index` (0 = first) into out, at most capacity bytes. Returns the
 * packet's length, or -1 when there is no such packet. */
int32_t fake_usbbulk_written_packet(int32_t index, uint8_t *out, int32_t capacity);

#ifdef __cplusplus
}
#endif

#endif

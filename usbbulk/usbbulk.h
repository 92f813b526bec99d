/* The six USB bulk-pipe operations the instrument transfers use. Bound by name at run time, so
 * every function keeps a plain C signature. Handles are small non-negative integers; -1 is a
 * failed open. */
#ifndef RAVELIN_USBBULK_H
#define RAVELIN_USBBULK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Fills the 18-byte standard device descriptor of the first attached instrument (vendor 0x0815).
 * Nonzero when an instrument is attached and the record has been filled. */
int16_t dll_getDeviceDescriptor(uint8_t *descriptor);

/* "PIPEn" names bulk endpoint n: IN for reading, OUT for writing. Returns a handle or -1. */
int16_t dll_openUsbPipe(const char *pipe_name);

/* Reads up to `requested` bytes; `*delivered` gets the count. Nonzero on success. */
int16_t dll_readPipe(int32_t handle, void *buffer, int32_t requested, int32_t *delivered);

/* The dump's total length, read from its first 64-byte packet. */
int32_t dll_Get_Long(const uint8_t *first_packet);

/* Writes `length` bytes; `*written` gets the count. Nonzero on success. */
int16_t dll_writePipe(int32_t handle, const void *buffer, int32_t length, int32_t *written);

/* Status is not examined by callers. */
int16_t dll_closeUsbPipe(int32_t handle);

/* Why the last dll_openUsbPipe failed, so that a caller can tell the operator what to do. Not
 * needed for a transfer: a caller that does not find it treats every failed open alike. */
#define USBBULK_OPEN_OK 0        /* it did not fail, or no pipe was asked for yet */
#define USBBULK_OPEN_NO_ACCESS 1 /* the system refuses this user the instrument (no udev rule) */
#define USBBULK_OPEN_FAILED 2    /* any other reason: no instrument, no such pipe, in use */
int16_t dll_getOpenFailure(void);

/* Why the last dll_readPipe failed or delivered less than it asked for, so that a caller can tell
 * an instrument that has sent nothing for a while from one that is gone. USBBULK_READ_TIMED_OUT:
 * the read timeout passed first; what had arrived by then was delivered (the read returned
 * nonzero with a short count), or nothing had (it returned 0). Not needed for a transfer: a
 * caller that does not find it treats every failed read alike. */
#define USBBULK_READ_OK 0        /* the read ended where the instrument ended its packet */
#define USBBULK_READ_TIMED_OUT 1 /* nothing more arrived within the read timeout */
#define USBBULK_READ_FAILED 2    /* any other failure: no instrument, no such pipe, a USB error */
int16_t dll_getReadFailure(void);

#ifdef __cplusplus
}
#endif

#endif

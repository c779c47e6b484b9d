#pragma once

#include <cstddef>

struct hid_device_;
typedef struct hid_device_ hid_device;

// hid_write with a time-out. A write that has not returned in time counts as failed; the handle
// then passes to the writing thread, which closes it when the write finally returns, and `handle`
// is set to null. Returns what hid_write returned, or -1.
int boundedWrite(hid_device *&handle, const unsigned char *data, size_t length, int timeoutMs);

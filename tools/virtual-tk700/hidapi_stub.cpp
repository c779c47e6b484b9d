// The hidapi C API over a Unix socket to tk700-sim. Preloaded in place of the system hidapi, so
// every exported function of the installed header must be defined here.

// The header marks nothing for export on Linux; everything else in this file stays hidden.
#pragma GCC visibility push(default)
#include <hidapi.h>
#pragma GCC visibility pop

#include "wire.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

struct hid_device_ {
    int fd = -1;
    // Set when a reply did not come in time or the connection went away: the stream may be out of
    // step with the requests, so nothing more is sent on it.
    bool broken = false;
    bool nonblocking = false;
    std::string path;
    std::wstring error;
    hid_device_info *info = nullptr;
};

namespace
{

using namespace wire;

// The kernel's own time-out for a USB control transfer; every reply may take this much longer
// than the request's own time-out before the connection counts as broken.
constexpr int kUsbControlTimeoutMs = 5000;

// How long hid_close waits for the simulator to drop its end; a busy simulator is not a reason
// for a close to hang.
constexpr int kCloseWaitMs = 1000;

thread_local std::wstring globalError;

std::wstring widen(const std::string &text)
{
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        wchar_t c = lead;
        if (lead >= 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else if (lead >= 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        }
        ++i;
        for (int k = 0; k < extra && i < text.size(); ++k, ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        out.push_back(c);
    }
    return out;
}

wchar_t *wideCopy(const std::string &text)
{
    const std::wstring wide = widen(text);
    auto *copy = static_cast<wchar_t *>(std::calloc(wide.size() + 1, sizeof(wchar_t)));
    if (copy)
        std::wmemcpy(copy, wide.c_str(), wide.size() + 1); // with its terminator
    return copy;
}

void setError(hid_device *dev, const std::wstring &message)
{
    (dev ? dev->error : globalError) = message;
}

std::string socketPath()
{
    if (const char *env = std::getenv("TK700_SIM_SOCKET"); env && *env)
        return env;
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::string(runtime) + "/tk700-sim.sock";
    char fallback[64];
    std::snprintf(fallback, sizeof(fallback), "/tmp/tk700-sim-%u.sock",
                  static_cast<unsigned>(getuid()));
    return fallback;
}

int connectSimulator()
{
    const std::string path = socketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        setError(nullptr, L"socket path of the virtual TK700 is too long");
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        setError(nullptr, L"cannot create a socket");
        return -1;
    }
    if (connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        close(fd);
        setError(nullptr, L"the virtual TK700 is not running at " + widen(path));
        return -1;
    }
    return fd;
}

long long nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool sendAll(int fd, const Bytes &bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// One read of what has arrived, waiting for it until the deadline (< 0: for ever). The bytes
// read; 0 when the peer has closed its end; -1 on an error or when the deadline passed.
ssize_t receiveSome(int fd, std::uint8_t *into, std::size_t size, long long deadline)
{
    for (;;) {
        int wait = -1;
        if (deadline >= 0) {
            const long long left = deadline - nowMs();
            if (left <= 0)
                return -1;
            wait = static_cast<int>(left);
        }
        pollfd pfd{fd, POLLIN, 0};
        const int ready = poll(&pfd, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return -1;
        const ssize_t n = recv(fd, into, size, 0);
        if (n < 0 && errno == EINTR)
            continue;
        return n;
    }
}

bool receiveAll(int fd, std::uint8_t *into, std::size_t size, long long deadline)
{
    for (std::size_t got = 0; got < size;) {
        const ssize_t n = receiveSome(fd, into + got, size - got, deadline);
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// One request and its reply. waitMs < 0 waits for ever. False when the reply did not come.
bool exchange(int fd, const Bytes &body, int waitMs, std::int32_t &result, Bytes &data)
{
    if (!sendAll(fd, frame(body)))
        return false;
    const long long deadline = waitMs < 0 ? -1 : nowMs() + waitMs;
    std::uint8_t header[kLengthSize];
    if (!receiveAll(fd, header, sizeof(header), deadline))
        return false;
    const auto length = get<std::uint32_t>(header, sizeof(header), 0);
    if (length < kResultSize || length > kMaxFrame)
        return false;
    Bytes reply(length);
    if (!receiveAll(fd, reply.data(), reply.size(), deadline))
        return false;
    result = get<std::int32_t>(reply.data(), reply.size(), 0);
    data.assign(reply.begin() + kResultSize, reply.end());
    return true;
}

// A request on an open handle. timeoutMs is the request's own time-out (-1: none).
int deviceRequest(hid_device *dev, const Bytes &body, int timeoutMs, Bytes &data)
{
    if (!dev)
        return -1;
    if (dev->broken) {
        setError(dev, L"the device is gone");
        return -1;
    }
    // A time-out too long to add the grace period to is as good as none.
    const bool endless = timeoutMs < 0 || timeoutMs > INT_MAX - kUsbControlTimeoutMs;
    const int wait = endless ? -1 : timeoutMs + kUsbControlTimeoutMs;
    std::int32_t result = -1;
    if (!exchange(dev->fd, body, wait, result, data)) {
        dev->broken = true;
        setError(dev, L"the device did not answer or is gone");
        return -1;
    }
    if (result < 0)
        setError(dev, L"the device refused the request");
    else
        dev->error.clear();
    return result;
}

class Reader
{
public:
    explicit Reader(const Bytes &data) : data_(data) {}
    bool ok() const { return ok_; }
    unsigned u16()
    {
        if (!need(2))
            return 0;
        const unsigned v = get<std::uint16_t>(data_.data(), data_.size(), at_);
        at_ += 2;
        return v;
    }
    std::int32_t i32()
    {
        if (!need(4))
            return 0;
        const auto v = get<std::int32_t>(data_.data(), data_.size(), at_);
        at_ += 4;
        return v;
    }
    std::string text()
    {
        const unsigned length = u16();
        if (!need(length))
            return {};
        std::string s(data_.begin() + static_cast<long>(at_),
                      data_.begin() + static_cast<long>(at_ + length));
        at_ += length;
        return s;
    }

private:
    bool need(std::size_t n)
    {
        if (at_ + n > data_.size())
            ok_ = false;
        return ok_;
    }
    const Bytes &data_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// Parses the records of an ENUMERATE reply into a list that hid_free_enumeration releases.
hid_device_info *parseDevices(int count, const Bytes &data)
{
    Reader in(data);
    hid_device_info *head = nullptr;
    hid_device_info **tail = &head;
    for (int i = 0; i < count; ++i) {
        const std::string path = in.text();
        const unsigned vid = in.u16();
        const unsigned pid = in.u16();
        const unsigned usagePage = in.u16();
        const unsigned usage = in.u16();
        const int interfaceNumber = in.i32();
        const unsigned release = in.u16();
        const std::string manufacturer = in.text();
        const std::string product = in.text();
        const std::string serial = in.text();
        if (!in.ok())
            break;
        auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
        if (!info)
            break;
        info->path = strdup(path.c_str());
        info->vendor_id = static_cast<unsigned short>(vid);
        info->product_id = static_cast<unsigned short>(pid);
        info->serial_number = wideCopy(serial);
        info->release_number = static_cast<unsigned short>(release);
        info->manufacturer_string = wideCopy(manufacturer);
        info->product_string = wideCopy(product);
        info->usage_page = static_cast<unsigned short>(usagePage);
        info->usage = static_cast<unsigned short>(usage);
        info->interface_number = interfaceNumber;
        info->bus_type = HID_API_BUS_USB;
        *tail = info;
        tail = &info->next;
    }
    return head;
}

Bytes enumerateRequest(unsigned short vid, unsigned short pid)
{
    Bytes body{OpEnumerate};
    putU16(body, vid);
    putU16(body, pid);
    return body;
}

// The enumeration record of an open handle, fetched over the handle's own connection once.
hid_device_info *deviceInfo(hid_device *dev)
{
    if (!dev)
        return nullptr;
    if (dev->info)
        return dev->info;
    Bytes data;
    const int count = deviceRequest(dev, enumerateRequest(0, 0), 0, data);
    if (count <= 0)
        return nullptr;
    hid_device_info *all = parseDevices(count, data);
    for (hid_device_info **link = &all; *link; link = &(*link)->next) {
        if (dev->path == (*link)->path) {
            dev->info = *link;
            *link = dev->info->next;
            dev->info->next = nullptr;
            break;
        }
    }
    hid_free_enumeration(all);
    if (!dev->info)
        setError(dev, L"the device is no longer listed");
    return dev->info;
}

int copyString(hid_device *dev, wchar_t *hid_device_info::*field, wchar_t *string, size_t maxlen)
{
    hid_device_info *info = deviceInfo(dev);
    if (!info || !string || maxlen == 0)
        return -1;
    const wchar_t *source = info->*field ? info->*field : L"";
    std::wcsncpy(string, source, maxlen);
    string[maxlen - 1] = L'\0';
    return 0;
}

} // namespace

extern "C" {

int hid_init(void)
{
    return 0;
}

int hid_exit(void)
{
    return 0;
}

struct hid_device_info *hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    const int fd = connectSimulator();
    if (fd < 0)
        return nullptr;
    std::int32_t count = -1;
    Bytes data;
    const bool answered =
        exchange(fd, enumerateRequest(vendor_id, product_id), kUsbControlTimeoutMs, count, data);
    close(fd);
    if (!answered || count <= 0) {
        setError(nullptr, answered ? L"no device found" : L"the virtual TK700 did not answer");
        return nullptr;
    }
    globalError.clear();
    return parseDevices(count, data);
}

void hid_free_enumeration(struct hid_device_info *devs)
{
    while (devs) {
        hid_device_info *next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

hid_device *hid_open(unsigned short vendor_id, unsigned short product_id,
                     const wchar_t *serial_number)
{
    hid_device_info *devices = hid_enumerate(vendor_id, product_id);
    std::string path;
    for (hid_device_info *d = devices; d; d = d->next) {
        if (d->vendor_id != vendor_id || d->product_id != product_id)
            continue;
        if (serial_number &&
            (!d->serial_number || std::wcscmp(serial_number, d->serial_number) != 0))
            continue;
        path = d->path;
        break;
    }
    hid_free_enumeration(devices);
    if (path.empty()) {
        setError(nullptr, L"no matching device");
        return nullptr;
    }
    return hid_open_path(path.c_str());
}

hid_device *hid_open_path(const char *path)
{
    if (!path)
        return nullptr;
    const int fd = connectSimulator();
    if (fd < 0)
        return nullptr;
    Bytes body{OpOpen};
    body.insert(body.end(), path, path + std::strlen(path));
    std::int32_t result = -1;
    Bytes data;
    if (!exchange(fd, body, kUsbControlTimeoutMs, result, data) || result != 0) {
        close(fd);
        setError(nullptr, L"cannot open " + widen(path));
        return nullptr;
    }
    auto *dev = new hid_device_;
    dev->fd = fd;
    dev->path = path;
    globalError.clear();
    return dev;
}

int hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    if (!data || length == 0)
        return -1;
    Bytes body{OpWrite};
    body.insert(body.end(), data, data + length);
    Bytes reply;
    return deviceRequest(dev, body, 0, reply);
}

int hid_read_timeout(hid_device *dev, unsigned char *data, size_t length, int milliseconds)
{
    if (!data)
        return -1;
    Bytes body{OpRead};
    putU32(body, static_cast<std::uint32_t>(length));
    const int timeout = milliseconds < 0 ? -1 : milliseconds;
    putU32(body, static_cast<std::uint32_t>(timeout));
    Bytes reply;
    const int n = deviceRequest(dev, body, timeout, reply);
    if (n <= 0)
        return n;
    const std::size_t copied = std::min({static_cast<std::size_t>(n), length, reply.size()});
    std::memcpy(data, reply.data(), copied);
    return static_cast<int>(copied);
}

int hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    if (!dev)
        return -1;
    return hid_read_timeout(dev, data, length, dev->nonblocking ? 0 : -1);
}

int hid_set_nonblocking(hid_device *dev, int nonblock)
{
    if (!dev)
        return -1;
    dev->nonblocking = nonblock != 0;
    return 0;
}

int hid_send_feature_report(hid_device *dev, const unsigned char *data, size_t length)
{
    if (!data || length == 0)
        return -1;
    Bytes body{OpSetFeature};
    body.insert(body.end(), data, data + length);
    Bytes reply;
    return deviceRequest(dev, body, 0, reply);
}

int hid_get_feature_report(hid_device *dev, unsigned char *data, size_t length)
{
    if (!data || length == 0)
        return -1;
    Bytes body{OpGetFeature};
    putU32(body, static_cast<std::uint32_t>(length));
    body.push_back(data[0]);
    Bytes reply;
    const int n = deviceRequest(dev, body, 0, reply);
    if (n <= 0)
        return n;
    const std::size_t copied = std::min({static_cast<std::size_t>(n), length, reply.size()});
    std::memcpy(data, reply.data(), copied);
    return static_cast<int>(copied);
}

int hid_get_input_report(hid_device *dev, unsigned char *, size_t)
{
    // The mouse answers nothing on its control pipe for input reports; the host never asks.
    setError(dev, L"input reports are not supported by the virtual TK700");
    return -1;
}

void hid_close(hid_device *dev)
{
    if (!dev)
        return;
    if (dev->fd >= 0) {
        // As with a real device, the close has happened when hid_close returns: tell the
        // simulator we are done and wait (bounded) until it has dropped its end, so its log
        // holds the close before anything this process does next.
        shutdown(dev->fd, SHUT_WR);
        // A late reply to a call that timed out may still be queued ahead of the end.
        const long long deadline = nowMs() + kCloseWaitMs;
        std::uint8_t discard[256];
        while (receiveSome(dev->fd, discard, sizeof(discard), deadline) > 0) {
        }
        close(dev->fd);
    }
    hid_free_enumeration(dev->info);
    delete dev;
}

int hid_get_manufacturer_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return copyString(dev, &hid_device_info::manufacturer_string, string, maxlen);
}

int hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return copyString(dev, &hid_device_info::product_string, string, maxlen);
}

int hid_get_serial_number_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return copyString(dev, &hid_device_info::serial_number, string, maxlen);
}

struct hid_device_info *hid_get_device_info(hid_device *dev)
{
    return deviceInfo(dev);
}

int hid_get_indexed_string(hid_device *dev, int, wchar_t *, size_t)
{
    setError(dev, L"indexed strings are not supported by the virtual TK700");
    return -1;
}

const wchar_t *hid_error(hid_device *dev)
{
    const std::wstring &error = dev ? dev->error : globalError;
    return error.empty() ? L"Success" : error.c_str();
}

const struct hid_api_version *hid_version(void)
{
    static const hid_api_version version{HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                         HID_API_VERSION_PATCH};
    return &version;
}

const char *hid_version_str(void)
{
    return HID_API_VERSION_STR;
}

} // extern "C"

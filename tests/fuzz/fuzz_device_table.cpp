// The device table reader, on any apConfig.bin.

#include "device/device_table.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::workFolder() + QStringLiteral("/modules/setting/apConfig.bin");
    if (!fuzz::writeFile(path, data, size))
        return 0;
    const DeviceList devices = loadDeviceTable(path);
    FUZZ_CHECK(devices.size() <= size_t(kMaxDeviceCount));
    for (const auto &entry : devices) {
        FUZZ_CHECK(entry);
        if (isUsableEntry(*entry)) {
            FUZZ_CHECK(entry->vid != 0 && entry->pid != 0);
            FUZZ_CHECK(entry->reportLength >= kMinReportLength &&
                       entry->reportLength <= kMaxReportLength);
        }
    }
    return 0;
}

#include "device/HidapiTransport.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <hidapi/hidapi.h>
#include <iterator>
#include <libudev.h>
#include <linux/hidraw.h>
#include <linux/usbdevice_fs.h>
#include <map>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace oruk {

namespace {

void EnsureHidInit() {
    static const bool ok = hid_init() == 0;
    (void)ok;
}

std::string Narrow(const wchar_t* text) {
    std::string out;
    if (!text)
        return out;
    for (; *text; ++text) {
        const auto c = static_cast<char32_t>(*text);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The report descriptor of a hidraw node: sysfs first, the HIDIOCGRDESC ioctl otherwise.
std::vector<std::uint8_t> ReportDescriptor(const std::string& devicePath) {
    const std::string name = std::filesystem::path(devicePath).filename().string();
    auto bytes =
        ReadFileBytes(std::filesystem::path("/sys/class/hidraw") / name / "device/report_descriptor");
    if (!bytes.empty())
        return bytes;
    const int fd = ::open(devicePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    int size = 0;
    hidraw_report_descriptor descriptor{};
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 && size <= HID_MAX_DESCRIPTOR_SIZE) {
        descriptor.size = static_cast<__u32>(size);
        if (::ioctl(fd, HIDIOCGRDESC, &descriptor) == 0)
            bytes.assign(descriptor.value, descriptor.value + size);
    }
    ::close(fd);
    return bytes;
}

// USB string descriptor `index` of the USB device behind a hidraw node. The kernel exposes the
// manufacturer, product and serial strings in sysfs; any other index is fetched from the device.
std::string UsbStringDescriptor(const std::string& devicePath, int index) {
    udev* u = udev_new();
    if (!u)
        return {};
    std::string result;
    const std::string name = std::filesystem::path(devicePath).filename().string();
    if (udev_device* hid = udev_device_new_from_subsystem_sysname(u, "hidraw", name.c_str())) {
        if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hid, "usb", "usb_device")) {
            const auto descriptors =
                ReadFileBytes(std::filesystem::path(udev_device_get_syspath(usb)) / "descriptors");
            const std::map<int, const char*> attributes = {
                {14, "manufacturer"}, {15, "product"}, {16, "serial"}};
            bool found = false;
            for (const auto& [offset, attribute] : attributes) {
                if (descriptors.size() > static_cast<std::size_t>(offset) && descriptors[offset] == index) {
                    if (const char* v = udev_device_get_sysattr_value(usb, attribute))
                        result = v;
                    found = true;
                    break;
                }
            }
            const char* node = udev_device_get_devnode(usb);
            if (!found && node) {
                const int fd = ::open(node, O_RDWR | O_CLOEXEC);
                if (fd >= 0) {
                    unsigned char buffer[255] = {};
                    usbdevfs_ctrltransfer transfer{};
                    transfer.bRequestType = 0x80; // device to host, standard, device
                    transfer.bRequest = 6;        // GET_DESCRIPTOR
                    transfer.wValue = static_cast<__u16>((3 << 8) | index);
                    transfer.wIndex = 0x0409;
                    transfer.wLength = sizeof buffer;
                    transfer.timeout = 500;
                    transfer.data = buffer;
                    const int n = ::ioctl(fd, USBDEVFS_CONTROL, &transfer);
                    if (n >= 2 && buffer[1] == 3) {
                        std::wstring text;
                        const int length = std::min<int>(n, buffer[0]);
                        for (int i = 2; i + 1 < length; i += 2)
                            text += static_cast<wchar_t>(buffer[i] | (buffer[i + 1] << 8));
                        result = Narrow(text.c_str());
                    }
                    ::close(fd);
                }
            }
        }
        udev_device_unref(hid);
    }
    udev_unref(u);
    return result;
}

} // namespace

int OutputReportLengthFromDescriptor(const std::vector<std::uint8_t>& d) {
    struct Globals {
        std::uint32_t reportSize = 0, reportCount = 0, reportId = 0;
    } globals;
    std::vector<Globals> stack;
    std::map<std::uint32_t, std::uint64_t> bits; // output bits per report id
    for (std::size_t i = 0; i < d.size();) {
        const std::uint8_t prefix = d[i];
        if (prefix == 0xFE) { // long item: skip it
            if (i + 1 >= d.size())
                break;
            i += 3 + d[i + 1];
            continue;
        }
        const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (i + 1 + size > d.size())
            break;
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < size; ++k)
            value |= static_cast<std::uint32_t>(d[i + 1 + k]) << (8 * k);
        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        if (type == 1) { // global
            switch (tag) {
            case 7:
                globals.reportSize = value;
                break;
            case 8:
                globals.reportId = value;
                break;
            case 9:
                globals.reportCount = value;
                break;
            case 10:
                stack.push_back(globals);
                break;
            case 11:
                if (!stack.empty()) {
                    globals = stack.back();
                    stack.pop_back();
                }
                break;
            default:
                break;
            }
        } else if (type == 0 && tag == 9) { // main: Output
            bits[globals.reportId] += static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
        }
        i += 1 + size;
    }
    std::uint64_t longest = 0;
    for (const auto& [id, n] : bits)
        longest = std::max(longest, (n + 7) / 8);
    if (longest == 0)
        return 0;
    // Byte 0 always carries the report id (0 when the device numbers none).
    return static_cast<int>(longest + 1);
}

std::vector<HidDeviceEntry> ListDevices() {
    EnsureHidInit();
    std::vector<HidDeviceEntry> out;
    hid_device_info* list = hid_enumerate(kDeviceVendorId, kDeviceProductId);
    for (hid_device_info* info = list; info; info = info->next) {
        HidDeviceEntry e;
        e.Path = info->path ? info->path : "";
        e.Serial = Narrow(info->serial_number);
        e.HardwareVersion = UsbStringDescriptor(e.Path, 3);
        e.OutputReportLength = OutputReportLengthFromDescriptor(ReportDescriptor(e.Path));
        out.push_back(std::move(e));
    }
    hid_free_enumeration(list);
    return out;
}

HidapiTransport::HidapiTransport() {
    EnsureHidInit();
}

HidapiTransport::~HidapiTransport() {
    if (monitor_.joinable()) {
        monitorStop_ = true;
        const char wake = 1;
        [[maybe_unused]] const auto n = ::write(wakePipe_[1], &wake, 1);
        monitor_.join();
    }
    for (int fd : wakePipe_)
        if (fd >= 0)
            ::close(fd);
    Close();
}

void HidapiTransport::SetInputHandler(InputHandler handler) {
    std::lock_guard lock(inputMutex_);
    input_ = std::move(handler);
}

void HidapiTransport::SetChangeHandler(ChangeHandler handler) {
    {
        std::lock_guard lock(changeMutex_);
        change_ = std::move(handler);
    }
    if (!monitor_.joinable() && ::pipe2(wakePipe_, O_CLOEXEC) == 0)
        monitor_ = std::thread([this] { MonitorLoop(); });
}

bool HidapiTransport::Open(std::uint16_t vendorId, std::uint16_t productId) {
    Close();
    hid_device_info* list = hid_enumerate(vendorId, productId);
    hid_device* device = nullptr;
    std::string path;
    int length = 0;
    for (hid_device_info* info = list; info && !device; info = info->next) {
        if (!info->path)
            continue;
        // The output report length comes from the device's own descriptor, never a guess.
        length = OutputReportLengthFromDescriptor(ReportDescriptor(info->path));
        if (length <= 1)
            continue;
        device = hid_open_path(info->path);
        if (device)
            path = info->path;
    }
    hid_free_enumeration(list);
    if (!device)
        return false;
    {
        std::lock_guard lock(mutex_);
        device_ = device;
        path_ = path;
        outputLength_ = length;
    }
    readerStop_ = false;
    flushRequested_ = false; // a flush left over from the removed device must not eat the first replies
    reader_ = std::thread([this] { ReaderLoop(); });
    return true;
}

bool HidapiTransport::IsOpen() const {
    std::lock_guard lock(mutex_);
    return device_ != nullptr;
}

bool HidapiTransport::IsPluggedIn() {
    std::lock_guard lock(mutex_);
    return device_ != nullptr && std::filesystem::exists(path_);
}

void HidapiTransport::StopReader() {
    readerStop_ = true;
    if (reader_.joinable())
        reader_.join();
}

void HidapiTransport::Close() {
    StopReader();
    std::lock_guard lock(mutex_);
    if (device_)
        hid_close(device_);
    device_ = nullptr;
    path_.clear();
    outputLength_ = 0;
}

int HidapiTransport::OutputReportLength() {
    std::lock_guard lock(mutex_);
    return outputLength_;
}

bool HidapiTransport::Write(const std::vector<std::uint8_t>& report) {
    // Held across the write: a removal on the monitor thread must not close the handle under it.
    std::lock_guard lock(mutex_);
    if (!device_ || report.empty())
        return false;
    return hid_write(device_, report.data(), report.size()) >= 0;
}

void HidapiTransport::Flush() {
    // Asked for by the exchange thread while a removal may be closing the device on the monitor
    // thread: look at the handle under the lock, never at the reader's thread object.
    {
        std::lock_guard lock(mutex_);
        if (!device_)
            return;
    }
    flushRequested_ = true;
    // The reader drops what is queued and clears the flag; it reads with a 10 ms timeout.
    for (int i = 0; i < 100 && flushRequested_ && !readerStop_; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

std::string HidapiTransport::StringDescriptor(int index) {
    std::string path;
    {
        std::lock_guard lock(mutex_);
        path = path_;
    }
    return path.empty() ? std::string() : UsbStringDescriptor(path, index);
}

void HidapiTransport::ReaderLoop() {
    hid_device* device = nullptr;
    {
        std::lock_guard lock(mutex_);
        device = device_;
    }
    std::uint8_t buffer[1024];
    while (!readerStop_) {
        const int n = hid_read_timeout(device, buffer, sizeof buffer, 10);
        if (n < 0) {                 // unplugged: the monitor reports it; keep quiet until closed
            flushRequested_ = false; // nothing is left to drop
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        if (flushRequested_) {
            if (n == 0)
                flushRequested_ = false;
            continue;
        }
        if (n == 0)
            continue;
        std::lock_guard lock(inputMutex_);
        if (input_)
            input_(buffer, static_cast<std::size_t>(n));
    }
}

// Without a udev monitor (no udev daemon) the device list is compared once a second instead.
void HidapiTransport::PollLoop() {
    auto paths = [] {
        std::vector<std::string> out;
        hid_device_info* list = hid_enumerate(kDeviceVendorId, kDeviceProductId);
        for (hid_device_info* info = list; info; info = info->next)
            out.emplace_back(info->path ? info->path : "");
        hid_free_enumeration(list);
        return out;
    };
    std::vector<std::string> known = paths();
    pollfd wake = {wakePipe_[0], POLLIN, 0};
    while (!monitorStop_) {
        if (::poll(&wake, 1, 1000) > 0)
            break;
        std::vector<std::string> now = paths();
        if (now == known)
            continue;
        known = std::move(now);
        std::lock_guard lock(changeMutex_);
        if (change_)
            change_();
    }
}

void HidapiTransport::MonitorLoop() {
    udev* u = udev_new();
    udev_monitor* monitor = u ? udev_monitor_new_from_netlink(u, "udev") : nullptr;
    if (!monitor) {
        if (u)
            udev_unref(u);
        PollLoop();
        return;
    }
    udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr);
    udev_monitor_enable_receiving(monitor);
    pollfd fds[2] = {{udev_monitor_get_fd(monitor), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    while (!monitorStop_) {
        if (::poll(fds, 2, -1) <= 0)
            continue;
        if (fds[1].revents)
            break;
        if (fds[0].revents & POLLIN) {
            if (udev_device* dev = udev_monitor_receive_device(monitor))
                udev_device_unref(dev);
            std::lock_guard lock(changeMutex_);
            if (change_)
                change_();
        }
    }
    udev_monitor_unref(monitor);
    udev_unref(u);
}

} // namespace oruk

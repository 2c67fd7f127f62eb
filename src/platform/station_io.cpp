#include "platform/station_io.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#if defined(__linux__)
#include <linux/parport.h>
#include <linux/ppdev.h>
#endif
#if QARV_HAVE_HIDAPI
#include <hidapi/hidapi.h>
#endif
#if QARV_HAVE_FTDI
#include <libftdi1/ftdi.h>
#endif

namespace plat {
namespace {

std::function<std::unique_ptr<HidDevice>(std::uint16_t, std::uint16_t)> g_hidopener;
std::function<std::unique_ptr<FtdiDevice>(const std::string&)> g_ftdiopener;
std::function<std::unique_ptr<ParallelPort>(const std::string&)> g_parallelopener;

#if QARV_HAVE_HIDAPI
class RealHid : public HidDevice {
public:
    explicit RealHid(hid_device* h) : h_(h) {}
    ~RealHid() override { hid_close(h_); }
    int Write(const std::uint8_t* data, int length) override { return hid_write(h_, data, std::size_t(length)); }
    int Read(std::uint8_t* data, int length, int timeoutMs) override {
        if (length < 2) return -1;
        // hidraw hands over an unnumbered report without its id byte.
        const int n = hid_read_timeout(h_, data + 1, std::size_t(length - 1), timeoutMs);
        if (n <= 0) return n;
        data[0] = 0;
        return n + 1;
    }
    int SendFeature(const std::uint8_t* data, int length) override {
        return hid_send_feature_report(h_, data, std::size_t(length));
    }

private:
    hid_device* h_;
};
#endif

#if QARV_HAVE_FTDI
class RealFtdi : public FtdiDevice {
public:
    explicit RealFtdi(ftdi_context* c) : c_(c) {}
    ~RealFtdi() override {
        ftdi_usb_close(c_);
        ftdi_free(c_);
    }
    bool SetBaud(int baud) override { return ftdi_set_baudrate(c_, baud) == 0; }
    bool SetBitMode(std::uint8_t mask, std::uint8_t mode) override {
        return ftdi_set_bitmode(c_, mask, mode == 1 ? std::uint8_t(BITMODE_BITBANG) : mode) == 0;
    }
    bool SetTimeouts(int readMs, int writeMs) override {
        c_->usb_read_timeout = readMs;
        c_->usb_write_timeout = writeMs > 0 ? writeMs : 5000;
        return true;
    }
    int Write(const std::uint8_t* data, int length) override {
        return ftdi_write_data(c_, data, length);
    }

private:
    ftdi_context* c_;
};
#endif

#if defined(__linux__)
class RealParallel : public ParallelPort {
public:
    explicit RealParallel(int fd) : fd_(fd) {}
    ~RealParallel() override {
        ioctl(fd_, PPRELEASE);
        close(fd_);
    }
    bool WriteData(std::uint8_t value) override { return ioctl(fd_, PPWDATA, &value) == 0; }
    bool WriteControl(std::uint8_t value) override { return ioctl(fd_, PPWCONTROL, &value) == 0; }
    int Descriptor() const override { return fd_; }

private:
    int fd_;
};
#endif

}  // namespace

std::unique_ptr<HidDevice> OpenHid(std::uint16_t vendor, std::uint16_t product) {
    if (g_hidopener) return g_hidopener(vendor, product);
#if QARV_HAVE_HIDAPI
    if (hid_init() != 0) return nullptr;
    hid_device* h = hid_open(vendor, product, nullptr);
    if (!h) return nullptr;
    return std::make_unique<RealHid>(h);
#else
    (void)vendor;
    (void)product;
    return nullptr;
#endif
}

std::unique_ptr<FtdiDevice> OpenFtdiByDescription(const std::string& description) {
    if (g_ftdiopener) return g_ftdiopener(description);
#if QARV_HAVE_FTDI
    ftdi_context* c = ftdi_new();
    if (!c) return nullptr;
    // FTDI's own vendor and the FT245R's product id; the description picks
    // the board among them.
    if (ftdi_usb_open_desc(c, 0x0403, 0x6001, description.c_str(), nullptr) != 0) {
        ftdi_free(c);
        return nullptr;
    }
    return std::make_unique<RealFtdi>(c);
#else
    (void)description;
    return nullptr;
#endif
}

std::unique_ptr<ParallelPort> OpenParallelPort(const std::string& device) {
    if (g_parallelopener) return g_parallelopener(device);
#if defined(__linux__)
    const int fd = open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (ioctl(fd, PPCLAIM) != 0) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<RealParallel>(fd);
#else
    (void)device;
    return nullptr;
#endif
}

void SetHidOpener(std::function<std::unique_ptr<HidDevice>(std::uint16_t, std::uint16_t)> opener) {
    g_hidopener = std::move(opener);
}
void SetFtdiOpener(std::function<std::unique_ptr<FtdiDevice>(const std::string&)> opener) {
    g_ftdiopener = std::move(opener);
}
void SetParallelOpener(std::function<std::unique_ptr<ParallelPort>(const std::string&)> opener) {
    g_parallelopener = std::move(opener);
}

}  // namespace plat

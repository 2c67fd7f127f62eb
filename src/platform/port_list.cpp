#include "platform/port_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace plat {
namespace {
bool Exists(const std::string& path) {
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}
std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> out;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') out.emplace_back(e->d_name);
        closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}
// A ttyS device node exists for every possible UART; sysfs tells which one
// has hardware (type 0 means none) without touching the port.
bool HasUart(const std::string& name) {
    std::ifstream in("/sys/class/tty/" + name + "/type");
    int type = 0;
    return in >> type && type != 0;
}
}  // namespace

std::vector<std::string> ListSerialPorts(const std::string& dir) {
    std::vector<std::string> out;
    for (int n = 1; n <= 100; ++n) {
        char link[32];
        std::snprintf(link, sizeof link, "/ports/com%d", n);
        if (Exists(dir + link)) out.push_back("COM" + std::to_string(n));
    }
    for (const std::string& e : Entries("/dev/serial/by-id")) out.push_back("/dev/serial/by-id/" + e);
    for (const std::string& e : Entries("/dev")) {
        const bool usb = e.rfind("ttyUSB", 0) == 0 || e.rfind("ttyACM", 0) == 0;
        const bool uart = e.rfind("ttyS", 0) == 0 && HasUart(e);
        if (usb || uart) out.push_back("/dev/" + e);
    }
    return out;
}
}  // namespace plat

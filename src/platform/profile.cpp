#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace plat {
namespace {

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "[name]" gives name; anything else nullopt.
std::optional<std::string> SectionOf(const std::string& line) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    auto close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

// "key=value" gives (key, value); nullopt when there is no '='.
bool KeyOf(const std::string& line, std::string& key, std::string& value) {
    auto eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return !key.empty();
}

struct Cached {
    std::string path;
    bool valid = false;
    bool exists = false;
    timespec mtime{};
    off_t size = 0;
    ino_t inode = 0;
    IniDocument doc;
};
Cached g_cache;

struct Batch {
    bool active = false;
    std::string path;
    IniDocument doc;
    bool dirty = false;
};
Batch g_batch;

IniDocument LoadDoc(const std::string& path) {
    IniDocument d;
    if (auto text = ReadWholeFile(path)) d.Parse(*text);
    return d;
}

const IniDocument& CachedDoc(const std::string& path) {
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
    if (g_cache.valid && g_cache.path == path && g_cache.exists == exists &&
        (!exists || (st.st_mtim.tv_sec == g_cache.mtime.tv_sec && st.st_mtim.tv_nsec == g_cache.mtime.tv_nsec &&
                     st.st_size == g_cache.size && st.st_ino == g_cache.inode)))
        return g_cache.doc;
    g_cache.path = path;
    g_cache.valid = true;
    g_cache.exists = exists;
    g_cache.mtime = exists ? st.st_mtim : timespec{};
    g_cache.size = exists ? st.st_size : 0;
    g_cache.inode = exists ? st.st_ino : 0;
    g_cache.doc = exists ? LoadDoc(path) : IniDocument{};
    return g_cache.doc;
}

}  // namespace

void IniDocument::Parse(const std::string& text) {
    lines_.clear();
    crlf_ = text.find("\r\n") != std::string::npos;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
}

std::string IniDocument::Serialize() const {
    const char* eol = crlf_ ? "\r\n" : "\n";
    std::string out;
    for (const auto& l : lines_) {
        out += l;
        out += eol;
    }
    return out;
}

std::optional<std::string> IniDocument::Get(const std::string& section, const std::string& key) const {
    bool inSection = false;
    bool seenSection = false;
    for (const auto& line : lines_) {
        if (auto s = SectionOf(line)) {
            if (inSection) return std::nullopt;  // first matching section only
            inSection = EqualNoCase(*s, section) && !seenSection;
            seenSection = seenSection || inSection;
            continue;
        }
        if (!inSection) continue;
        std::string k, v;
        if (KeyOf(line, k, v) && EqualNoCase(k, key)) return v;
    }
    return std::nullopt;
}

bool IniDocument::Set(const std::string& section, const std::string& key, const std::string& value) {
    const std::string newLine = key + "=" + value;
    std::size_t secLine = std::string::npos;
    std::size_t lastContent = std::string::npos;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto s = SectionOf(lines_[i])) {
            if (secLine != std::string::npos) break;
            if (EqualNoCase(*s, section)) {
                secLine = i;
                lastContent = i;
            }
            continue;
        }
        if (secLine == std::string::npos) continue;
        if (!Trim(lines_[i]).empty()) lastContent = i;
        std::string k, v;
        if (KeyOf(lines_[i], k, v) && EqualNoCase(k, key)) {
            if (lines_[i] == newLine) return false;
            lines_[i] = newLine;
            return true;
        }
    }
    if (secLine != std::string::npos) {
        lines_.insert(lines_.begin() + std::ptrdiff_t(lastContent + 1), newLine);
        return true;
    }
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.push_back("");
    lines_.push_back("[" + section + "]");
    lines_.push_back(newLine);
    return true;
}

std::string ProfileReadString(const std::string& section, const std::string& key, const std::string& def,
                              const std::string& path, std::size_t size) {
    std::optional<std::string> v;
    if (g_batch.active && g_batch.path == path) v = g_batch.doc.Get(section, key);
    else v = CachedDoc(path).Get(section, key);
    std::string out = v ? *v : def;
    if (size == 0) return std::string();
    if (out.size() > size - 1) out.resize(size - 1);
    return out;
}

bool ProfileWriteString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& path) {
    if (g_batch.active && g_batch.path == path) {
        g_batch.dirty |= g_batch.doc.Set(section, key, value);
        return true;
    }
    IniDocument doc = CachedDoc(path);
    if (!doc.Set(section, key, value) && ::access(path.c_str(), F_OK) == 0) return true;
    bool ok = WriteFileAtomic(path, doc.Serialize());
    g_cache.valid = false;
    return ok;
}

void ProfileBeginBatch(const std::string& path) {
    g_batch.active = true;
    g_batch.path = path;
    g_batch.doc = CachedDoc(path);
    g_batch.dirty = false;
}

bool ProfileEndBatch() {
    if (!g_batch.active) return true;
    g_batch.active = false;
    bool ok = true;
    if (g_batch.dirty) ok = WriteFileAtomic(g_batch.path, g_batch.doc.Serialize());
    g_cache.valid = false;
    g_batch.doc = IniDocument{};
    return ok;
}

void ProfileFlushCache() { g_cache.valid = false; }

bool WriteFileAtomic(const std::string& path, const std::string& data) {
    std::string tmp = path + ".tmp" + std::to_string(::getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        p += n;
        left -= std::size_t(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data;
    char buf[65536];
    while (in && data.size() < limit) {
        in.read(buf, sizeof buf);
        data.append(buf, std::size_t(in.gcount()));
    }
    if (data.size() > limit) data.resize(limit);
    return data;
}

}  // namespace plat

#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/files.h"

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
    // False when the file exists but could not be read whole: writing the
    // document back would lose what was not read.
    bool whole = true;
    IniDocument doc;
};
Cached g_cache;

struct Batch {
    bool active = false;
    std::string path;
    IniDocument doc;
    bool dirty = false;
    bool whole = true;
};
Batch g_batch;

const char* const kNotReadWhole = "the file could not be read whole, so it is left as it is";

bool LoadDoc(const std::string& path, IniDocument& d) {
    d = IniDocument{};
    auto text = ReadWholeFile(path);
    if (!text) return false;
    try {
        d.Parse(*text);
    } catch (const std::bad_alloc&) {
        d = IniDocument{};
        return false;
    }
    return true;
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
    g_cache.doc = IniDocument{};
    g_cache.whole = !exists || LoadDoc(path, g_cache.doc);
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
    if (!g_cache.whole) return false;
    if (!doc.Set(section, key, value) && ::access(path.c_str(), F_OK) == 0) return true;
    bool ok = WriteFileAtomic(path, doc.Serialize());
    g_cache.valid = false;
    return ok;
}

void ProfileBeginBatch(const std::string& path) {
    g_batch.active = true;
    g_batch.path = path;
    g_batch.doc = CachedDoc(path);
    g_batch.whole = g_cache.whole;
    g_batch.dirty = false;
}

bool ProfileEndBatch(std::string* error) {
    if (!g_batch.active) return true;
    g_batch.active = false;
    bool ok = true;
    if (g_batch.dirty && !g_batch.whole) {
        ok = false;
        if (error) *error = kNotReadWhole;
    } else if (g_batch.dirty) {
        ok = WriteFileAtomic(g_batch.path, g_batch.doc.Serialize(), error);
    }
    g_cache.valid = false;
    g_batch.doc = IniDocument{};
    return ok;
}

void ProfileFlushCache() { g_cache.valid = false; }

namespace {
bool Failed(std::string* error, const char* what, int err) {
    if (error) *error = std::string(what) + ": " + std::strerror(err);
    return false;
}

// Makes a rename in `dir` last: without it a crash soon after the save may
// bring back the old file.
void SyncDirectory(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
}  // namespace

bool WriteFileAtomic(const std::string& path, const std::string& data, std::string* error) {
    // Through a link the save goes where the link points, so the link stays.
    std::string real;
    if (!ResolveLinks(path, real)) return Failed(error, "cannot follow the link", errno);
    struct stat old {};
    const bool replacing = ::stat(real.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const std::string tmp = real + ".tmp" + std::to_string(::getpid());
    // O_NOFOLLOW: a link planted under the temporary name is not followed.
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, replacing ? 0600 : 0666);
    if (fd < 0) return Failed(error, "cannot create the temporary file", errno);
    auto fail = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        return Failed(error, what, err);
    };
    if (replacing) {
        // The new file is what the old one was to everyone else: same
        // permissions, same owner where this process may give it.
        if (::fchmod(fd, old.st_mode & 07777) != 0) return fail("cannot keep the file's permissions");
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            const int rc = ::fchown(fd, old.st_uid, old.st_gid);
            (void)rc;
        }
    }
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail("cannot write");
        }
        p += n;
        left -= std::size_t(n);
    }
    if (::fsync(fd) != 0) return fail("cannot write");
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return Failed(error, "cannot write", err);
    }
    if (::rename(tmp.c_str(), real.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return Failed(error, "cannot replace the file", err);
    }
    SyncDirectory(real);
    return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string data;
    try {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
            data.reserve(std::min<std::size_t>(std::size_t(st.st_size), limit));
        char buf[65536];
        while (data.size() < limit) {
            const ssize_t n = ::read(fd, buf, std::min(sizeof buf, limit - data.size()));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ::close(fd);
                return std::nullopt;  // a part is not the file
            }
            if (n == 0) break;
            data.append(buf, std::size_t(n));
        }
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return std::nullopt;
    }
    ::close(fd);
    return data;
}

}  // namespace plat

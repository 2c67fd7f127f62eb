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
#include "platform/folder_lock.h"

namespace plat {
namespace {

struct Cached {
    std::string path;
    bool valid = false;
    bool exists = false;
    timespec mtime{};
    off_t size = 0;
    ino_t inode = 0;
    // False when the file exists but could not be read whole: writing the
    // document back would lose what was not read. `why` says what kept it.
    bool whole = true;
    std::string why;
    IniDocument doc;
};
Cached g_cache;

struct Batch {
    bool active = false;
    std::string path;
    IniDocument doc;
    bool dirty = false;
    bool whole = true;
    std::string why;
};
Batch g_batch;

const char* const kNotReadWhole = "the file could not be read whole, so it is left as it is";

NotRegularReporter g_notregular = nullptr;

// What a file that is no regular file is, for the messages.
const char* Kind(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISDIR(mode)) return "a folder";
    return "a special file";
}

std::string NotRegular(mode_t mode) { return std::string("it is ") + Kind(mode) + ", not a regular file"; }

// Tells the reporter and gives the reason; always false.
bool RefuseNotRegular(const std::string& path, mode_t mode, std::string* error) {
    if (g_notregular) g_notregular(path, Kind(mode));
    if (error) *error = NotRegular(mode) + ", so it is left as it is";
    return false;
}

bool Failed(std::string* error, const char* what, int err) {
    if (error) *error = std::string(what) + ": " + std::strerror(err);
    return false;
}

// Opens `name` in the folder `dir` (links followed) as a regular file and
// nothing else. A FIFO or a device is not even opened: an open may wait for
// the other end for good or act on the device. The open itself does not wait
// either, in case one took the name since the look; what it opened is looked
// at again before anything is read or written. -1 on refusal or failure.
int OpenRegularAt(int dir, const std::string& name, int flags, const std::string& path, std::string* error) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, 0) == 0 && !S_ISREG(st.st_mode)) {
        RefuseNotRegular(path, st.st_mode, error);
        return -1;
    }
    const int fd = ::openat(dir, name.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return Failed(error, "cannot open", errno), -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return RefuseNotRegular(path, st.st_mode, error), -1;
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    return fd;
}

bool LoadDoc(const std::string& path, IniDocument& d) {
    d = IniDocument{};
    auto text = ReadWholeFile(path);
    if (!text) return false;
    try {
        d.Parse(std::move(*text));
    } catch (const std::bad_alloc&) {
        d = IniDocument{};
        return false;
    }
    return true;
}

const IniDocument& CachedDoc(const std::string& path) {
    struct stat st {};
    bool exists = StatFile(path, st);
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
    // A FIFO or a device is refused for what it is, and the save says so.
    g_cache.why = exists && !S_ISREG(st.st_mode) ? NotRegular(st.st_mode) : std::string();
    g_cache.whole = !exists || LoadDoc(path, g_cache.doc);
    return g_cache.doc;
}

}  // namespace

namespace {
std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = char(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

// "[name]" gives name; anything else nullopt.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view t = TrimView(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    auto close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return TrimView(t.substr(1, close - 1));
}

// "key=value" gives the key; nullopt when there is no '=' or no name.
std::optional<std::string_view> KeyName(std::string_view line) {
    auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view k = TrimView(line.substr(0, eq));
    if (k.empty()) return std::nullopt;
    return k;
}
}  // namespace

namespace {
enum : std::uint16_t { kNoEnd = 0, kLf = 1, kCrLf = 2, kCr = 3 };
const char* const kEnds[] = {"", "\n", "\r\n", "\r"};
const char kBom[] = "\xEF\xBB\xBF";
// Marks a key's index as one into a section's added lines.
constexpr std::size_t kAdded = std::size_t(1) << (sizeof(std::size_t) * 8 - 1);
}  // namespace

std::string_view IniDocument::Text(const Line& l) const {
    const std::string& from = l.own ? own_ : text_;
    return std::string_view(from).substr(l.off, l.len);
}

const IniDocument::Line& IniDocument::LineAt(const Section& s, std::size_t i) const {
    return i & kAdded ? s.added[i & ~kAdded] : s.body[i];
}

void IniDocument::Parse(const std::string& text) { Parse(std::string(text)); }

void IniDocument::Parse(std::string&& text) {
    text_ = std::move(text);
    own_.clear();
    sections_.clear();
    sections_.emplace_back();
    sectionIndex_.clear();
    // A byte-order mark is not part of the first line: an editor put it there.
    bom_ = text_.compare(0, 3, kBom) == 0;
    eol_ = 0;
    const char* base = text_.data();
    const std::size_t size = text_.size();
    std::size_t pos = bom_ ? 3 : 0;
    // The next LF and CR at or after pos, each searched for again only once
    // passed, so the scan stays linear.
    auto find = [&](std::size_t from, char c) {
        const void* at = std::memchr(base + from, c, size - from);
        return at ? std::size_t(static_cast<const char*>(at) - base) : size;
    };
    std::size_t nextLf = find(pos, '\n'), nextCr = find(pos, '\r');
    while (pos < size) {
        if (nextLf < pos) nextLf = find(pos, '\n');
        if (nextCr < pos) nextCr = find(pos, '\r');
        const std::size_t end = std::min(nextLf, nextCr);
        std::uint16_t eol = kNoEnd;
        std::size_t next = end;
        if (end < size) {
            if (base[end] == '\n') eol = kLf, next = end + 1;
            else if (end + 1 < size && base[end + 1] == '\n') eol = kCrLf, next = end + 2;
            else eol = kCr, next = end + 1;
            if (eol_ == 0) eol_ = eol;
        }
        const Line line{pos, std::uint32_t(end - pos), 0, eol};
        if (auto name = SectionName(Text(line))) {
            sections_.emplace_back();
            sections_.back().header = line;
            sectionIndex_.try_emplace(Upper(*name), sections_.size() - 1);
        } else {
            sections_.back().body.push_back(line);
        }
        pos = next;
    }
    if (eol_ == 0) eol_ = kLf;
}

std::string IniDocument::Serialize() const {
    std::string out;
    out.reserve(text_.size() + own_.size() + 2 * (sections_.size() + 16));
    if (bom_) out += kBom;
    // The last line of the file may have had no end; anything after it needs one.
    auto put = [&](const Line& l) {
        out += Text(l);
        out += kEnds[l.eol == kNoEnd ? eol_ : l.eol];
    };
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const Section& s = sections_[i];
        if (i > 0) put(s.header);
        for (std::size_t j = 0; j <= s.body.size(); ++j) {
            if (j == s.addAt)
                for (const Line& l : s.added) put(l);
            if (j < s.body.size()) put(s.body[j]);
        }
    }
    return out;
}

const std::unordered_map<std::string, std::size_t>& IniDocument::KeysOf(std::size_t section) const {
    Section& sec = sections_[section];
    if (!sec.keys) {
        sec.keys = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t i = 0; i < sec.body.size(); ++i)
            if (auto k = KeyName(Text(sec.body[i]))) sec.keys->try_emplace(Upper(*k), i);
    }
    return *sec.keys;
}

std::optional<std::size_t> IniDocument::FindSection(const std::string& name) const {
    auto it = sectionIndex_.find(Upper(TrimView(name)));
    if (it == sectionIndex_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::pair<std::size_t, std::size_t>> IniDocument::FindKey(const std::string& section,
                                                                         const std::string& key) const {
    auto sec = FindSection(section);
    if (!sec) return std::nullopt;
    const auto& keys = KeysOf(*sec);
    auto it = keys.find(Upper(key));
    if (it == keys.end()) return std::nullopt;
    return std::make_pair(*sec, it->second);
}

IniDocument::Line IniDocument::Own(const std::string& text, std::uint16_t eol) {
    Line l{own_.size(), std::uint32_t(text.size()), 1, eol};
    own_ += text;
    return l;
}

std::optional<std::string_view> IniDocument::KeyLine(const std::string& section, const std::string& key) const {
    auto at = FindKey(section, key);
    if (!at) return std::nullopt;
    return Text(LineAt(sections_[at->first], at->second));
}

std::optional<std::string> IniDocument::Get(const std::string& section, const std::string& key) const {
    auto line = KeyLine(section, key);
    if (!line) return std::nullopt;
    return std::string(TrimView(line->substr(line->find('=') + 1)));
}

bool IniDocument::LastLineBlank() const {
    const Section& last = sections_.back();
    if (!last.added.empty() && last.addAt == last.body.size()) return false;
    if (last.body.empty()) return sections_.size() == 1;
    return TrimView(Text(last.body.back())).empty();
}

bool IniDocument::Set(const std::string& section, const std::string& key, const std::string& value) {
    const std::string newLine = key + "=" + value;
    if (auto sec = FindSection(section)) {
        KeysOf(*sec);
        Section& s = sections_[*sec];
        auto it = s.keys->find(Upper(key));
        if (it != s.keys->end()) {
            const std::size_t i = it->second;
            Line& l = i & kAdded ? s.added[i & ~kAdded] : s.body[i];
            if (Text(l) == newLine) return false;
            l = Own(newLine, l.eol);
            return true;
        }
        // A new key goes after the section's last line that is not blank;
        // only blank lines come after it, so no key changes its place. The
        // place is found once: later keys follow the ones added before.
        if (s.added.empty()) {
            s.addAt = s.body.size();
            while (s.addAt > 0 && TrimView(Text(s.body[s.addAt - 1])).empty()) --s.addAt;
        }
        s.added.push_back(Own(newLine, eol_));
        if (auto k = KeyName(newLine)) s.keys->try_emplace(Upper(*k), (s.added.size() - 1) | kAdded);
        return true;
    }
    if (!LastLineBlank()) sections_.back().body.push_back(Own("", eol_));
    const std::string header = "[" + section + "]";
    sections_.emplace_back();
    sections_.back().header = Own(header, eol_);
    sections_.back().body.push_back(Own(newLine, eol_));
    if (auto name = SectionName(header)) sectionIndex_.try_emplace(Upper(*name), sections_.size() - 1);
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
    CachedDoc(path);
    if (!g_cache.whole) return false;
    // The cached document takes the change; it is read again after the
    // write, whichever way the write went.
    if (!g_cache.doc.Set(section, key, value) && g_cache.exists) return true;
    bool ok = WriteFileAtomic(path, g_cache.doc.Serialize());
    g_cache.valid = false;
    g_cache.doc = IniDocument{};
    return ok;
}

void ProfileBeginBatch(const std::string& path) {
    g_batch.active = true;
    g_batch.path = path;
    // The batch takes the cached document over rather than copying a
    // large file.
    CachedDoc(path);
    g_batch.doc = std::move(g_cache.doc);
    g_batch.whole = g_cache.whole;
    g_batch.why = g_cache.why;
    g_cache.valid = false;
    g_cache.doc = IniDocument{};
    g_batch.dirty = false;
}

bool ProfileEndBatch(std::string* error) {
    if (!g_batch.active) return true;
    g_batch.active = false;
    bool ok = true;
    if (g_batch.dirty && !g_batch.whole) {
        ok = false;
        if (error) *error = g_batch.why.empty() ? kNotReadWhole : g_batch.why + ", so it is left as it is";
    } else if (g_batch.dirty) {
        ok = WriteFileAtomic(g_batch.path, g_batch.doc.Serialize(), error);
    }
    g_cache.valid = false;
    g_batch.doc = IniDocument{};
    return ok;
}

void ProfileFlushCache() { g_cache.valid = false; }

namespace {
// Makes a rename in `dir` last: without it a crash soon after the save may
// bring back the old file.
void SyncDirectory(int dir) {
    const int fd = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
}  // namespace

bool WriteFileAtomic(const std::string& path, const std::string& data, std::string* error) {
    // A file of the working folder goes into that folder even when its name
    // now leads elsewhere; through a link the save goes where the link
    // points, so the link stays.
    FolderFile file(path);
    if (!file.ok()) return Failed(error, "cannot reach the folder", errno);
    if (!file.FollowLinks()) return Failed(error, "cannot follow the link", errno);
    const int dir = file.dir();
    const std::string& name = file.name();
    // Only a regular file is replaced: a rename over a device or a FIFO
    // would put a plain file where the system keeps its node.
    struct stat old {};
    const bool replacing = ::fstatat(dir, name.c_str(), &old, 0) == 0;
    if (replacing && !S_ISREG(old.st_mode)) return RefuseNotRegular(path, old.st_mode, error);
    const std::string tmp = TempFileName(name, long(::getpid()));
    // O_NOFOLLOW: a link planted under the temporary name is not followed.
    const int fd =
        ::openat(dir, tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, replacing ? 0600 : 0666);
    if (fd < 0) return Failed(error, "cannot create the temporary file", errno);
    auto fail = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlinkat(dir, tmp.c_str(), 0);
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
        ::unlinkat(dir, tmp.c_str(), 0);
        return Failed(error, "cannot write", err);
    }
    // Once more just before the rename: something may have taken the name
    // while the data went out.
    struct stat now {};
    if (::fstatat(dir, name.c_str(), &now, 0) == 0 && !S_ISREG(now.st_mode)) {
        ::unlinkat(dir, tmp.c_str(), 0);
        return RefuseNotRegular(path, now.st_mode, error);
    }
    if (::renameat(dir, tmp.c_str(), dir, name.c_str()) != 0) {
        const int err = errno;
        ::unlinkat(dir, tmp.c_str(), 0);
        return Failed(error, "cannot replace the file", err);
    }
    SyncDirectory(dir);
    return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit, std::string* error) {
    FolderFile file(path);
    if (!file.ok()) return Failed(error, "cannot reach the folder", errno), std::nullopt;
    const int fd = OpenRegularAt(file.dir(), file.name(), O_RDONLY, path, error);
    if (fd < 0) return std::nullopt;
    std::string data;
    try {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_size > 0)
            data.reserve(std::min<std::size_t>(std::size_t(st.st_size), limit));
        char buf[65536];
        while (data.size() < limit) {
            const ssize_t n = ::read(fd, buf, std::min(sizeof buf, limit - data.size()));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                Failed(error, "cannot read", errno);
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

std::FILE* OpenRegularFile(const std::string& path, OpenFor how, std::string* error) {
    FolderFile file(path);
    if (!file.ok()) return Failed(error, "cannot reach the folder", errno), nullptr;
    const int flags = how == OpenFor::Read     ? O_RDONLY
                      : how == OpenFor::Append ? O_WRONLY | O_CREAT | O_APPEND
                                               : O_WRONLY | O_CREAT;
    const int fd = OpenRegularAt(file.dir(), file.name(), flags, path, error);
    if (fd < 0) return nullptr;
    // Emptied only once it is known to be a regular file.
    if (how == OpenFor::Fresh && ::ftruncate(fd, 0) != 0) {
        Failed(error, "cannot empty", errno);
        ::close(fd);
        return nullptr;
    }
    std::FILE* f = ::fdopen(fd, how == OpenFor::Read ? "rb" : how == OpenFor::Append ? "ab" : "wb");
    if (!f) {
        Failed(error, "cannot open", errno);
        ::close(fd);
    }
    return f;
}

void SetNotRegularReporter(NotRegularReporter report) { g_notregular = report; }

bool StatFile(const std::string& path, struct stat& st) {
    FolderFile file(path);
    return file.ok() && ::fstatat(file.dir(), file.name().c_str(), &st, 0) == 0;
}

}  // namespace plat

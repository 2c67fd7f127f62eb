#include "memories/station_archive.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

StationList g_stationlist;

namespace {
constexpr char kListClass[] = "CObList";
constexpr char kStationClass[] = "CStation";
constexpr std::uint16_t kListSchema = 0;
constexpr std::uint16_t kStationSchema = 2;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
// The framework keeps class names in a 64-character buffer.
constexpr std::size_t kMaxClassName = 63;
// The smallest station on file: class reference, six empty strings, the
// number and the two doubles.
constexpr std::size_t kMinStationBytes = 2 + 6 * 1 + 2 + 16;

// Windows-1252 0x80..0x9F; the five unassigned codes map to themselves, as
// the system's converter does, so they survive a round trip.
constexpr char32_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void PutUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Code points of a UTF-8 text; a byte that does not start a valid sequence
// stands for itself (Latin-1), so no text is refused.
std::u32string DecodeUtf8(const std::string& s) {
    std::u32string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        const int extra = b >= 0xC2 && b < 0xE0 ? 1 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xF0 && b < 0xF5 ? 3 : 0;
        char32_t c = extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
        bool ok = extra > 0 && i + std::size_t(extra) < s.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char f = static_cast<unsigned char>(s[i + std::size_t(k)]);
            ok = (f & 0xC0) == 0x80;
            c = (c << 6) | (f & 0x3F);
        }
        if (ok && extra == 2 && (c < 0x800 || (c >= 0xD800 && c < 0xE000))) ok = false;
        if (ok && extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ok = false;
        if (ok) {
            out += c;
            i += std::size_t(extra) + 1;
        } else {
            out += char32_t(b);
            ++i;
        }
    }
    return out;
}

int Cp1252Code(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return int(c);
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == c) return 0x80 + k;
    return -1;
}

class Writer {
public:
    std::string out;
    void U8(std::uint8_t v) { out += char(v); }
    void U16(std::uint16_t v) {
        U8(std::uint8_t(v));
        U8(std::uint8_t(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(std::uint16_t(v));
        U16(std::uint16_t(v >> 16));
    }
    void F64(double d) {
        std::uint64_t v;
        std::memcpy(&v, &d, sizeof v);
        U32(std::uint32_t(v));
        U32(std::uint32_t(v >> 32));
    }
    void Length(std::size_t n) {
        if (n < 0xFF) {
            U8(std::uint8_t(n));
        } else if (n < 0xFFFE) {
            U8(0xFF);
            U16(std::uint16_t(n));
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(std::uint32_t(n));
        }
    }
    void String(const std::string& utf8) {
        std::string narrow;
        if (Utf8ToCp1252(utf8, narrow)) {
            Length(narrow.size());
            out += narrow;
            return;
        }
        std::u16string wide;
        for (char32_t c : DecodeUtf8(utf8)) {
            if (c >= 0x10000) {
                c -= 0x10000;
                wide += char16_t(0xD800 + (c >> 10));
                wide += char16_t(0xDC00 + (c & 0x3FF));
            } else {
                wide += char16_t(c);
            }
        }
        U8(0xFF);
        U16(0xFFFE);
        Length(wide.size());
        for (char16_t c : wide) U16(c);
    }
    void NewClass(const char* name, std::uint16_t schema) {
        U16(kNewClassTag);
        U16(schema);
        U16(std::uint16_t(std::strlen(name)));
        out += name;
    }
};

class Reader {
public:
    Reader(const std::string& b) : p_(reinterpret_cast<const std::uint8_t*>(b.data())), n_(b.size()) {}
    std::size_t left() const { return n_ - pos_; }
    std::size_t pos() const { return pos_; }
    bool U8(std::uint8_t& v) {
        if (left() < 1) return false;
        v = p_[pos_++];
        return true;
    }
    bool U16(std::uint16_t& v) {
        if (left() < 2) return false;
        v = std::uint16_t(p_[pos_] | (p_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool U32(std::uint32_t& v) {
        std::uint16_t lo = 0, hi = 0;
        if (left() < 4) return false;
        U16(lo);
        U16(hi);
        v = lo | (std::uint32_t(hi) << 16);
        return true;
    }
    bool F64(double& d) {
        std::uint32_t lo = 0, hi = 0;
        if (left() < 8) return false;
        U32(lo);
        U32(hi);
        const std::uint64_t v = lo | (std::uint64_t(hi) << 32);
        std::memcpy(&d, &v, sizeof d);
        return true;
    }
    bool Bytes(std::size_t n, std::string& out) {
        if (left() < n) return false;
        out.assign(reinterpret_cast<const char*>(p_ + pos_), n);
        pos_ += n;
        return true;
    }

private:
    const std::uint8_t* p_;
    std::size_t n_;
    std::size_t pos_ = 0;
};

// One archive read with the framework's map of classes and objects, so
// that class references are checked the way the framework numbers them.
class ArchiveLoader {
public:
    explicit ArchiveLoader(const std::string& bytes) : in_(bytes) {}

    bool Load(StationList& out, std::string& error) {
        StationList list;
        // Bytes after the list mean a wrong count: half a list is no list.
        if (!ReadObjectHeader(Kind::ListClass) || !ReadList(list) ||
            (in_.left() > 0 && !Fail("bytes after the station list"))) {
            char at[48];
            std::snprintf(at, sizeof at, " (at byte %zu)", in_.pos());
            error = error_ + at;
            return false;
        }
        out = std::move(list);
        return true;
    }

private:
    enum class Kind { Null, ListClass, StationClass, Object };

    bool Fail(const std::string& why) {
        if (error_.empty()) error_ = why;
        return false;
    }
    bool Short() { return Fail("the file ends too early"); }

    // The tag in front of an object: a new class or a reference to a class
    // read before; the object itself then takes the next map entry.
    bool ReadObjectHeader(Kind want) {
        std::uint16_t tag = 0;
        if (!in_.U16(tag)) return Short();
        std::uint32_t obTag = 0;
        if (tag == kBigObjectTag) {
            if (!in_.U32(obTag)) return Short();
        } else {
            obTag = (std::uint32_t(tag & kClassTag) << 16) | (tag & ~kClassTag);
        }
        if (!(obTag & kBigClassTag))
            return Fail(obTag == 0 ? "a null entry where a station belongs" : "an object reference where a station belongs");
        Kind got = Kind::Null;
        if (tag == kNewClassTag) {
            if (!ReadClass(got)) return false;
            map_.push_back(got);
        } else {
            const std::uint32_t index = obTag & ~kBigClassTag;
            if (index == 0 || index >= map_.size() || map_[index] == Kind::Object) return Fail("a bad class reference");
            got = map_[index];
        }
        if (got != want) return Fail(want == Kind::ListClass ? "no station list" : "an entry that is not a station");
        map_.push_back(Kind::Object);
        return true;
    }

    bool ReadClass(Kind& kind) {
        std::uint16_t schema = 0, len = 0;
        if (!in_.U16(schema) || !in_.U16(len)) return Short();
        if (len > kMaxClassName) return Fail("a class name that is too long");
        std::string name;
        if (!in_.Bytes(len, name)) return Short();
        if (name == kListClass && schema == kListSchema) {
            kind = Kind::ListClass;
        } else if (name == kStationClass && schema == kStationSchema) {
            kind = Kind::StationClass;
        } else {
            std::string shown;
            for (char c : name) shown += (c >= 0x20 && c < 0x7F) ? c : '?';
            return Fail(name == kListClass || name == kStationClass
                            ? "class " + shown + " of schema " + std::to_string(schema) + ", which this program does not know"
                            : "an unknown class \"" + shown + "\"");
        }
        return true;
    }

    bool ReadCount(std::uint32_t& count) {
        std::uint16_t w = 0;
        if (!in_.U16(w)) return Short();
        if (w != 0xFFFF) {
            count = w;
            return true;
        }
        if (!in_.U32(count)) return Short();
        return true;
    }

    bool ReadString(std::string& out) {
        std::uint8_t b;
        std::uint16_t w = 0;
        std::uint32_t len = 0;
        bool wide = false;
        if (!in_.U8(b)) return Short();
        if (b < 0xFF) {
            len = b;
        } else {
            if (!in_.U16(w)) return Short();
            if (w == 0xFFFE) {
                wide = true;
                if (!in_.U8(b)) return Short();
                if (b < 0xFF) {
                    len = b;
                    w = 0;
                } else if (!in_.U16(w)) {
                    return Short();
                }
            }
            if (b == 0xFF) {
                if (w < 0xFFFF) {
                    len = w;
                } else {
                    if (!in_.U32(len)) return Short();
                    if (len == 0xFFFFFFFFu) return Fail("a text longer than a file can hold");
                }
            }
        }
        const std::size_t bytes = std::size_t(len) * (wide ? 2 : 1);
        if (bytes > in_.left()) return Fail("a text longer than the rest of the file");
        std::string raw;
        in_.Bytes(bytes, raw);
        if (!wide) {
            out = Cp1252ToUtf8(raw);
            return true;
        }
        out.clear();
        for (std::size_t i = 0; i < raw.size(); i += 2) {
            char32_t c = char16_t(static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8));
            if (c >= 0xD800 && c < 0xDC00 && i + 3 < raw.size()) {
                const char32_t lo =
                    char16_t(static_cast<unsigned char>(raw[i + 2]) | (static_cast<unsigned char>(raw[i + 3]) << 8));
                if (lo >= 0xDC00 && lo < 0xE000) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
                    i += 2;
                }
            }
            if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
            PutUtf8(out, c);
        }
        return true;
    }

    bool ReadStation(CStation& s) {
        if (!ReadString(s.name)) return false;
        if (!in_.U16(s.number)) return Short();
        if (!ReadString(s.notes) || !ReadString(s.country) || !ReadString(s.language) || !ReadString(s.mode))
            return false;
        if (!in_.F64(s.frequency) || !in_.F64(s.frequency2)) return Short();
        return ReadString(s.filter);
    }

    bool ReadList(StationList& list) {
        std::uint32_t count = 0;
        if (!ReadCount(count)) return false;
        if (count > in_.left() / kMinStationBytes) return Fail("more stations than the file holds");
        list.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!ReadObjectHeader(Kind::StationClass)) return false;
            CStation s;
            if (!ReadStation(s)) return false;
            list.push_back(std::move(s));
        }
        return true;
    }

    Reader in_;
    std::vector<Kind> map_{Kind::Null};
    std::string error_;
};
}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        PutUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char32_t(b));
    }
    return out;
}

bool Utf8ToCp1252(const std::string& text, std::string& out) {
    out.clear();
    for (char32_t c : DecodeUtf8(text)) {
        const int code = Cp1252Code(c);
        if (code < 0) return false;
        out += char(code);
    }
    return true;
}

std::string WriteStationArchive(const StationList& list) {
    Writer w;
    w.NewClass(kListClass, kListSchema);
    if (list.size() < 0xFFFF) {
        w.U16(std::uint16_t(list.size()));
    } else {
        w.U16(0xFFFF);
        w.U32(std::uint32_t(list.size()));
    }
    // Map entries: 1 the list class, 2 the list, 3 the station class.
    constexpr std::uint16_t kStationClassRef = kClassTag | 3;
    bool first = true;
    for (const CStation& s : list) {
        if (first)
            w.NewClass(kStationClass, kStationSchema);
        else
            w.U16(kStationClassRef);
        first = false;
        w.String(s.name);
        w.U16(s.number);
        w.String(s.notes);
        w.String(s.country);
        w.String(s.language);
        w.String(s.mode);
        w.F64(s.frequency);
        w.F64(s.frequency2);
        w.String(s.filter);
    }
    return w.out;
}

bool ReadStationArchive(const std::string& bytes, StationList& list, std::string& error) {
    ArchiveLoader loader(bytes);
    return loader.Load(list, error);
}

// Private-profile (ini) files with the semantics the settings code expects:
// section and key names compared without case, the first occurrence wins, a
// missing key reads as the caller's default, LF and CR LF both accepted,
// values trimmed; a write replaces the key's line in place, appends a new key
// to the end of its section and a new section to the end of the file, and
// keeps every other line as it was. Files are replaced atomically.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct stat;

namespace plat {

// One ini text held in memory. The text is kept as read and indexed once:
// a section is found by its name and a key within it in constant time, so
// reading and writing every setting costs time linear in the file's size
// however many foreign sections or blank lines it holds. A byte-order mark
// before the first line is skipped; CR, LF and CR LF all end a line, and
// every line keeps its own end when the text is written back.
class IniDocument {
public:
    void Parse(const std::string& text);
    void Parse(std::string&& text);
    std::string Serialize() const;
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    // The whole line (without its end) that Get takes the key's value from.
    std::optional<std::string_view> KeyLine(const std::string& section, const std::string& key) const;
    // Sets a key; returns true when the document changed.
    bool Set(const std::string& section, const std::string& key, const std::string& value);
    bool Empty() const { return sections_.size() == 1 && sections_[0].body.empty() && sections_[0].added.empty(); }

private:
    // A line of text_ (or, once written, of own_), without its line end.
    struct Line {
        std::size_t off = 0;
        std::uint32_t len = 0;
        std::uint16_t own = 0;
        std::uint16_t eol = 0;  // kNoEnd, kLf, kCrLf or kCr
    };
    struct Section {
        Line header;               // unused for the lines before the first header
        std::vector<Line> body;    // the lines as read
        // Keys the document added, all written before the section's
        // trailing blank lines (body[addAt...]); kept apart so that adding
        // one never moves those lines.
        std::vector<Line> added;
        std::size_t addAt = 0;
        // Upper-case key name to its first line (an index into body, or
        // into added when marked so); built at the first look into the section.
        std::unique_ptr<std::unordered_map<std::string, std::size_t>> keys;
    };
    std::string_view Text(const Line& l) const;
    const Line& LineAt(const Section& s, std::size_t i) const;
    const std::unordered_map<std::string, std::size_t>& KeysOf(std::size_t section) const;
    std::optional<std::size_t> FindSection(const std::string& name) const;
    std::optional<std::pair<std::size_t, std::size_t>> FindKey(const std::string& section, const std::string& key) const;
    bool LastLineBlank() const;
    Line Own(const std::string& text, std::uint16_t eol);

    std::string text_;
    std::string own_;
    // sections_[0]: the lines before the first section header.
    mutable std::vector<Section> sections_ = std::vector<Section>(1);
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // first section of each name
    bool bom_ = false;
    std::uint16_t eol_ = 1;  // the end of new lines: the file's first line end, else LF
};

// Reads (section, key) from the file at `path`; a missing file, section or key
// gives `def`. The value is cut to `size - 1` characters like a fixed buffer.
std::string ProfileReadString(const std::string& section, const std::string& key, const std::string& def,
                              const std::string& path, std::size_t size = 40);
// Writes one key. Returns false when the file could not be written. A file
// that exists but could not be read whole is never written over: the write
// fails and the file stays as it is.
bool ProfileWriteString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& path);

// Between BeginBatch and EndBatch the writes to `path` are collected in memory
// and EndBatch replaces the file once (temporary file, flush, rename), so a
// crash mid-save never leaves a truncated file. Returns false on a failed
// write, with the reason in `error` when given.
void ProfileBeginBatch(const std::string& path);
bool ProfileEndBatch(std::string* error = nullptr);

// Forget what was read, so the next read sees the file as it is now.
void ProfileFlushCache();

// Writes `data` to `path` through a temporary file (TempFileName) in the
// same directory and a rename, so readers see the old or the new file, never
// a part. Only a regular file is replaced: a symbolic link stays a link and
// the regular file it ends in is replaced; one that ends in a FIFO, a device,
// a socket or a folder is refused. The file keeps its permissions (and owner,
// where allowed). On failure the old file is untouched and `error` (when
// given) says why.
bool WriteFileAtomic(const std::string& path, const std::string& data, std::string* error = nullptr);
// The file's first `limit` bytes (all of it by default); nullopt when it
// cannot be opened, is no regular file or a read fails part-way (`error`
// says which, when given).
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit = std::size_t(-1),
                                         std::string* error = nullptr);

// How a stream of OpenRegularFile is opened: to read, to add to its end, or
// emptied to be written anew (each of the last two creates a missing file).
enum class OpenFor { Read, Append, Fresh };
// A file of the folder as a stdio stream, for the files read or written a
// piece at a time. Only a regular file is opened (also through links): a
// FIFO or a device is never waited on nor written to. Null when the file
// cannot be opened or is refused, with the reason in `error` when given.
std::FILE* OpenRegularFile(const std::string& path, OpenFor how, std::string* error = nullptr);

// Told each time one of the routines above refuses a file that is no
// regular file: the path as given and what it is ("a FIFO", "a character
// device", "a block device", "a socket", "a folder"). Null: nobody is told.
using NotRegularReporter = void (*)(const std::string& path, const std::string& what);
void SetNotRegularReporter(NotRegularReporter report);

// stat() of the file, reached as the saves reach it.
bool StatFile(const std::string& path, struct stat& st);

}  // namespace plat

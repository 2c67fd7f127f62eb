// The memory file format: a hand-built file in the framework's archive
// layout reads and writes back byte for byte, and damaged or hostile files
// are refused whole.
#include <gtest/gtest.h>

#include <cstring>

#include "memories/station_archive.h"

namespace {
using B = std::string;

B U16(unsigned v) { return B{char(v & 0xFF), char((v >> 8) & 0xFF)}; }
B U32(unsigned v) { return U16(v & 0xFFFF) + U16(v >> 16); }
B F64(double d) {
    B out(8, '\0');
    std::memcpy(out.data(), &d, 8);
    return out;
}
B Str(const B& s) {
    if (s.size() < 255) return B(1, char(s.size())) + s;
    return B("\xFF") + U16(unsigned(s.size())) + s;
}
B Station(const B& name, unsigned number, const B& notes, const B& country, const B& language, const B& mode,
          double f, double f2, const B& filter) {
    return Str(name) + U16(number) + Str(notes) + Str(country) + Str(language) + Str(mode) + F64(f) + F64(f2) +
           Str(filter);
}
// The list header, written by hand from the layout the files have.
B Header(unsigned count) { return B("\xFF\xFF") + U16(0) + U16(7) + "CObList" + U16(count); }
B NewStationClass() { return B("\xFF\xFF") + U16(2) + U16(8) + "CStation"; }
const B kClassRef("\x03\x80", 2);

B TwoStations() {
    return Header(2) + NewStationClass() +
           Station("Radio Exterior", 7, B(300, 'n'), "Spain", "Spanish", "AM", 9.62, 0, "10.0 kHz ") + kClassRef +
           Station("Net", 0, "SP=5", "USA", "English", "USB", 14.3, 7.1, "3.6 kHz ");
}
}  // namespace

TEST(StationArchive, HandBuiltFileReadsAndWritesBackByteForByte) {
    const B file = TwoStations();
    StationList list;
    std::string error;
    ASSERT_TRUE(ReadStationArchive(file, list, error)) << error;
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "Radio Exterior");
    EXPECT_EQ(list[0].number, 7);
    EXPECT_EQ(list[0].notes, B(300, 'n'));
    EXPECT_EQ(list[0].country, "Spain");
    EXPECT_EQ(list[0].language, "Spanish");
    EXPECT_EQ(list[0].mode, "AM");
    EXPECT_DOUBLE_EQ(list[0].frequency, 9.62);
    EXPECT_EQ(list[0].frequency2, 0);
    EXPECT_EQ(list[0].filter, "10.0 kHz ");
    EXPECT_DOUBLE_EQ(list[1].frequency2, 7.1);
    EXPECT_EQ(list[1].notes, "SP=5");
    EXPECT_EQ(WriteStationArchive(list), file);
}

TEST(StationArchive, EmptyListAndLongCountsUseTheFrameworkForms) {
    EXPECT_EQ(WriteStationArchive({}), Header(0));
    StationList many(65535);
    const B big = WriteStationArchive(many);
    EXPECT_EQ(big.substr(0, 19), Header(0xFFFF) + U32(65535));
    StationList back;
    std::string error;
    ASSERT_TRUE(ReadStationArchive(big, back, error)) << error;
    EXPECT_EQ(back.size(), 65535u);
}

TEST(StationArchive, TextsKeepTheirCharacters) {
    StationList list(1);
    list[0].name = "Caf\xC3\xA9 \xE2\x82\xAC";       // Windows-1252 holds both
    list[0].country = "\xD0\x9C\xD0\xBE\xD1\x81";   // Cyrillic: stored as UTF-16
    list[0].notes = std::string(70000, 'x');       // a 32-bit length
    const B file = WriteStationArchive(list);
    EXPECT_NE(file.find(B("\x06" "Caf\xE9 \x80")), B::npos);
    EXPECT_NE(file.find(B("\xFF\xFE\xFF\x03\x1C\x04", 6)), B::npos);
    EXPECT_NE(file.find(B("\xFF\xFF\xFF") + U32(70000)), B::npos);
    StationList back;
    std::string error;
    ASSERT_TRUE(ReadStationArchive(file, back, error)) << error;
    EXPECT_EQ(back[0].name, list[0].name);
    EXPECT_EQ(back[0].country, list[0].country);
    EXPECT_EQ(back[0].notes, list[0].notes);
    EXPECT_EQ(WriteStationArchive(back), file);
}

TEST(StationArchive, EveryTruncationIsRefusedAndLeavesTheListAlone) {
    const B file = TwoStations();
    for (std::size_t n = 0; n < file.size(); ++n) {
        StationList list(3);
        list[0].name = "kept";
        std::string error;
        EXPECT_FALSE(ReadStationArchive(file.substr(0, n), list, error)) << n;
        EXPECT_FALSE(error.empty());
        ASSERT_EQ(list.size(), 3u);
        EXPECT_EQ(list[0].name, "kept");
    }
}

TEST(StationArchive, FlippedStructureBytesAreRefused) {
    const B file = TwoStations();
    // Class tags, schema words, class names, the count and the reference.
    const std::size_t second = file.find(kClassRef);
    const std::size_t structural[] = {0, 1, 2, 4, 6, 8, 13, 15, 17, 19, 21, 23, 25, second, second + 1};
    for (std::size_t at : structural) {
        for (int bit : {0, 1, 7}) {
            B bad = file;
            bad[at] = char(bad[at] ^ (1 << bit));
            StationList list;
            std::string error;
            EXPECT_FALSE(ReadStationArchive(bad, list, error)) << "byte " << at << " bit " << bit;
            EXPECT_TRUE(list.empty());
        }
    }
}

TEST(StationArchive, HostileTagsAndLengthsAreRefusedWithAReason) {
    struct Case {
        B file;
        const char* why;
    };
    const B one = Station("A", 0, "", "", "", "AM", 7.0, 0, "");
    const Case cases[] = {
        {Header(1) + U16(0) + one, "null"},
        {Header(1) + U16(2) + one, "reference"},
        {Header(1) + U16(0x8001) + one, "not a station"},
        {Header(1) + U16(0x8009) + one, "class reference"},
        {Header(1) + B("\xFF\xFF") + U16(3) + U16(8) + "CStation" + one, "schema 3"},
        {Header(1) + B("\xFF\xFF") + U16(2) + U16(8) + "CStatioX" + one, "unknown class"},
        {Header(1) + B("\xFF\xFF") + U16(2) + U16(200) + B(200, 'C'), "too long"},
        {Header(60000) + NewStationClass() + one, "more stations"},
        {Header(1) + NewStationClass() + B("\xFF\xFF\xFF") + U32(0x7FFFFFF0) + B(40, 'x'), "longer than the rest"},
        {Header(1) + NewStationClass() + B("\xFF\xFE\xFF\xFF") + U16(0x7000) + B(40, 'x'), "longer than the rest"},
        {B("\xFF\xFF") + U16(2) + U16(8) + "CStation", "no station list"},
        {TwoStations() + "\x01", "after the station list"},
    };
    for (const Case& c : cases) {
        StationList list;
        std::string error;
        EXPECT_FALSE(ReadStationArchive(c.file, list, error)) << c.why;
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
    }
}

TEST(StationArchive, UndefinedWindowsCodesSurviveARoundTrip) {
    const B raw("\x81\x8D\x8F\x90\x9D\x80\xFF", 7);
    const std::string utf8 = Cp1252ToUtf8(raw);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1252(utf8, back));
    EXPECT_EQ(back, raw);
    // Bytes that are not UTF-8 count as Latin-1.
    ASSERT_TRUE(Utf8ToCp1252("\xE9t\xE9", back));
    EXPECT_EQ(back, "\xE9t\xE9");
    EXPECT_FALSE(Utf8ToCp1252("\xE4\xB8\xAD", back));
}

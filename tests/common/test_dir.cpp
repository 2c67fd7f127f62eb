#include "common/test_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

TestDir::TestDir() {
    char tmpl[] = "/tmp/qarv-test-XXXXXX";
    path_ = ::mkdtemp(tmpl);
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
}

TestDir::~TestDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
}

void TestDir::write(const std::string& name, const std::string& text) const {
    std::ofstream out(file(name), std::ios::binary);
    out << text;
}

std::string TestDir::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TestDir::exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

// A fresh working directory for one test: created empty, made current, and
// removed with everything in it at the end.
#pragma once
#include <string>

class TestDir {
public:
    TestDir();
    ~TestDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& text) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string path_;
    std::string previous_;
};

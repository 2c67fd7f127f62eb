// Fonts by face, pixel height and weight. The program's faces are mapped to
// metric-compatible fonts that the system ships ("Arial" to Liberation Sans).
#pragma once
#include <memory>
#include <string>

namespace plat {

constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

struct FontImpl;

class Font {
public:
    Font();
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    // height: character height in pixels (the absolute value is used).
    void Create(int height, int weight, const std::string& face);
    bool IsCreated() const { return created_; }
    int Height() const { return height_; }
    int Weight() const { return weight_; }
    const std::string& Face() const { return face_; }
    // The face the system actually uses for `face_`.
    std::string SystemFace() const;
    FontImpl* impl() const { return impl_.get(); }

private:
    std::unique_ptr<FontImpl> impl_;
    bool created_ = false;
    int height_ = 0;
    int weight_ = 0;
    std::string face_;
};

// The system face that stands in for a face name of the program.
std::string MapFaceName(const std::string& face);

}  // namespace plat

#include "platform/font.h"

#include <QFont>

#include <cctype>
#include <cstdlib>

#include "platform/font_impl.h"

namespace plat {

std::string MapFaceName(const std::string& face) {
    std::string f;
    for (char c : face) f += char(std::tolower(static_cast<unsigned char>(c)));
    if (f == "arial" || f == "ms sans serif" || f == "helvetica") return "Liberation Sans";
    if (f == "times new roman") return "Liberation Serif";
    if (f == "courier new" || f == "courier") return "Liberation Mono";
    return face;
}

Font::Font() : impl_(std::make_unique<FontImpl>()) {}
Font::~Font() = default;

void Font::Create(int height, int weight, const std::string& face) {
    height_ = std::abs(height);
    weight_ = weight;
    face_ = face;
    created_ = true;
    impl_->font = QFont(QString::fromStdString(MapFaceName(face)));
    impl_->font.setPixelSize(height_ > 0 ? height_ : 12);
    // Qt 6 weights run 1..1000 like the platform's, with 400 normal, 700 bold.
    impl_->font.setWeight(weight == FW_DONTCARE ? QFont::Normal : QFont::Weight(weight));
}

std::string Font::SystemFace() const { return MapFaceName(face_); }

}  // namespace plat

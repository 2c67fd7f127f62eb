// Layer-internal: the toolkit font behind a plat::Font.
#pragma once
#include <QFont>

namespace plat {
struct FontImpl {
    QFont font;
};
}  // namespace plat

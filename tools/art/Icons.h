#pragma once
// The application icon: the glider on a rounded square of night sky with a glow of fire below.
#include "backdrop/Canvas.h"

namespace art {

// Icon sizes written, pixels (square).
constexpr int kIconSizes[] = {32, 64, 128, 256};

Canvas paintIcon(int size);

}  // namespace art

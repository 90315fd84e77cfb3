#include "raster/pixel_plane.h"

#include <cstdint>
#include <cstdlib>

PixelPlane::~PixelPlane() { Release(); }

int PixelPlane::Allocate(int32_t widthBits, int32_t rows) {
    if (widthBits < 1 || rows < 1) return 0;
    // Sizes are int32 throughout; a buffer whose byte count does not fit would come out short.
    const int64_t bytesPerRow = (static_cast<int64_t>(widthBits) + 7) / 8;
    const int64_t total = bytesPerRow * rows;
    if (total > INT32_MAX || static_cast<uint64_t>(total) > SIZE_MAX) return 0;

    Release();
    bytesPerRow_ = static_cast<int32_t>(bytesPerRow);
    // calloc gives the zero-filled buffer, row ends included.
    bits_ = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(total), 1));
    return bits_ != nullptr ? 1 : 0;
}

void PixelPlane::Release() {
    if (ownsBits_ == 1 && bits_ != nullptr) std::free(bits_);
    bits_ = nullptr;
    ownsBits_ = 1;
}

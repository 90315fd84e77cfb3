#pragma once

#include <cstdint>

// Owns the raw pixel buffer of a canvas: a zero-filled block of rows whose width is counted in
// bits. Not copyable: exactly one owner frees the buffer.
class PixelPlane {
  public:
    PixelPlane() = default;
    ~PixelPlane();
    PixelPlane(const PixelPlane&) = delete;
    PixelPlane& operator=(const PixelPlane&) = delete;

    // Replaces the buffer with a zero-filled one of ((widthBits + 7) / 8) x rows bytes.
    // Returns 1 on success, 0 when a size is below 1, too large, or memory runs out.
    int Allocate(int32_t widthBits, int32_t rows);
    // Frees the buffer (when owned). Safe to call on an empty plane.
    void Release();
    uint8_t* Buffer() const { return bits_; }
    int32_t BytesPerRow() const { return bytesPerRow_; }

  private:
    int32_t bytesPerRow_ = 0;
    uint8_t* bits_ = nullptr;
    int32_t ownsBits_ = 1;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Run-length compression of 4- and 8-bit bitmaps in the two schemes of the bitmap file format.
// Buffers are bottom-up lines of widthBytes each, as the image store keeps them.
namespace Rle {

std::vector<std::uint8_t> EncodeRLE8(const std::uint8_t* pixels, int width, int height,
                                     int widthBytes);
std::vector<std::uint8_t> EncodeRLE4(const std::uint8_t* pixels, int width, int height,
                                     int widthBytes);

// Decoding never writes outside the target (height lines of widthBytes) and never reads past
// dataLength; pixels the stream does not reach are left as they are, so the caller zero-fills.
void DecodeRLE8(const std::uint8_t* data, std::size_t dataLength, std::uint8_t* pixels, int width,
                int height, int widthBytes);
void DecodeRLE4(const std::uint8_t* data, std::size_t dataLength, std::uint8_t* pixels, int width,
                int height, int widthBytes);

}  // namespace Rle

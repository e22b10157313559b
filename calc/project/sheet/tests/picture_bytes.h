#pragma once
// The first bytes of PNG and JPEG files, as much as their headers need.

#include <cstdint>
#include <string>

namespace quorvel::project::test_support {

inline std::string BigEndian(std::uint32_t value, int count) {
    std::string bytes;
    for (int i = count - 1; i >= 0; --i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// A PNG's signature and IHDR chunk (8-bit RGB), and a few bytes after it.
inline std::string PngHeader(std::uint32_t width, std::uint32_t height) {
    return std::string("\x89PNG\r\n\x1A\n", 8) + BigEndian(13, 4) + "IHDR" + BigEndian(width, 4) +
           BigEndian(height, 4) + std::string("\x08\x02\x00\x00\x00", 5) + "crc!";
}

// A JPEG's start, an APP0 segment, a Huffman table segment (which is no
// frame, though its marker lies among the frame markers), then the frame
// `frameMarker` (0xC0 baseline, 0xC2 progressive).
inline std::string JpegHeader(std::uint32_t width, std::uint32_t height,
                              unsigned frameMarker = 0xC0) {
    std::string bytes("\xFF\xD8", 2);
    bytes += std::string("\xFF\xE0", 2) + BigEndian(16, 2) +
             std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14);
    bytes +=
        std::string("\xFF\xC4", 2) + BigEndian(6, 2) + BigEndian(0x1234, 2) + BigEndian(0x5678, 2);
    bytes += std::string("\xFF\xFF", 2);  // a fill byte
    bytes += "\xFF" + std::string(1, static_cast<char>(frameMarker)) + BigEndian(17, 2) +
             std::string("\x08", 1) + BigEndian(height, 2) + BigEndian(width, 2) +
             std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    return bytes;
}

}  // namespace quorvel::project::test_support

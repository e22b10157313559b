#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// One iconv conversion descriptor, closed when it goes out of scope.
class IconvConverter {
  public:
    IconvConverter(const char* to, const char* from);
    ~IconvConverter();
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool valid() const;

    // Converts all of `input` and appends it to `output`. An undecodable or
    // incomplete sequence is replaced by `replacement`, skipping
    // `skippedUnit` input bytes (the input encoding's code unit), or fails
    // when `replacement` is empty.
    bool Convert(std::string_view input, std::string_view replacement, std::size_t skippedUnit,
                 std::string& output);

  private:
    iconv_t handle_;
};

// Text as the bytes of the "UTF-16LE" encoding, and back (a trailing odd
// byte is dropped).
std::string ToUtf16LeBytes(std::u16string_view text);
std::u16string FromUtf16LeBytes(std::string_view bytes);

}  // namespace quorvel

#include "calc/platform/iconv_converter.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace quorvel {

IconvConverter::IconvConverter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}

IconvConverter::~IconvConverter() {
    if (valid()) iconv_close(handle_);
}

bool IconvConverter::valid() const {
    return handle_ != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
}

bool IconvConverter::Convert(std::string_view input, std::string_view replacement,
                             std::size_t skippedUnit, std::string& output) {
    if (!valid()) return false;
    std::string in(input);
    char* inPointer = in.data();
    std::size_t inLeft = in.size();
    char buffer[4096];
    for (;;) {
        char* outPointer = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted =
            inLeft == 0 ? iconv(handle_, nullptr, nullptr, &outPointer, &outLeft)
                        : iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft);
        const int error = converted == static_cast<std::size_t>(-1) ? errno : 0;
        output.append(buffer, static_cast<std::size_t>(outPointer - buffer));
        if (error == E2BIG) continue;
        if (error == EILSEQ || error == EINVAL) {
            if (replacement.empty()) return false;
            output.append(replacement);
            const std::size_t skipped = std::min(std::max<std::size_t>(skippedUnit, 1), inLeft);
            inPointer += skipped;
            inLeft -= skipped;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            continue;
        }
        if (error != 0) return false;
        if (inLeft == 0) {
            // The final call without input has flushed any pending state.
            if (inPointer == nullptr) return true;
            inPointer = nullptr;
        }
    }
}

std::string ToUtf16LeBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::u16string FromUtf16LeBytes(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<char16_t>(low | (high << 8));
    }
    return text;
}

}  // namespace quorvel

#include "calc/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <new>

namespace quorvel {
namespace {

const std::u16string kNoConverter = u"代码页936(GBK)文字转换失败!";
const std::u16string kNotEncodable = u"文字中含有代码页936(GBK)无法表示的字符!";
const std::u16string kOutOfMemory = u"内存不足，无法转换文字!";

// One iconv conversion descriptor, closed when it goes out of scope.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const {
        return handle_ != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
    }

    // Converts all of `input`. An undecodable sequence is replaced by
    // `replacement` (skipping one input byte), or fails when it is empty.
    bool Convert(std::string_view input, std::string_view replacement, std::string& output) {
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
                ++inPointer;
                --inLeft;
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

  private:
    iconv_t handle_;
};

}  // namespace

Result<std::u16string> DecodeCodePage936(std::string_view bytes) {
    try {
        Converter converter("UTF-16LE", "CP936");
        if (!converter.valid()) return Fail(kNoConverter);
        std::string utf16;
        if (!converter.Convert(bytes, std::string_view("\xFD\xFF", 2), utf16)) {
            return Fail(kNoConverter);
        }
        std::u16string text(utf16.size() / 2, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto low = static_cast<unsigned char>(utf16[2 * i]);
            const auto high = static_cast<unsigned char>(utf16[2 * i + 1]);
            text[i] = static_cast<char16_t>(low | (high << 8));
        }
        return text;
    } catch (const std::bad_alloc&) {
        return Fail(kOutOfMemory);
    }
}

Result<std::string> EncodeCodePage936(std::u16string_view text) {
    try {
        Converter converter("CP936", "UTF-16LE");
        if (!converter.valid()) return Fail(kNoConverter);
        std::string utf16;
        utf16.reserve(text.size() * 2);
        for (const char16_t c : text) {
            utf16.push_back(static_cast<char>(c & 0xFF));
            utf16.push_back(static_cast<char>(c >> 8));
        }
        std::string bytes;
        if (!converter.Convert(utf16, {}, bytes)) return Fail(kNotEncodable);
        return bytes;
    } catch (const std::bad_alloc&) {
        return Fail(kOutOfMemory);
    }
}

}  // namespace quorvel

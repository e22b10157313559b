#include <cstdint>
#include <string>
#include <string_view>

#include "calc/code_page.h"
#include "fuzz/fuzz_targets.h"

namespace quorvel::fuzz {

int CodePage(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Result<std::u16string> text = DecodeCodePage936(bytes);
    Require(text.ok(), "every byte string decodes");
    Require(text.value().size() <= bytes.size(), "at most one character per byte");
    if (text.value().find(u'\uFFFD') != std::u16string::npos) {
        // Damaged bytes: encoding the result back must fail cleanly or succeed.
        const Result<std::string> back = EncodeCodePage936(text.value());
        Require(back.ok() || !back.error().empty(), "a refused encoding says why");
        return 0;
    }
    const Result<std::string> back = EncodeCodePage936(text.value());
    Require(back.ok(), "decoded text encodes again");
    const Result<std::u16string> again = DecodeCodePage936(back.value());
    Require(again.ok() && again.value() == text.value(), "the round trip keeps the text");

    // UTF-16 from the same bytes, surrogates included: encoding never crashes.
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    const Result<std::string> encoded = EncodeCodePage936(units);
    if (encoded.ok()) {
        // Several characters may share one code, so only the bytes must be stable.
        const Result<std::u16string> decoded = DecodeCodePage936(encoded.value());
        Require(decoded.ok(), "encoded text decodes");
        const Result<std::string> reencoded = EncodeCodePage936(decoded.value());
        Require(reencoded.ok() && reencoded.value() == encoded.value(),
                "encoding the decoded text gives the same bytes");
    } else {
        Require(!encoded.error().empty(), "a refused encoding says why");
    }
    return 0;
}

}  // namespace quorvel::fuzz

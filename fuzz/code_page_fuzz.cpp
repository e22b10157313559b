#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "calc/code_page.h"
#include "calc/text_helpers.h"
#include "fuzz/fuzz_targets.h"

namespace quorvel::fuzz {
namespace {

// One scratch file for the whole fuzzing process, removed at its end.
class ScratchFile {
  public:
    ScratchFile() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvel-fuzz-XXXXXX").string();
        const int descriptor = ::mkstemp(pattern.data());
        Require(descriptor >= 0, "a scratch file can be made");
        ::close(descriptor);
        path_ = pattern;
    }
    ~ScratchFile() {
        std::error_code error;
        std::filesystem::remove(path_, error);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& Write(std::string_view bytes) {
        // A new file each time: truncating one makes the file system flush it.
        std::error_code error;
        std::filesystem::remove(path_, error);
        std::ofstream out(path_, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path_;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace

int CodePage(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Result<std::u16string> text = DecodeCodePage936(bytes);
    Require(text.ok(), "every byte string decodes");
    Require(text.value().size() <= bytes.size(), "at most one character per byte");

    // The file as LoadTextFile reads it: the same text, line ends kept.
    static ScratchFile scratch;
    const Result<std::u16string> loaded = LoadTextFile(scratch.Write(bytes));
    Require(loaded.ok() && loaded.value() == text.value(), "a file reads as its bytes decode");
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

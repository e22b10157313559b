#include "calc/lenient_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace quorvel {
namespace {

bool IsSkipped(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Walks the text character by character, ignoring skipped characters.
class Cursor {
  public:
    explicit Cursor(std::u16string_view text) : text_(text) { SkipIgnored(); }

    bool AtEnd() const { return position_ >= text_.size(); }
    char16_t Peek() const { return AtEnd() ? u'\0' : text_[position_]; }
    void Advance() {
        ++position_;
        SkipIgnored();
    }

  private:
    void SkipIgnored() {
        while (position_ < text_.size() && IsSkipped(text_[position_])) ++position_;
    }

    std::u16string_view text_;
    std::size_t position_ = 0;
};

constexpr std::int64_t kExponentLimit = 1'000'000'000;

}  // namespace

double ReadLenientNumber(std::u16string_view text) {
    Cursor cursor(text);
    bool negative = false;
    if (cursor.Peek() == u'+' || cursor.Peek() == u'-') {
        negative = cursor.Peek() == u'-';
        cursor.Advance();
    }

    // Significant digits without leading zeros, and the decimal exponent that
    // the position of the point gives them.
    std::string digits;
    std::int64_t wholeDigits = 0;   // significant digits before the point
    std::int64_t leadingZeros = 0;  // zeros after the point before the first significant digit
    bool anyDigit = false;
    bool seenPoint = false;
    for (;;) {
        const char16_t c = cursor.Peek();
        if (IsDigit(c)) {
            anyDigit = true;
            if (!digits.empty() || c != u'0') {
                digits.push_back(static_cast<char>(c));
                if (!seenPoint) ++wholeDigits;
            } else if (seenPoint) {
                ++leadingZeros;
            }
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        cursor.Advance();
    }
    if (!anyDigit) return 0.0;

    std::int64_t exponent = 0;
    const char16_t marker = cursor.Peek();
    if (marker == u'E' || marker == u'e' || marker == u'D' || marker == u'd') {
        cursor.Advance();
        bool exponentNegative = false;
        if (cursor.Peek() == u'+' || cursor.Peek() == u'-') {
            exponentNegative = cursor.Peek() == u'-';
            cursor.Advance();
        }
        while (IsDigit(cursor.Peek())) {
            if (exponent < kExponentLimit) exponent = exponent * 10 + (cursor.Peek() - u'0');
            cursor.Advance();
        }
        if (exponentNegative) exponent = -exponent;
    }

    const double zero = negative ? -0.0 : 0.0;
    if (digits.empty()) return zero;

    // value = 0.d1d2d3... x 10^magnitude
    const std::int64_t magnitude = wholeDigits - leadingZeros + exponent;
    const double infinity = negative ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    if (magnitude > 400) return infinity;
    if (magnitude < -400) return zero;

    std::string scientific = "0." + digits + "e" + std::to_string(magnitude);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(scientific.data(), scientific.data() + scientific.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) return magnitude > 0 ? infinity : zero;
    if (error != std::errc()) return zero;
    return negative ? -value : value;
}

float ToSingle(double x) {
    if (std::isnan(x)) return std::numeric_limits<float>::quiet_NaN();
    // Halfway between the largest single and the next power of two, where
    // rounding to nearest overflows.
    const double overflowThreshold = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    if (std::fabs(x) >= overflowThreshold) {
        return x > 0 ? std::numeric_limits<float>::infinity()
                     : -std::numeric_limits<float>::infinity();
    }
    if (std::fabs(x) > static_cast<double>(std::numeric_limits<float>::max())) {
        return x > 0 ? std::numeric_limits<float>::max() : -std::numeric_limits<float>::max();
    }
    return static_cast<float>(x);
}

}  // namespace quorvel

#pragma once

#include <filesystem>
#include <ranges>
#include <string>
#include <type_traits>

#include "calc/lenient_number.h"
#include "calc/result.h"

namespace quorvel {

// The whole content of a code page 936 text file as UTF-16, CR LF kept. A
// missing file is created empty and reads as an empty text. A file that cannot
// be created, opened or read gives an error text.
Result<std::u16string> LoadTextFile(const std::filesystem::path& file);

// Turns every run of two or more blanks (U+0020) into one blank; nothing else
// changes (blanks at the ends stay, tabs stay).
void DeleteDoubleSpace(std::u16string& text);

namespace detail {

template <class Value, class Visit>
void ForEachNumber(const Value& value, Visit&& visit) {
    if constexpr (std::is_arithmetic_v<Value>) {
        visit(static_cast<double>(value));
    } else {
        static_assert(std::ranges::input_range<Value> &&
                          std::is_arithmetic_v<std::ranges::range_value_t<Value>>,
                      "each value is a number or a range of numbers");
        for (const auto& element : value) visit(static_cast<double>(element));
    }
}

}  // namespace detail

// The largest of the values, each a number or a range of numbers, starting
// from -1e30 (a value must be strictly greater to replace it), in single
// precision.
template <class... Values>
float GetMax(const Values&... values) {
    double running = -1e30;
    (detail::ForEachNumber(values,
                           [&running](double x) {
                               if (x > running) running = x;
                           }),
     ...);
    return ToSingle(running);
}

// The smallest of the values, starting from +1e30; otherwise as GetMax.
template <class... Values>
float GetMin(const Values&... values) {
    double running = 1e30;
    (detail::ForEachNumber(values,
                           [&running](double x) {
                               if (x < running) running = x;
                           }),
     ...);
    return ToSingle(running);
}

}  // namespace quorvel

#pragma once

#include <string>
#include <utility>
#include <variant>

namespace quorvel {

// The error side of a Result: a text for the user.
struct Failure {
    std::u16string text;
};

inline Failure Fail(std::u16string text) { return Failure{std::move(text)}; }

// A value of type T, or an error text that says why there is none.
template <class T>
class Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure.text)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }

    // The error text; empty when the result holds a value.
    const std::u16string& error() const {
        static const std::u16string none;
        return ok() ? none : std::get<1>(state_);
    }

  private:
    std::variant<T, std::u16string> state_;
};

// Success without a value, or an error text.
template <>
class Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : error_(std::move(failure.text)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::u16string& error() const { return error_; }

  private:
    std::u16string error_;
    bool ok_ = true;
};

using Status = Result<void>;

}  // namespace quorvel

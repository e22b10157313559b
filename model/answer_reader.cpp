#include "model/answer_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>
#include <vector>

namespace quorvel {
namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    text = Trim(text);
    while (!text.empty()) {
        std::size_t end = 0;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
        words.push_back(text.substr(0, end));
        text = Trim(text.substr(end));
    }
    return words;
}

// A plain decimal number with an optional exponent; no "inf" or "nan".
std::optional<double> ParseNumber(std::string_view word) {
    if (word.empty()) return std::nullopt;
    for (char c : word) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' &&
            c != 'e' && c != 'E') {
            return std::nullopt;
        }
    }
    if (word.front() == '+') word.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string shown(text.substr(0, kShown));
    if (text.size() > kShown) shown += "...";
    return "\"" + shown + "\"";
}

class Reader {
  public:
    explicit Reader(const AnswerSource& source) : source_(source) {}

    const std::string& error() const { return error_; }

    std::optional<std::string> Line(std::string_view name, std::string_view question) {
        ++answer_number_;
        auto line = source_(question);
        if (!line) {
            Fail(name, "an answer, but the input ended");
            return std::nullopt;
        }
        return line;
    }

    std::optional<double> Number(std::string_view name, std::string_view question, double low,
                                 double high, std::string_view expected) {
        auto line = Line(name, question);
        if (!line) return std::nullopt;
        const auto words = Words(*line);
        std::optional<double> value;
        if (words.size() == 1) value = ParseNumber(words[0]);
        if (!value || *value < low || *value > high) {
            Fail(name, std::string(expected) + ", got " + Quoted(*line));
            return std::nullopt;
        }
        return value;
    }

    std::optional<int> Choice(std::string_view name, std::string_view question, int low, int high) {
        const std::string expected =
            "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        auto value = Number(name, question, low, high, expected);
        if (!value) return std::nullopt;
        if (*value != std::floor(*value)) {
            Fail(name, expected);
            return std::nullopt;
        }
        return static_cast<int>(*value);
    }

    // One of the letters in `letters` (either case); returns it in upper case.
    std::optional<char> Letter(std::string_view name, std::string_view question,
                               std::string_view letters, std::string_view expected) {
        auto line = Line(name, question);
        if (!line) return std::nullopt;
        const std::string_view word = Trim(*line);
        if (word.size() == 1) {
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
            if (letters.find(c) != std::string_view::npos) return c;
        }
        Fail(name, std::string(expected) + ", got " + Quoted(*line));
        return std::nullopt;
    }

    std::optional<bool> YesNo(std::string_view name, std::string_view question) {
        auto c = Letter(name, question, "YN", "Y or N");
        if (!c) return std::nullopt;
        return *c == 'Y';
    }

    void Fail(std::string_view name, std::string_view expected) {
        std::ostringstream message;
        message << "Answer " << answer_number_ << " (" << name << "): expected " << expected << ".";
        error_ = message.str();
    }

  private:
    const AnswerSource& source_;
    int answer_number_ = 0;
    std::string error_;
};

bool ReadSource(Reader& in, ModelAnswers& answers) {
    auto title = in.Line("title", "Enter title for this run (up to 79 characters):");
    if (!title) return false;
    answers.title = std::string(Trim(*title).substr(0, kMaxTitleLength));

    auto type = in.Line("source type", "Enter source type (A = area):");
    if (!type) return false;
    const std::string_view letter = Trim(*type);
    if (letter != "A" && letter != "a") {
        const bool other_type =
            letter.size() == 1 && std::isalpha(static_cast<unsigned char>(letter[0]));
        in.Fail("source type", other_type ? std::string("A: only area sources are modelled")
                                          : "A (area source), got " + Quoted(*type));
        return false;
    }
    AreaSource& s = answers.source;
    auto rate = in.Number("emission rate", "Enter emission rate [g/(s-m**2)]:", 1e-300,
                          kMaxEmissionRate, "a number above 0 and at most 1E6 g/(s-m**2)");
    if (!rate) return false;
    auto height = in.Number("release height", "Enter source release height (m):", 0.0, kMaxHeight,
                            "a height from 0 to 9999 m");
    if (!height) return false;
    auto larger =
        in.Number("larger side", "Enter larger side length of rectangular area (m):", 1e-300,
                  kMaxSide, "a length above 0 and at most 100000 m");
    if (!larger) return false;
    auto smaller =
        in.Number("smaller side", "Enter smaller side length of rectangular area (m):", 1e-300,
                  *larger, "a length above 0 and no larger than the larger side");
    if (!smaller) return false;
    auto receptor =
        in.Number("receptor height", "Enter receptor height above ground (flagpole) (m):", 0.0,
                  kMaxHeight, "a height from 0 to 9999 m");
    if (!receptor) return false;
    auto land = in.Letter("urban/rural option",
                          "Enter urban/rural option (U = urban, R = rural):", "UR", "U or R");
    if (!land) return false;
    s.emission_rate = *rate;
    s.release_height = *height;
    s.larger_side = *larger;
    s.smaller_side = *smaller;
    s.receptor_height = *receptor;
    s.land_use = *land == 'U' ? LandUse::Urban : LandUse::Rural;
    return true;
}

bool ReadDirectionAndWeather(Reader& in, ModelAnswers& answers) {
    auto search = in.YesNo("direction search",
                           "Search through a range of wind directions for the maximum? (Y/N):");
    if (!search) return false;
    answers.direction.search = *search;
    if (!*search) {
        auto angle = in.Number("wind direction",
                               "Enter wind direction from the larger side (degrees):", -360.0,
                               360.0, "an angle from -360 to 360 degrees");
        if (!angle) return false;
        answers.direction.angle_deg = *angle;
    }
    auto kind = in.Choice("meteorology",
                          "Enter choice of meteorology: 1 full, 2 single stability class, "
                          "3 stability class and wind speed:",
                          1, 3);
    if (!kind) return false;
    answers.met.kind = static_cast<MetChoice::Kind>(*kind);
    if (*kind >= 2) {
        auto stability =
            in.Choice("stability class", "Enter stability class (1 to 6 for A to F):", 1, 6);
        if (!stability) return false;
        answers.met.stability = static_cast<Stability>(*stability);
    }
    if (*kind == 3) {
        auto u10 = in.Number("wind speed", "Enter 10-m wind speed (m/s):", 1e-3, kMaxWindSpeed,
                             "a wind speed above 0 and at most 100 m/s");
        if (!u10) return false;
        answers.met.u10 = *u10;
    }
    return true;
}

bool ReadDistances(Reader& in, ModelAnswers& answers) {
    auto automated = in.YesNo("automated distances", "Use automated distance array? (Y/N):");
    if (!automated) return false;
    answers.automated = *automated;
    if (*automated) {
        auto line = in.Line("distance range", "Enter minimum and maximum distances to use (m):");
        if (!line) return false;
        const auto words = Words(*line);
        std::optional<double> low, high;
        if (words.size() == 2) {
            low = ParseNumber(words[0]);
            high = ParseNumber(words[1]);
        }
        if (!low || !high || *low < 0.0 || *high < 1.0 || *high < *low || *high > kMaxDistance) {
            in.Fail("distance range",
                    "a minimum and a maximum distance on one line, 0 <= minimum <= maximum, "
                    "1 <= maximum <= 100000 m, got " +
                        Quoted(*line));
            return false;
        }
        answers.automated_minimum = *low;
        answers.automated_maximum = *high;
    }
    auto discrete = in.YesNo("discrete distances", "Use discrete distances? (Y/N):");
    if (!discrete) return false;
    answers.discrete = *discrete;
    if (*discrete) {
        for (;;) {
            auto d = in.Number("discrete distance", "Enter distance (m, 0 to end):", 0.0,
                               kMaxDistance, "a distance from 0 to 100000 m, 0 to end the list");
            if (!d) return false;
            if (*d == 0.0) break;
            if (answers.discrete_distances.size() >= kMaxDiscreteDistances) {
                in.Fail("discrete distance", "at most 100000 distances before the ending 0");
                return false;
            }
            answers.discrete_distances.push_back(*d);
        }
        if (answers.discrete_distances.empty()) {
            in.Fail("discrete distance", "at least one distance before the ending 0");
            return false;
        }
    }
    if (!answers.automated && !answers.discrete) {
        in.Fail("discrete distances", "Y: with no automated distances there is nothing to compute");
        return false;
    }
    auto hardcopy = in.YesNo("hardcopy", "Do you want a hardcopy printout? (Y/N):");
    if (!hardcopy) return false;
    answers.hardcopy = *hardcopy;
    return true;
}

}  // namespace

AnswerReading ReadAnswers(const AnswerSource& next_answer) {
    Reader in(next_answer);
    ModelAnswers answers;
    if (ReadSource(in, answers) && ReadDirectionAndWeather(in, answers) &&
        ReadDistances(in, answers)) {
        return {std::move(answers), {}};
    }
    return {std::nullopt, in.error()};
}

}  // namespace quorvel

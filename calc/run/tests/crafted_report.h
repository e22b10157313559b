#pragma once
// Builds model reports of the shape the report reader takes apart, with the
// concentrations a test needs.

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::test_support {

// The weather columns of one discrete-distance row.
struct RowWeather {
    int stability = 6;        // class 1 (A) to 6 (F)
    double windSpeed = 1.0;   // m/s at 10 m
    double direction = 45.0;  // deg
};

struct CraftedReport {
    // (distance m, concentration ug/m^3) of the discrete-distance table.
    std::vector<std::pair<double, double>> rows;
    // (maximum concentration, distance) of the summary block.
    std::vector<std::pair<double, double>> maxima;
    bool complete = true;  // ends with the model's completion text
    // When given, row i is written in the model's full 64-character layout
    // with weather[i] (or the last entry when there are fewer).
    std::vector<RowWeather> weather = {};
};

inline std::string Pad(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// The report as ASCII text with CR LF line ends.
inline std::string ReportText(const CraftedReport& report) {
    std::string text = " *** SCREEN3 MODEL RUN ***\r\n\r\n";
    text += " *** SCREEN DISCRETE DISTANCES ***\r\n";
    text += " *** TERRAIN HEIGHT OF     0. M ABOVE STACK BASE USED FOR FOLLOWING DISTANCES ***\r\n";
    text += "\r\n";
    text += "   DIST     CONC              U10M   USTK  MIX HT   PLUME  MAX DIR\r\n";
    text += "   (M)    (UG/M**3)   STAB   (M/S)  (M/S)   (M)    HT (M)   (DEG)\r\n";
    text += " -------  ----------  -----  -----  -----  ------  ------  -------\r\n";
    for (std::size_t i = 0; i < report.rows.size(); ++i) {
        const auto& [distance, concentration] = report.rows[i];
        char line[160];
        if (report.weather.empty()) {
            std::snprintf(line, sizeof line,
                          " %7.0f. %11.4f      6    1.0    1.0  10000.0    15.00    45.", distance,
                          concentration);
        } else {
            const RowWeather& w = report.weather[std::min(i, report.weather.size() - 1)];
            std::snprintf(line, sizeof line, " %6.0f.  %11.5g%5d%8.1f%7.1f%8.1f%8.2f%6.0f.",
                          distance, concentration, w.stability, w.windSpeed, w.windSpeed + 0.1,
                          10000.0, 15.0, w.direction);
        }
        text += Pad(line, 64) + "\r\n";
    }
    text += "\r\n";
    text += " ***************************************\r\n";
    text += " *** SUMMARY OF SCREEN MODEL RESULTS ***\r\n";
    text += " ***************************************\r\n";
    text += "\r\n";
    text += " CALCULATION           MAX CONC   DIST TO   TERRAIN\r\n";
    text += "  PROCEDURE           (UG/M**3)   MAX (M)   HT (M)\r\n";
    text += " --------------       ----------  -------   -------\r\n";
    for (const auto& [concentration, distance] : report.maxima) {
        char line[160];
        std::snprintf(line, sizeof line, " SIMPLE TERRAIN    %11.4f  %8.0f   0.", concentration,
                      distance);
        text += std::string(line) + "\r\n";
    }
    text += "\r\n";
    text += " ***************************************************\r\n";
    if (report.complete) text += " ** REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS **\r\n";
    text += " ***************************************************\r\n";
    return text;
}

}  // namespace quorvel::test_support

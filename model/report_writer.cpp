#include "model/report_writer.h"

#include <cstdio>

#include "model/fortran_format.h"
#include "model/rectangle_in_wind.h"

namespace quorvel {
namespace {

constexpr const char* kEol = "\r\n";

class Lines {
  public:
    Lines& operator<<(const std::string& line) {
        text_ += line;
        text_ += kEol;
        return *this;
    }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

std::string Exponential(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%14.6E", value);
    return buffer;
}

std::string StabilityHeading(const MetChoice& met) {
    const std::string cls = std::to_string(static_cast<int>(met.stability));
    switch (met.kind) {
        case MetChoice::Kind::Full:
            return " *** FULL METEOROLOGY ***";
        case MetChoice::Kind::SingleClass:
            return " *** STABILITY CLASS " + cls + " ONLY ***";
        case MetChoice::Kind::SingleClassAndSpeed:
            return " *** STABILITY CLASS " + cls + " ONLY, 10-M WIND SPEED OF " +
                   FormatFixed(met.u10, 6, 1) + " M/S ONLY ***";
    }
    return {};
}

void WriteTable(Lines& out, const std::vector<ResultRow>& rows, double release_height) {
    out << " *** TERRAIN HEIGHT OF     0. M ABOVE STACK BASE USED FOR FOLLOWING DISTANCES ***";
    out << "";
    out << "   DIST     CONC              U10M   USTK  MIX HT   PLUME  MAX DIR";
    out << "   (M)    (UG/M**3)    STAB  (M/S)  (M/S)    (M)   HT (M)  (DEG)";
    out << " -------  ----------   ----  -----  -----  ------  ------  -------";
    for (const ResultRow& row : rows) out << FormatTableRow(row, release_height);
    out << "";
}

void WriteBanner(Lines& out, const std::string& heading) {
    const std::string stars(heading.size(), '*');
    out << " " + stars;
    out << " " + heading;
    out << " " + stars;
}

}  // namespace

std::string FormatTableRow(const ResultRow& row, double release_height) {
    const WorstCase& w = row.worst;
    const double mixing = w.met.has_lid ? w.met.mixing_height : kUnlimitedMixingHeight;
    return " " + FormatFixed(row.distance, 7, 0) + "  " + FormatG11_4(w.concentration) +
           FormatInteger(static_cast<int>(w.met.stability), 5) + FormatFixed(w.met.u10, 8, 1) +
           FormatFixed(w.met.us, 7, 1) + FormatFixed(mixing, 8, 1) +
           FormatFixed(release_height, 8, 2) + FormatFixed(w.angle_deg, 7, 0);
}

std::string WriteReport(const ModelAnswers& answers, const ModelResults& results,
                        const RunStamp& stamp) {
    const AreaSource& s = answers.source;
    Lines out;
    out << " " + stamp.date;
    out << " " + stamp.time;
    out << " *** QUORVEL AREA-SOURCE SCREENING MODEL, VERSION 1.2.21 ***";
    out << "";
    out << " " + answers.title;
    out << "";
    out << " SIMPLE TERRAIN INPUTS:";
    out << "    SOURCE TYPE                  =          AREA";
    out << "    EMISSION RATE (G/(S-M**2))   = " + Exponential(s.emission_rate);
    out << "    SOURCE HEIGHT (M)            = " + FormatFixed(s.release_height, 14, 4);
    out << "    LENGTH OF LARGER SIDE (M)    = " + FormatFixed(s.larger_side, 14, 4);
    out << "    LENGTH OF SMALLER SIDE (M)   = " + FormatFixed(s.smaller_side, 14, 4);
    out << "    RECEPTOR HEIGHT (M)          = " + FormatFixed(s.receptor_height, 14, 4);
    out << "    URBAN/RURAL OPTION           = " +
               PadLeft(s.land_use == LandUse::Urban ? "URBAN" : "RURAL", 14);
    out << "";
    if (answers.direction.search) {
        out << " MODEL ESTIMATES DIRECTION TO MAX CONCENTRATION";
    } else {
        out << " WIND DIRECTION FROM THE LARGER SIDE = " +
                   FormatFixed(answers.direction.angle_deg, 8, 1) + " DEG";
    }
    out << "";
    out << StabilityHeading(answers.met);
    out << "";
    if (answers.automated) {
        WriteBanner(out, "*** SCREEN AUTOMATED DISTANCES ***");
        out << "";
        WriteTable(out, results.automated, s.release_height);
        if (results.automated_maximum) {
            out << " MAXIMUM 1-HR CONCENTRATION AT OR BEYOND " +
                       FormatFixed(results.automated.front().distance, 7, 0) + " M:";
            out << FormatTableRow(*results.automated_maximum, s.release_height);
            out << "";
        }
    }
    if (answers.discrete) {
        WriteBanner(out, "*** SCREEN DISCRETE DISTANCES ***");
        out << "";
        WriteTable(out, results.discrete, s.release_height);
    }
    WriteBanner(out, "*** SUMMARY OF SCREEN MODEL RESULTS ***");
    out << "";
    out << " CALCULATION           MAX CONC     DIST TO   TERRAIN";
    out << "  PROCEDURE           (UG/M**3)     MAX (M)    HT (M)";
    out << " --------------       -----------   -------   -------";
    const ResultRow& top = results.overall_maximum;
    out << " SIMPLE TERRAIN    " + FormatG11_4(top.worst.concentration) + "  " +
               FormatFixed(top.distance, 8, 0) + "   " + FormatFixed(0.0, 8, 0);
    out << "";
    out << "";
    WriteBanner(out, std::string("** ") + kCompletionText + " **");
    return out.Take();
}

std::string WriteDataFile(const ModelResults& results) {
    std::string text;
    for (const ResultRow& row : results.automated) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%10.2f %12.5E\r\n", row.distance,
                      row.worst.concentration);
        text += buffer;
    }
    return text;
}

std::string WriteFailureReport(const std::string& message, const RunStamp& stamp) {
    Lines out;
    out << " " + stamp.date;
    out << " " + stamp.time;
    out << " *** QUORVEL AREA-SOURCE SCREENING MODEL, VERSION 1.2.21 ***";
    out << "";
    out << " *** RUN STOPPED: BAD ANSWER ***";
    out << " " + message;
    return out.Take();
}

}  // namespace quorvel

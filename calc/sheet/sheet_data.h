#pragma once
// The numbers of a calculation sheet, read from the record of a run.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "calc/run_record.h"

namespace quorvel {

// One discrete distance as the sheet's table and figure show it. A field the
// report row lacks, or that holds no finite number, is empty.
struct SheetRow {
    std::optional<double> distance;       // m from the centre of the source
    std::optional<double> concentration;  // ug/m^3
    std::u16string stability;             // "A" to "F"; the report's own text otherwise
    std::optional<double> windSpeed;      // m/s at 10 m
    std::optional<double> direction;      // worst wind angle to the larger side, deg
    bool reachesStandard = false;         // concentration / S is at least 1
};

// The farthest discrete distance that a concentration level reaches.
struct FarthestDistance {
    enum class Kind {
        None,        // no distance reaches it
        Within,      // `distance` reaches it and the next one does not
        BeyondLast,  // the last distance, `distance`, still reaches it
    };
    Kind kind = Kind::None;
    std::optional<double> distance;  // m; empty for None or a row without a distance
};

struct SheetFigures {
    std::vector<SheetRow> rows;
    // The largest maximum of the summary rows (the first of equal ones) and
    // its distance; empty when no summary row holds a maximum above 0.
    std::optional<double> cmax;          // ug/m^3
    std::optional<double> cmaxDistance;  // m
    std::optional<double> pmaxPercent;   // Cmax / S x 100
    FarthestDistance reachingStandard;   // concentration >= S
    FarthestDistance reachingTenth;      // concentration >= 10 % of S (D10%)
};

// Reads the record's rows and works out the sheet's key figures. Never fails:
// what the rows do not hold stays empty.
SheetFigures ReadSheetFigures(const RunRecord& record);

// The stability class letter for the report's class number 1 to 6; other
// texts unchanged.
std::u16string StabilityLetter(std::u16string_view field);

}  // namespace quorvel

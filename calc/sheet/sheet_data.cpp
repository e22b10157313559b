#include "calc/sheet/sheet_data.h"

#include <cmath>
#include <utility>

#include "calc/lenient_number.h"
#include "calc/report_rows.h"

namespace quorvel {
namespace {

std::optional<double> NumberField(std::u16string_view row, char16_t separator, std::size_t index) {
    const auto field = RowField(row, separator, index);
    if (!field || field->empty()) return std::nullopt;
    const double value = ReadLenientNumber(*field);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

FarthestDistance FarthestReaching(const std::vector<std::u16string>& rows,
                                  const std::vector<SheetRow>& sheetRows, double standard,
                                  double share) {
    const Result<std::size_t> found = FarthestRowReaching(rows, standard, share);
    if (!found || found.value() == 0) return {};
    const std::size_t k = found.value();
    return FarthestDistance{
        k == rows.size() ? FarthestDistance::Kind::BeyondLast : FarthestDistance::Kind::Within,
        sheetRows[k - 1].distance};
}

}  // namespace

std::u16string StabilityLetter(std::u16string_view field) {
    if (field.size() == 1 && field[0] >= u'1' && field[0] <= u'6') {
        return std::u16string(1, static_cast<char16_t>(u'A' + (field[0] - u'1')));
    }
    return std::u16string(field);
}

SheetFigures ReadSheetFigures(const RunRecord& record) {
    SheetFigures figures;
    const double standard = record.comparisonStandard;
    for (const std::u16string& row : record.rows) {
        SheetRow sheetRow;
        sheetRow.distance = NumberField(row, u' ', kDistanceField);
        sheetRow.concentration = NumberField(row, u' ', kConcentrationField);
        if (const auto stability = RowField(row, u' ', kStabilityField)) {
            sheetRow.stability = StabilityLetter(*stability);
        }
        sheetRow.windSpeed = NumberField(row, u' ', kWindSpeedField);
        sheetRow.direction = NumberField(row, u' ', kDirectionField);
        sheetRow.reachesStandard =
            standard > 0.0 && sheetRow.concentration && *sheetRow.concentration / standard >= 1.0;
        figures.rows.push_back(std::move(sheetRow));
    }

    if (standard > 0.0) {
        figures.reachingStandard = FarthestReaching(record.rows, figures.rows, standard, 1.0);
        figures.reachingTenth = FarthestReaching(record.rows, figures.rows, standard, 0.1);
    }

    const Result<SummaryMaximum> largest = LargestSummaryMaximum(record.summaryRows);
    if (largest && largest.value().row > 0) {
        figures.cmax = static_cast<double>(largest.value().concentration);
        figures.cmaxDistance =
            NumberField(record.summaryRows[largest.value().row - 1], u',', kSummaryDistanceField);
        if (standard > 0.0) figures.pmaxPercent = *figures.cmax / standard * 100.0;
    }
    return figures;
}

}  // namespace quorvel

#include "calc/project/batch/source_outcome.h"

#include <gtest/gtest.h>

namespace quorvel::project {
namespace {

EmissionResult Row(std::string source, std::string pollutant, EmissionOutcome outcome,
                   std::optional<double> distance = std::nullopt) {
    EmissionResult row;
    row.source = std::move(source);
    row.pollutant = std::move(pollutant);
    row.outcome = outcome;
    row.distance = distance;
    return row;
}

Project Sources(std::initializer_list<const char*> ids) {
    Project project;
    for (const char* id : ids) {
        Source source;
        source.id = id;
        project.sources.push_back(source);
    }
    return project;
}

TEST(DecideSources, TheLargestDistanceDecidesAndTheFirstWinsATie) {
    const auto sources =
        DecideSources(Sources({"A", "B"}), {Row("A", "苯", EmissionOutcome::Distance, 150),
                                            Row("B", "氨", EmissionOutcome::Distance, 300),
                                            Row("A", "甲苯", EmissionOutcome::Distance, 200),
                                            Row("A", "二甲苯", EmissionOutcome::Distance, 200),
                                            Row("A", "氯", EmissionOutcome::None)});
    EXPECT_EQ(sources[0].outcome, SourceOutcome::Distance);
    EXPECT_EQ(sources[0].distance, 200.0);
    EXPECT_EQ(sources[0].decidingPollutant, "甲苯");
    EXPECT_EQ(sources[1].distance, 300.0);
}

TEST(DecideSources, BeyondOutranksAnErrorAndAnErrorOutranksADistance) {
    const auto sources = DecideSources(
        Sources({"A", "B", "C", "D"}),
        {Row("A", "苯", EmissionOutcome::Error), Row("A", "氨", EmissionOutcome::Beyond),
         Row("B", "苯", EmissionOutcome::Distance, 500), Row("B", "氨", EmissionOutcome::Error),
         Row("C", "苯", EmissionOutcome::None)});
    EXPECT_EQ(sources[0].outcome, SourceOutcome::Beyond);
    EXPECT_EQ(sources[1].outcome, SourceOutcome::Incomplete);
    EXPECT_FALSE(sources[1].distance);
    EXPECT_EQ(sources[2].outcome, SourceOutcome::None);
    EXPECT_EQ(sources[3].outcome, SourceOutcome::None);  // a source without emissions
    EXPECT_EQ(sources[3].id, "D");
}

}  // namespace
}  // namespace quorvel::project

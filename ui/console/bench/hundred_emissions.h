#pragma once
// The benchmarks' project of 100 emissions: 20 sources x 5 pollutants inside
// a plant, two villages beyond it and a target distance.

#include <string>

#include "calc/project/project.h"

namespace quorvel::project {

inline Project HundredEmissions() {
    Project project;
    project.name = "基准项目";
    const char* pollutants[] = {"苯", "甲苯", "二甲苯", "非甲烷总烃", "氨"};
    for (int s = 0; s < 20; ++s) {
        Source source;
        source.id = "S" + std::to_string(s + 1);
        source.centre = {100.0 * (s % 5), 100.0 * (s / 5)};
        source.height = 3.0 + s % 4;
        source.width = 20.0 + 5 * (s % 3);
        source.length = 30.0 + 10 * (s % 4);
        project.sources.push_back(source);
        for (int p = 0; p < 5; ++p) {
            Emission emission;
            emission.source = source.id;
            emission.pollutant = pollutants[p];
            // Rates to standards that differ from source to source and
            // pollutant to pollutant, so that every pollutant's field differs.
            emission.rate = 0.05 * (p + 1) * (1.0 + 0.3 * ((s + 2 * p) % 4));
            emission.unit = RateUnit::KilogramsPerHour;
            emission.hourly = 0.2 * (p + 1);
            project.emissions.push_back(emission);
        }
    }
    // A plant around the sources, villages beyond it, a target distance:
    // every emission has all three targets.
    project.boundary = {{-60, -60}, {460, -60}, {460, 360}, {-60, 360}};
    project.receptors = {Receptor{"东村", {800, 150}, {}}, Receptor{"南村", {200, -500}, {}}};
    project.targetDistance = 300;
    return project;
}

}  // namespace quorvel::project

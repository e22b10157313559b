// Writes the plain reference of the combined field at chosen points of a few
// projects, for the field's test to compare the fast field with. Slow (a few
// seconds a point): run by hand after a change to the physics, as
//   make_field_reference SOURCE_DIR > calc/project/field/tests/data/field_reference.json

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "calc/project/field/field_setup.h"
#include "calc/project/field/parallel_for.h"
#include "calc/project/field/tests/plain_reference.h"
#include "calc/project/files/project_file.h"
#include "calc/unicode_text.h"

namespace {

using namespace quorvel;
using namespace quorvel::project;

struct Case {
    std::string file;  // relative to the source directory
    std::vector<SitePoint> points;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_field_reference SOURCE_DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::vector<Case> cases = {
        {"docs/example.qvproj",
         {{520, 150}, {-180, 260}, {130, 85}, {90, 125}, {300, 150}, {360, 60}, {800, -400}}},
        {"calc/project/field/tests/data/two_workshops.qvproj",
         {{180, 120}, {420, 190}, {100, 100}, {-60, 40}, {600, 210}, {340, 30}, {1500, 400}}},
    };
    nlohmann::json out;
    out["about"] =
        "The combined field (ug/m^3) by every class and wind speed of the full set, the wind "
        "direction every 0.1 degree then refined, every emission summed; written by "
        "make_field_reference.";
    for (const Case& c : cases) {
        const Project project = OpenProject(root / c.file).value();
        const FieldSetup setup = SetUpField(project);
        nlohmann::json entry;
        entry["project"] = c.file;
        struct Job {
            std::size_t point;
            std::size_t pollutant;
            PlainValue value;
        };
        std::vector<Job> jobs;
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            for (std::size_t k = 0; k < setup.pollutants.size(); ++k) {
                if (setup.pollutants[k].error.empty()) jobs.push_back({i, k, {}});
            }
        }
        ParallelFor(jobs.size(), [&](std::size_t j) {
            jobs[j].value = PlainField(setup, jobs[j].pollutant, c.points[jobs[j].point]);
        });
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            nlohmann::json point;
            point["x"] = c.points[i].x;
            point["y"] = c.points[i].y;
            for (const Job& job : jobs) {
                if (job.point != i) continue;
                point["values"].push_back({{"pollutant", setup.pollutants[job.pollutant].pollutant},
                                           {"c", job.value.c},
                                           {"class", static_cast<int>(job.value.stability)},
                                           {"wind_mps", job.value.windSpeed},
                                           {"toward_deg", job.value.toward}});
            }
            entry["points"].push_back(point);
        }
        out["projects"].push_back(entry);
    }
    std::printf("%s\n", out.dump(2).c_str());
    return 0;
}

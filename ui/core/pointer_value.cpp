#include "ui/core/pointer_value.h"

#include <exception>
#include <utility>

#include "calc/project/field/field_setup.h"
#include "calc/project/field/screening_function.h"
#include "calc/unicode_text.h"
#include "ui/core/result_texts.h"

namespace quorvel {

std::u16string PointerValueText(const project::Project& project, const std::string& pollutant,
                                project::SitePoint point) {
    const project::FieldSetup setup = project::SetUpField(project);
    const project::ScreeningFunction function(setup);
    std::vector<std::size_t> which;
    for (std::size_t i = 0; i < function.Count(); ++i) {
        const std::string& name = setup.pollutants[function.Pollutants()[i]].pollutant;
        if (pollutant.empty() || name == pollutant) which.push_back(i);
    }
    if (which.empty()) return {};
    const std::vector<project::FieldValue> values = function.At(point, which);
    std::u16string text;
    for (std::size_t i = 0; i < which.size(); ++i) {
        const project::PollutantSetup& p = setup.pollutants[function.Pollutants()[which[i]]];
        const std::optional<double> ratio =
            p.standard && *p.standard > 0 ? std::optional(values[i].c / *p.standard) : std::nullopt;
        if (!text.empty()) text += u"，";
        text += FromUtf8(p.pollutant) + u" ";
        if (!pollutant.empty()) {
            text += SignificantText(values[i].c) + u" µg/m³，占标率 ";
        }
        text += PercentText(ratio) + u"%";
    }
    return text;
}

PointerValue::PointerValue(Deliver deliver) : deliver_(std::move(deliver)) {
    worker_ = std::jthread([this](std::stop_token stop) { Work(stop); });
}

PointerValue::~PointerValue() {
    worker_.request_stop();
    wake_.notify_all();
}

void PointerValue::SetField(std::shared_ptr<const project::Project> project,
                            std::string pollutant) {
    const std::lock_guard lock(mutex_);
    request_.project = std::move(project);
    request_.pollutant = std::move(pollutant);
}

void PointerValue::Ask(std::optional<project::SitePoint> point) {
    {
        const std::lock_guard lock(mutex_);
        request_.point = point;
        asked_ = true;
    }
    wake_.notify_all();
}

void PointerValue::Work(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (wake_.wait(lock, stop, [this] { return asked_; })) {
        const Request request = request_;
        asked_ = false;
        lock.unlock();
        std::u16string text;
        if (request.project && request.point) {
            try {
                text = PointerValueText(*request.project, request.pollutant, *request.point);
            } catch (const std::exception&) {
                text.clear();  // out of memory: no value this time
            }
        }
        deliver_(std::move(text));
        lock.lock();
    }
}

}  // namespace quorvel

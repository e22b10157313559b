#include "ui/core/pointer_value.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "calc/unicode_text.h"
#include "ui/core/result_texts.h"

namespace quorvel {

std::u16string PointerValueText(const project::ProjectFields& prepared,
                                const std::string& pollutant, project::SitePoint point) {
    const project::FieldFunction& function = *prepared.function;
    std::vector<std::size_t> which;    // the fields asked that reach the point
    std::vector<std::size_t> outside;  // those whose file does not
    for (std::size_t i = 0; i < prepared.fields.size(); ++i) {
        if (!pollutant.empty() && prepared.fields[i].pollutant != pollutant) continue;
        (function.Covers(point, i) ? which : outside).push_back(i);
    }
    const std::vector<project::FieldValue> values =
        which.empty() ? std::vector<project::FieldValue>{} : function.At(point, which);
    std::u16string text;
    for (std::size_t i = 0, next = 0; i < prepared.fields.size(); ++i) {
        const bool shown = std::find(which.begin(), which.end(), i) != which.end();
        if (!shown && std::find(outside.begin(), outside.end(), i) == outside.end()) continue;
        const project::RuleField& field = prepared.fields[i];
        if (!text.empty()) text += u"，";
        text += FromUtf8(field.pollutant);
        if (!shown) {
            text += kOutsideFieldFileText;
            continue;
        }
        const double c = values[next++].c;
        const std::optional<double> ratio =
            field.standard > 0 ? std::optional(c / field.standard) : std::nullopt;
        text += u" ";
        if (!pollutant.empty()) text += SignificantText(c) + u" µg/m³，占标率 ";
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
                            std::optional<std::filesystem::path> folder, std::string pollutant) {
    const std::lock_guard lock(mutex_);
    request_.project = std::move(project);
    request_.folder = std::move(folder);
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
                if (request.project != preparedFor_.project ||
                    request.folder != preparedFor_.folder || !prepared_) {
                    prepared_.reset();
                    preparedFor_ = request;
                    prepared_ = project::PrepareFields(*request.project, request.folder);
                }
                text = PointerValueText(*prepared_, request.pollutant, *request.point);
            } catch (const std::exception&) {
                text.clear();  // out of memory: no value this time
            }
        }
        deliver_(std::move(text));
        lock.lock();
    }
}

}  // namespace quorvel

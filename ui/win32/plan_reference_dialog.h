#pragma once
// Sets one reference point of the plan picture on Win32: a modal window that
// shows the picture scaled to fit with the point marked; a click on the
// picture gives the point's pixel, two fields take its site coordinates.

#include <windows.h>

#include <filesystem>
#include <optional>

#include "calc/project/project.h"

namespace quorvel {

struct PlanReferenceChoice {
    project::SitePoint pixel;  // of the picture, from its top-left, y down
    project::SitePoint site;   // m
};

// Shows the dialog for reference point `index` (0 or 1) of the picture in
// `image` over `owner`, which is disabled meanwhile; `current` is the point
// as it stands. The chosen point on 确定, nullopt on 取消 or when closed.
std::optional<PlanReferenceChoice> AskPlanReference(HINSTANCE instance, HWND owner,
                                                    const std::filesystem::path& image, int index,
                                                    const project::PlanPoint& current);

}  // namespace quorvel

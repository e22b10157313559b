#pragma once
// The publisher shown in the window's label strip; the one place that names it.

namespace quorvel {

inline constexpr char16_t kPublisherOrganisation[] = u"Quorvel 环境评价软件开发组";
inline constexpr char16_t kPublisherLaboratory[] = u"Quorvel环境评价实验室";
inline constexpr char kPublisherWebAddress[] = "https://www.quorvel.example/";

}  // namespace quorvel

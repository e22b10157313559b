#pragma once
// The project window's commands: their captions and keys for the menu and
// the tool bar, and which of them may be used at a moment.

#include <array>
#include <string_view>

namespace quorvel {

enum class ProjectCommand { New, Open, Save, SaveAs, ImportCsv, Compute, Stop, Sheet, Close };

struct ProjectCommandDesign {
    ProjectCommand command;
    std::u16string_view caption;   // "打开…"
    std::u16string_view shortcut;  // "Ctrl+O" in the toolkits' portable form; empty for none
};

inline constexpr std::array<ProjectCommandDesign, 9> kProjectCommands = {{
    {ProjectCommand::New, u"新建", u"Ctrl+N"},
    {ProjectCommand::Open, u"打开…", u"Ctrl+O"},
    {ProjectCommand::Save, u"保存", u"Ctrl+S"},
    {ProjectCommand::SaveAs, u"另存为…", u""},
    {ProjectCommand::ImportCsv, u"导入CSV…", u""},
    {ProjectCommand::Compute, u"计算", u"F5"},
    {ProjectCommand::Stop, u"停止", u""},
    {ProjectCommand::Sheet, u"计算书", u""},
    {ProjectCommand::Close, u"关闭", u"Ctrl+W"},
}};

// Which commands may be used now, indexed by ProjectCommand.
struct CommandStates {
    std::array<bool, kProjectCommands.size()> enabled{};
    bool operator[](ProjectCommand command) const {
        return enabled[static_cast<std::size_t>(command)];
    }
    friend bool operator==(const CommandStates&, const CommandStates&) = default;
};

}  // namespace quorvel

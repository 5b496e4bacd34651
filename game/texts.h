// The game's own texts, exactly as players see them.
#pragma once

#include <string_view>

namespace game::texts {

inline constexpr std::string_view kScorePrefix = "nombres de points: ";
inline constexpr std::string_view kGameOverPrompt = "Niark Niark !!!!!! GAME OVER !!!!!!    points:";
inline constexpr std::string_view kGameOverTitle = "Tu t'est fait manger ^^";

} // namespace game::texts

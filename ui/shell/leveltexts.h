#pragma once
// Texts of the beginner levels and of the strength figure beside each level,
// in the seven languages of texttables.h (same order).

#include "ui/shell/texttables.h"

// The level mode of the beginner levels, after "Rank", "Turn In", "Game In".
inline constexpr const char16_t* noviceModeWord[LanguageCount] = {
    u"Novice", u"Débutant", u"Principiante", u"Anfänger", u"Principiante", u"新手", u"Новичок",
};

// Tooltip of the strength figure ("≈ 1400") beside the level list.
inline constexpr const char16_t* strengthTipWord[LanguageCount] = {
    u"Estimated playing strength (Elo)", u"Force de jeu estimée (Elo)",     u"Forza di gioco stimata (Elo)",
    u"Geschätzte Spielstärke (Elo)",     u"Fuerza de juego estimada (Elo)", u"估计棋力（等级分）",
    u"Оценка силы игры (Эло)",
};

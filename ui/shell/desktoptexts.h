#pragma once
// The texts of the desktop commands (copy and paste, resign and draw offers, sound,
// coordinates, auto-turn) and their messages, in the seven languages of the program,
// laid out like the tables of texttables.h. The menus show these items after their own.

#include "ui/shell/texttables.h"

enum DesktopCommandId {
    CmdCopyGame = CmdEditCopy,   // Ctrl+C: the game as PGN
    CmdPaste = CmdEditPaste,     // Ctrl+V: a FEN position or a PGN game
    CmdCopyPosition = 32810,     // Ctrl+Shift+C: the position as FEN
    CmdResign = 32811,
    CmdOfferDraw = 32812,
    CmdSound = 32813,
    CmdCoordinates = 32814,
    CmdAutoTurn = 32815,
};

inline constexpr MenuText desktopMenuTextTable[] = {
    {CmdCopyGame,
     {u"Copy game (PGN)", u"Copier la partie (PGN)", u"Copia partita (PGN)", u"Partie kopieren (PGN)",
      u"Copiar partida (PGN)", u"复制棋局 (PGN)", u"Копировать партию (PGN)"}},
    {CmdCopyPosition,
     {u"Copy position (FEN)", u"Copier la position (FEN)", u"Copia posizione (FEN)",
      u"Stellung kopieren (FEN)", u"Copiar posición (FEN)", u"复制局面 (FEN)", u"Копировать позицию (FEN)"}},
    {CmdPaste,
     {u"Paste game or position", u"Coller partie ou position", u"Incolla partita o posizione",
      u"Partie oder Stellung einfügen", u"Pegar partida o posición", u"粘贴棋局或局面",
      u"Вставить партию или позицию"}},
    {CmdResign, {u"Resign", u"Abandonner", u"Abbandona", u"Aufgeben", u"Abandonar", u"认输", u"Сдаться"}},
    {CmdOfferDraw,
     {u"Offer draw", u"Proposer nulle", u"Offri patta", u"Remis anbieten", u"Ofrecer tablas", u"提和",
      u"Предложить ничью"}},
    {CmdSound, {u"Sound", u"Son", u"Suono", u"Ton", u"Sonido", u"声音", u"Звук"}},
    {CmdCoordinates,
     {u"Coordinates", u"Coordonnées", u"Coordinate", u"Koordinaten", u"Coordenadas", u"坐标",
      u"Координаты"}},
    {CmdAutoTurn,
     {u"Turn board for Black", u"Tourner pour les Noirs", u"Ruota per il Nero", u"Brett für Schwarz drehen",
      u"Girar para negras", u"执黑时翻转棋盘", u"Поворот доски за чёрных"}},
};

// Appended to the two menus after a separator.
inline constexpr MenuLayout gameMenuExtras[] = {
    {MenuEntry::Separator, 0},   {MenuEntry::Item, CmdResign}, {MenuEntry::Item, CmdOfferDraw},
    {MenuEntry::Separator, 0},   {MenuEntry::Item, CmdCopyGame}, {MenuEntry::Item, CmdCopyPosition},
    {MenuEntry::Item, CmdPaste},
};

inline constexpr MenuLayout optionsMenuExtras[] = {
    {MenuEntry::Separator, 0},
    {MenuEntry::Item, CmdSound},
    {MenuEntry::Item, CmdCoordinates},
    {MenuEntry::Item, CmdAutoTurn},
};

// The messages of the desktop commands.
enum DesktopMessage {
    DesktopIllegalPosition = 0, // a pasted FEN that is no legal position
    DesktopNothingToPaste = 1,  // the clipboard holds neither FEN nor PGN
    DesktopDrawDeclined = 2, // the user's draw offer (an accepted one ends the game: its box is the game's)
    DesktopAskSave = 3,      // New game or Load while a game is in progress
    DesktopSaveButton = 4,
    DesktopDontSaveButton = 5,
    DesktopCancelButton = 6,
    DesktopMessageCount = 7
};

inline constexpr const char16_t* desktopMessageTable[LanguageCount][DesktopMessageCount] = {
    // English
    {u"This is not a legal position.", u"The clipboard holds no position (FEN) and no game (PGN).",
     u"The computer declines the draw.", u"Do you want to save the game in progress?", u"Save", u"Don't save",
     u"Cancel"},
    // French
    {u"Ce n'est pas une position légale.",
     u"Le presse-papiers ne contient ni position (FEN) ni partie (PGN).", u"L'ordinateur refuse la nulle.",
     u"Voulez-vous sauvegarder la partie en cours?", u"Sauvegarder", u"Ne pas sauvegarder", u"Annuler"},
    // Italian
    {u"Questa non è una posizione legale.",
     u"Gli appunti non contengono né una posizione (FEN) né una partita (PGN).",
     u"Il computer rifiuta la patta.", u"Vuoi salvare la partita in corso?", u"Salva", u"Non salvare",
     u"Annulla"},
    // German
    {u"Das ist keine erlaubte Stellung.",
     u"Die Zwischenablage enthält weder Stellung (FEN) noch Partie (PGN).",
     u"Der Computer lehnt das Remis ab.", u"Möchten Sie die laufende Partie speichern?", u"Speichern",
     u"Nicht speichern", u"Abbrechen"},
    // Spanish
    {u"Esta no es una posición legal.",
     u"El portapapeles no contiene ninguna posición (FEN) ni partida (PGN).",
     u"La computadora rechaza las tablas.", u"¿Desea guardar la partida en curso?", u"Guardar", u"No guardar",
     u"Cancelar"},
    // Chinese
    {u"这不是合法的局面。", u"剪贴板中没有局面 (FEN) 或棋局 (PGN)。", u"电脑拒绝和棋。", u"要保存当前棋局吗?",
     u"保存", u"不保存", u"取消"},
    // Russian
    {u"Это не допустимая позиция.", u"В буфере обмена нет ни позиции (FEN), ни партии (PGN).",
     u"Компьютер отклоняет ничью.", u"Сохранить текущую партию?", u"Сохранить", u"Не сохранять", u"Отмена"},
};

constexpr const char16_t* desktopMenuText(int key, int language) {
    for (const MenuText& row : desktopMenuTextTable)
        if (row.key == key) return row.text[clampLanguage(language)];
    return nullptr;
}

constexpr const char16_t* desktopMessageText(int message, int language) {
    return message >= 0 && message < DesktopMessageCount ? desktopMessageTable[clampLanguage(language)][message]
                                                         : u"";
}

#pragma once
// The texts of the list of a file's games and of the tutorial window, in the seven languages, beside the
// tables of texttables.h and indexed the same way (0 English .. 6 Russian).

#include "ui/shell/texttables.h"

// The columns of the list of the games of a file, left to right.
enum GameListColumn {
    ColumnWhite = 0,
    ColumnBlack = 1,
    ColumnResult = 2,
    ColumnDate = 3,
    ColumnEvent = 4,
    GameListColumnCount = 5
};

struct FileTexts {
    const char16_t* gameListTitle;                 // title of the list of the games of a file
    const char16_t* columns[GameListColumnCount];  // its column headings
    const char16_t* close;                         // the button that closes the tutorial window
};

inline constexpr FileTexts fileTextTable[LanguageCount] = {
    // English
    {u"Choose a game",
     {u"White", u"Black", u"Result", u"Date", u"Event"},
     u"Close"},
    // French
    {u"Choisir une partie",
     {u"Blancs", u"Noirs", u"Résultat", u"Date", u"Événement"},
     u"Fermer"},
    // Italian
    {u"Scegli una partita",
     {u"Bianco", u"Nero", u"Risultato", u"Data", u"Evento"},
     u"Chiudi"},
    // German
    {u"Partie auswählen",
     {u"Weiß", u"Schwarz", u"Ergebnis", u"Datum", u"Turnier"},
     u"Schließen"},
    // Spanish
    {u"Elegir una partida",
     {u"Blancas", u"Negras", u"Resultado", u"Fecha", u"Evento"},
     u"Cerrar"},
    // Chinese
    {u"选择棋局",
     {u"白方", u"黑方", u"结果", u"日期", u"赛事"},
     u"关闭"},
    // Russian
    {u"Выберите партию",
     {u"Белые", u"Чёрные", u"Результат", u"Дата", u"Турнир"},
     u"Закрыть"},
};

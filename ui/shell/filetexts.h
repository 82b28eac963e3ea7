#pragma once
// The texts around the game files and the tutorial, in the seven languages, beside the
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
    const char16_t* saveFailed;                    // the game could not be written
    const char16_t* loadFailed;                    // no game could be read from the file
    const char16_t* close;                         // the button that closes the tutorial window
};

inline constexpr FileTexts fileTextTable[LanguageCount] = {
    // English
    {u"Choose a game",
     {u"White", u"Black", u"Result", u"Date", u"Event"},
     u"The game could not be saved to this file.",
     u"No game could be read from this file.",
     u"Close"},
    // French
    {u"Choisir une partie",
     {u"Blancs", u"Noirs", u"Résultat", u"Date", u"Événement"},
     u"La partie n'a pas pu être enregistrée dans ce fichier.",
     u"Aucune partie n'a pu être lue dans ce fichier.",
     u"Fermer"},
    // Italian
    {u"Scegli una partita",
     {u"Bianco", u"Nero", u"Risultato", u"Data", u"Evento"},
     u"Non è stato possibile salvare la partita in questo file.",
     u"Non è stato possibile leggere una partita da questo file.",
     u"Chiudi"},
    // German
    {u"Partie auswählen",
     {u"Weiß", u"Schwarz", u"Ergebnis", u"Datum", u"Turnier"},
     u"Die Partie konnte nicht in dieser Datei gespeichert werden.",
     u"Aus dieser Datei konnte keine Partie gelesen werden.",
     u"Schließen"},
    // Spanish
    {u"Elegir una partida",
     {u"Blancas", u"Negras", u"Resultado", u"Fecha", u"Evento"},
     u"No se pudo guardar la partida en este archivo.",
     u"No se pudo leer ninguna partida de este archivo.",
     u"Cerrar"},
    // Chinese
    {u"选择棋局",
     {u"白方", u"黑方", u"结果", u"日期", u"赛事"},
     u"无法将棋局保存到此文件.",
     u"无法从此文件读取棋局.",
     u"关闭"},
    // Russian
    {u"Выберите партию",
     {u"Белые", u"Чёрные", u"Результат", u"Дата", u"Турнир"},
     u"Не удалось сохранить партию в этот файл.",
     u"Не удалось прочитать партию из этого файла.",
     u"Закрыть"},
};

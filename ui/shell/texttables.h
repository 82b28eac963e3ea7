#pragma once
// The texts the user sees, in the seven languages of the program, as plain tables.
// Qt-free so that every layer can reach them; ui/shell/localisation.h adds the
// look-ups by the current language and the message box.
//
// Every table is indexed by language first: 0 English, 1 French, 2 Italian, 3 German,
// 4 Spanish, 5 Chinese, 6 Russian. Texts are UTF-16, so a "character" below is one
// char16_t (the clock labels rely on entries 7 and 8 being three of them).

enum LanguageIndex {
    English = 0,
    French = 1,
    Italian = 2,
    German = 3,
    Spanish = 4,
    Chinese = 5,
    Russian = 6,
    LanguageCount = 7
};

// Menu commands and the framework commands that reach the program.
enum CommandId {
    CmdHint = 32771,
    CmdTakeback = 32772,
    CmdTakebackAll = 32773,
    CmdForward = 32774,
    CmdForwardAll = 32775,
    CmdSwapSides = 32777,
    CmdNewGame = 32779,
    CmdGameSettings = 32784,
    CmdWood2D = 32786,
    CmdIsometric = 32787,
    CmdRotateBoard = 32788,
    CmdShowLegalMoves = 32789,
    CmdShowLastMove = 32790,
    CmdTutorMode = 32791,
    CmdLanguage = 32792,
    CmdTutorial = 32793,
    CmdAbout = 32794,
    CmdBlue2D = 32796,
    CmdBW2D = 32797,
    CmdFileNew = 57600,     // Ctrl+N
    CmdLoad = 57601,        // the framework's open
    CmdSaveAndExit = 57602, // the framework's close
    CmdSave = 57604,
    CmdEditCopy = 57634,  // Ctrl+C, handled by nobody
    CmdEditCut = 57635,   // Ctrl+X, handled by nobody
    CmdEditPaste = 57637, // Ctrl+V, handled by nobody
    CmdEditUndo = 57643,  // Ctrl+Z, handled by nobody
    // Keys of the menu texts that are not commands: the two drop-down menus and the submenu.
    MenuGame = 1,
    MenuOptions = 2,
    MenuBoardSettings = 3,
};

// uiWordTable: 32 entries per language.
//   0..2   the level modes of the New Game dialog ("Rank", "Turn In", "Game In")
//   3..4   who plays White in that dialog ("You", "Computer")
//   5..6   the dialog's two titles ("Game Settings", "New Game")
//   7..8   the clock labels, always three characters ("You", "CPU")
//   9      "Thinking", not shown anywhere
//   10..11 the colour letters of the clock lines (Black, White)
//   12..21 the per-move times of the level "Turn In"
//   22..31 the game times of the level "Game In"
enum UiWord {
    WordRank = 0,
    WordTurnIn = 1,
    WordGameIn = 2,
    WordYou = 3,
    WordComputer = 4,
    WordGameSettings = 5,
    WordNewGame = 6,
    WordClockYou = 7,
    WordClockCpu = 8,
    WordThinking = 9,
    WordBlackLetter = 10,
    WordWhiteLetter = 11,
    WordFirstMoveTime = 12,
    WordFirstGameTime = 22,
    UiWordCount = 32
};

inline constexpr const char16_t* uiWordTable[LanguageCount][UiWordCount] = {
    // English
    {u"Rank",   u"Turn In",  u"Game In", u"You",    u"Computer", u"Game Settings", u"New Game", u"You",
     u"CPU",    u"Thinking", u"B",       u"W",      u"1 sec",    u"2 sec",         u"3 sec",    u"5 sec",
     u"10 sec", u"20 sec",   u"30 sec",  u"1 min",  u"3 min",    u"5 min",         u"1 min",    u"2 min",
     u"3 min",  u"5 min",    u"10 min",  u"15 min", u"20 min",   u"40 min",        u"60 min",   u"90 min"},
    // French
    {u"Rang",   u"Restituer", u"Jeu En",   u"Vous",   u"Ordinateur", u"Options de Jeu", u"Nouveau jeu",
     u"You",    u"CPU",       u"Thinking", u"B",      u"W",          u"1 sec",          u"2 sec",
     u"3 sec",  u"5 sec",     u"10 sec",   u"20 sec", u"30 sec",     u"1 min",          u"3 min",
     u"5 min",  u"1 min",     u"2 min",    u"3 min",  u"5 min",      u"10 min",         u"15 min",
     u"20 min", u"40 min",    u"60 min",   u"90 min"},
    // Italian
    {u"Fila",          u"Turno In", u"Partita In", u"Tu",       u"Computer", u"Specificazioni della Partita",
     u"Nuova Partita", u"You",      u"CPU",        u"Thinking", u"B",        u"W",
     u"1 sec",         u"2 sec",    u"3 sec",      u"5 sec",    u"10 sec",   u"20 sec",
     u"30 sec",        u"1 min",    u"3 min",      u"5 min",    u"1 min",    u"2 min",
     u"3 min",         u"5 min",    u"10 min",     u"15 min",   u"20 min",   u"40 min",
     u"60 min",        u"90 min"},
    // German
    {u"Linie",       u"Reihe nach", u"Spiel in", u"Sie",      u"Computer", u"Spieleinstellungen",
     u"Neues Spiel", u"You",        u"CPU",      u"Thinking", u"B",        u"W",
     u"1 sec",       u"2 sec",      u"3 sec",    u"5 sec",    u"10 sec",   u"20 sec",
     u"30 sec",      u"1 min",      u"3 min",    u"5 min",    u"1 min",    u"2 min",
     u"3 min",       u"5 min",      u"10 min",   u"15 min",   u"20 min",   u"40 min",
     u"60 min",      u"90 min"},
    // Spanish
    {u"Línea",       u"Turno In", u"Juego In", u"Usted",    u"Computadora", u"Configuración del juego",
     u"Nuevo Juego", u"You",      u"CPU",      u"Thinking", u"B",           u"W",
     u"1 sec",       u"2 sec",    u"3 sec",    u"5 sec",    u"10 sec",      u"20 sec",
     u"30 sec",      u"1 min",    u"3 min",    u"5 min",    u"1 min",       u"2 min",
     u"3 min",       u"5 min",    u"10 min",   u"15 min",   u"20 min",      u"40 min",
     u"60 min",      u"90 min"},
    // Chinese
    {u"等级",   u"行动",     u"游戏",   u"玩家",   u"电脑",   u"游戏设置", u"新游戏", u"You",
     u"CPU",    u"Thinking", u"B",      u"W",      u"1 sec",  u"2 sec",    u"3 sec",  u"5 sec",
     u"10 sec", u"20 sec",   u"30 sec", u"1 min",  u"3 min",  u"5 min",    u"1 min",  u"2 min",
     u"3 min",  u"5 min",    u"10 min", u"15 min", u"20 min", u"40 min",   u"60 min", u"90 min"},
    // Russian
    {u"Класс",      u"Ход за", u"Игра за", u"Вы",       u"Компьютер", u"Настройки игры",
     u"Новая игра", u" Вы",    u" ИИ",     u"Thinking", u"Ч",         u"Б",
     u"1 с",        u"2 с",    u"3 с",     u"5 с",      u"10 с",      u"20 с",
     u"30 с",       u"1 мин",  u"3 мин",   u"5 мин",    u"1 мин",     u"2 мин",
     u"3 мин",      u"5 мин",  u"10 мин",  u"15 мин",   u"20 мин",    u"40 мин",
     u"60 мин",     u"90 мин"},
};

// barCaptionTable: the captions drawn while an image button of the menu bar is pressed.
//   0 Hint, 1 Takeback, 2 Forward, 3 Rotate board
enum BarCaption {
    CaptionHint = 0,
    CaptionTakeback = 1,
    CaptionForward = 2,
    CaptionRotate = 3,
    BarCaptionCount = 4
};

inline constexpr const char16_t* barCaptionTable[LanguageCount][BarCaptionCount] = {
    {u"Hint", u"Takeback", u"Forward", u"Rotate Board"},               // English
    {u"Conseil", u"Takeback", u"Avancer", u"Tourner table"},           // French
    {u"Suggerimento", u"In Dietro", u"Avanti", u"Ruotare scacchiera"}, // Italian
    {u"Tipps", u"Zurücknehmen", u"Vorrücken", u"Schachbrett drehen"},  // German
    {u"Sugerir", u"Takeback", u"Avanzar", u"Rotar tablero"},           // Spanish
    {u"提示", u"向后", u"向前", u"旋转棋盘"},                          // Chinese
    {u"Подсказка", u"Ход назад", u"Ход вперед", u"Повернуть доску"},   // Russian
};

// messageTable: the texts of the message boxes.
//   0 the tutor's question (Yes and No, question icon)
//   1 missing installed files (OK only)
//   2..8 the end of the game, who won and why (OK only): the user mates, the computer
//        mates, stalemate, threefold repetition, fifty moves, no mating material,
//        the computer resigns
//   9 the game record is full (OK only)
//   10, 11 the end of the game by the players' word (OK only): the user resigns, a draw
//        offered and accepted
//   12 the computer offers a draw (Yes and No, question icon)
enum { MessageCount = 13 };

inline constexpr const char16_t* messageTable[LanguageCount][MessageCount] = {
    // English
    {u"Your last move seems to be weak. Would you take back?",
     u"Required files not found. Please, re-install the software.", u"Checkmate. You win!",
     u"Checkmate. The computer wins.", u"Stalemate. The game is drawn.", u"Draw by threefold repetition.",
     u"Draw by the fifty-move rule.", u"Draw: neither side can checkmate.", u"The computer resigns. You win!",
     u"The game record is full. No more moves can be played in this game.",
     u"You resigned. The computer wins.", u"Draw agreed. The game is drawn.",
     u"The computer offers a draw. Do you accept?"},
    // French
    {u"Votre dernier coup semble être faible. Voulez-vous rentrer?",
     u"Fichiers requis non trouvés. Veuillez ré-installer le logiciel.", u"Échec et mat. Vous avez gagné !",
     u"Échec et mat. L'ordinateur a gagné.", u"Pat. La partie est nulle.",
     u"Partie nulle par triple répétition.", u"Partie nulle par la règle des cinquante coups.",
     u"Partie nulle : aucun camp ne peut mater.", u"L'ordinateur abandonne. Vous avez gagné !",
     u"La feuille de partie est pleine. Aucun autre coup ne peut être joué dans cette partie.",
     u"Vous avez abandonné. L'ordinateur a gagné.", u"Nulle acceptée. La partie est nulle.",
     u"L'ordinateur propose la nulle. Acceptez-vous ?"},
    // Italian
    {u"La tua ultima mossa sembra un po’ debole. Vorresti tornare in dietro?",
     u"Non si trovano i files richiesti. Si prega di riinstallare il software.", u"Scacco matto. Hai vinto!",
     u"Scacco matto. Ha vinto il computer.", u"Stallo. La partita è patta.",
     u"Patta per triplice ripetizione.", u"Patta per la regola delle cinquanta mosse.",
     u"Patta: nessuno dei due può dare matto.", u"Il computer abbandona. Hai vinto!",
     u"Il formulario della partita è pieno. Non si possono giocare altre mosse in questa partita.",
     u"Hai abbandonato. Ha vinto il computer.", u"Patta accettata. La partita è patta.",
     u"Il computer offre la patta. Accetti?"},
    // German
    {u"Ihr letzter Schachzug scheint schwach zu sein. Möchten Sie zurücknehmen?",
     u"Erforderliche Dateien konnten nicht gefunden werden. Installieren Sie bitte die Software nochmals",
     u"Schachmatt. Sie haben gewonnen!", u"Schachmatt. Der Computer hat gewonnen.",
     u"Patt. Die Partie endet remis.", u"Remis durch dreifache Stellungswiederholung.",
     u"Remis nach der Fünfzig-Züge-Regel.", u"Remis: Keine Seite kann mattsetzen.",
     u"Der Computer gibt auf. Sie haben gewonnen!",
     u"Die Partienotation ist voll. In dieser Partie können keine weiteren Züge gespielt werden.",
     u"Sie haben aufgegeben. Der Computer hat gewonnen.", u"Remis vereinbart. Die Partie endet remis.",
     u"Der Computer bietet Remis an. Nehmen Sie an?"},
    // Spanish
    {u"Su última jugada parece débil. Desea volver atrás?",
     u"No se encontraron los archivos requeridos. Por favor, re instale el software.",
     u"Jaque mate. ¡Usted gana!", u"Jaque mate. Gana la computadora.",
     u"Ahogado. La partida termina en tablas.", u"Tablas por triple repetición.",
     u"Tablas por la regla de los cincuenta movimientos.", u"Tablas: ningún bando puede dar mate.",
     u"La computadora abandona. ¡Usted gana!",
     u"La planilla de la partida está llena. No se pueden jugar más jugadas en esta partida.",
     u"Usted abandonó. Gana la computadora.", u"Tablas acordadas. La partida termina en tablas.",
     u"La computadora ofrece tablas. ¿Acepta?"},
    // Chinese
    {u"你的最后一步棋看起来不甚高明. 你想悔棋吗?", u"未发现注册文件. 请重新安装程序.", u"将死。你赢了！",
     u"将死。电脑赢了。", u"逼和。和棋。", u"三次重复局面，和棋。", u"五十步规则，和棋。",
     u"双方都无法将死，和棋。", u"电脑认输。你赢了！", u"棋谱已满，本局不能再走棋。", u"你认输了。电脑赢了。",
     u"双方同意和棋。", u"电脑提和。你接受吗？"},
    // Russian
    {u"Вы сделали слабый ход. Хотите взять назад?",
     u"Не найдены необходимые файлы. Пожалуйста, переустановите игру.", u"Мат. Вы победили!",
     u"Мат. Победил компьютер.", u"Пат. Ничья.", u"Ничья: троекратное повторение позиции.",
     u"Ничья по правилу пятидесяти ходов.", u"Ничья: ни одна из сторон не может поставить мат.",
     u"Компьютер сдаётся. Вы победили!", u"Запись партии заполнена. В этой партии больше нельзя делать ходы.",
     u"Вы сдались. Победил компьютер.", u"Ничья по соглашению.", u"Компьютер предлагает ничью. Принять?"},
};

// The texts of the two menus, the submenu and the menu-bar buttons: one row per key,
// one column per language. The drop-down buttons of the menu bar carry the texts of
// MenuGame and MenuOptions.
struct MenuText {
    int key; // a CommandId, or MenuGame/MenuOptions/MenuBoardSettings
    const char16_t* text[LanguageCount];
};

inline constexpr MenuText menuTextTable[] = {
    {MenuGame, {u"Game", u"Jeu", u"Partita", u"Spiel", u"Juego", u"游戏", u"Игра"}},
    {CmdHint, {u"Hint", u"Conseil", u"Suggerimento", u"Tipps", u"Sugerir", u"提示", u"Подсказка"}},
    {CmdTakeback,
     {u"Takeback", u"Takeback", u"In Dietro", u"Zurücknehmen", u"Takeback", u"撤销", u"Ход назад"}},
    {CmdTakebackAll,
     {u"Takeback all", u"Takeback tout", u"Tutto In Dietro", u"alles Zurücknehmen", u"Takeback todo",
      u"撤销全部", u"Все ходы назад"}},
    {CmdForward, {u"Forward", u"Avancer", u"Avanti", u"Vorrücken", u"Avanzar", u"向前", u"Ход вперед"}},
    {CmdForwardAll,
     {u"Forward all", u"Avancer tout", u"Tutto Avanti", u"alles Vorrücken", u"Avanzar todo", u"向前所有",
      u"Все ходы вперед"}},
    {CmdSwapSides,
     {u"Swap sides", u"Echanger côtés", u"Cambiare colore", u"Seiten tauschen", u"Intercambiar lados",
      u"双方交换", u"Поменяться сторонами"}},
    {CmdNewGame,
     {u"New game", u"Nouveau jeu", u"Nuova Partita", u"Neues Spiel", u"Nuevo Juego", u"新游戏",
      u"Новая игра"}},
    {CmdSave, {u"Save", u"Sauvegarder", u"Salvare", u"Speichern", u"Guardar", u"存盘", u"Сохранить игру"}},
    {CmdLoad, {u"Load", u"Charger", u"Caricare", u"Laden", u"Cargar", u"载入", u"Загрузить игру"}},
    {CmdSaveAndExit,
     {u"Save and exit", u"Sauvegarder et sortir", u"Salvare e uscire", u"Speichern und Verlassen",
      u"Guardar y salir", u"存盘退出", u"Выход"}},
    {MenuOptions, {u"Options", u"Options", u"Opzioni", u"Optionen", u"Opciones", u"选项", u"Настройки"}},
    {CmdGameSettings,
     {u"Game settings...", u"Options de Jeu...", u"Specificazioni della Partita...", u"Spieleinstellungen...",
      u"Configuración del juego...", u"游戏设置...", u"Настройки игры..."}},
    {MenuBoardSettings,
     {u"Board settings", u"Options de Table", u"Specificazioni della Scacchiera",
      u"Schachbrett Einstellungen", u"Configuración del tablero", u"棋盘设置", u"Настройки доски"}},
    {CmdWood2D, {u"Wood 2D", u"Bois 2D", u"Legno 2D", u"Holz 2D", u"Madera 2D", u"木头", u"Дерево"}},
    {CmdBlue2D, {u"Blue 2D", u"Bleu 2D", u"Azzurro 2D", u"Blau 2D", u"Azul 2D", u"蓝色", u"Кафель"}},
    {CmdBW2D, {u"B/W 2D", u"B/N 2D", u"N/B 2D", u"B/W 2D", u"B/N 2D", u"黑色和白色", u"Черное и белое"}},
    {CmdIsometric,
     {u"Isometric", u"Isométrique", u"Isometrica", u"Isometrische", u"Isométrico", u"等量", u"Изометрия"}},
    {CmdRotateBoard,
     {u"Rotate board", u"Tourner table", u"Ruotare scacchiera", u"Schachbrett drehen", u"Rotar tablero",
      u"旋转棋盘", u"Повернуть доску"}},
    {CmdShowLegalMoves,
     {u"Show legal moves", u"Montrer les coups légaux", u"Mostrare mosse permesse",
      u"Zugmöglichkeiten anzeigen", u"Ver jugadas legales", u"显示合理", u"Возможные ходы"}},
    {CmdShowLastMove,
     {u"Show last move", u"Montrer le dernier coup", u"Mostrare ultima mossa", u"Letzten Schachzug anzeigen",
      u"Ver última jugada", u"显示最后一步", u"Последний ход"}},
    {CmdTutorMode,
     {u"Tutor mode", u"Mode assisté", u"Modo tutoriale", u"Lehrermodus", u"Modo tutor", u"教学模式",
      u"Режим обучения"}},
    {CmdLanguage,
     {u"Language...", u"Langage...", u"Linguaggio...", u"Sprache...", u"Idioma...", u"语言...", u"Язык..."}},
    {CmdTutorial,
     {u"Tutorial", u"Tutoriel", u"Istruzioni", u"Lernprogramm", u"Tutorial", u"教程", u"Помощь"}},
    {CmdAbout, {u"About", u"A propos de", u"Su", u"Über", u"Acerca de", u"关于", u"Об игре"}},
};

// The layout of the two menus, the same in every language.
enum class MenuEntry { Item, Separator, SubmenuBegin, SubmenuEnd };

struct MenuLayout {
    MenuEntry kind;
    int key; // the command, or the submenu's text key; 0 for a separator
};

inline constexpr MenuLayout gameMenuLayout[] = {
    {MenuEntry::Item, CmdHint},    {MenuEntry::Item, CmdTakeback},    {MenuEntry::Item, CmdTakebackAll},
    {MenuEntry::Item, CmdForward}, {MenuEntry::Item, CmdForwardAll},  {MenuEntry::Item, CmdSwapSides},
    {MenuEntry::Separator, 0},     {MenuEntry::Item, CmdNewGame},     {MenuEntry::Item, CmdSave},
    {MenuEntry::Item, CmdLoad},    {MenuEntry::Item, CmdSaveAndExit},
};

inline constexpr MenuLayout optionsMenuLayout[] = {
    {MenuEntry::Item, CmdGameSettings},   {MenuEntry::SubmenuBegin, MenuBoardSettings},
    {MenuEntry::Item, CmdWood2D},         {MenuEntry::Item, CmdBlue2D},
    {MenuEntry::Item, CmdBW2D},           {MenuEntry::Item, CmdIsometric},
    {MenuEntry::SubmenuEnd, 0},           {MenuEntry::Item, CmdRotateBoard},
    {MenuEntry::Item, CmdShowLegalMoves}, {MenuEntry::Item, CmdShowLastMove},
    {MenuEntry::Item, CmdTutorMode},      {MenuEntry::Separator, 0},
    {MenuEntry::Item, CmdLanguage},       {MenuEntry::Item, CmdTutorial},
    {MenuEntry::Item, CmdAbout},
};

// The four image buttons of the menu bar, left to right, with their caption entries.
struct BarButton {
    int command;
    int caption; // barCaptionTable entry
};

inline constexpr BarButton barButtons[4] = {
    {CmdHint, CaptionHint},
    {CmdTakeback, CaptionTakeback},
    {CmdForward, CaptionForward},
    {CmdRotateBoard, CaptionRotate},
};

// Labels of the New Game dialog and the texts of the About dialog.
struct DialogTexts {
    const char16_t* difficulty; // "Difficulty:"
    const char16_t* level;      // "Level:"
    const char16_t* white;      // "White:"
    const char16_t* aboutTitle; // "About Tavisk"
    const char16_t* version;    // "Version 1.0"
};

inline constexpr DialogTexts dialogTextTable[LanguageCount] = {
    {u"Difficulty:", u"Level:", u"White:", u"About Tavisk", u"Version 1.0"},        // English
    {u"Difficulté:", u"Niveau:", u"Blanc:", u"A propos de Tavisk", u"Version 1.0"}, // French
    {u"Difficoltà:", u"Livello:", u"Bianchi:", u"Su Tavisk", u"Versione 1.0"},      // Italian
    {u"Schwierig:", u"Level:", u"Weiß:", u"Über Tavisk", u"Version 1.0"},           // German
    {u"Dificultad:", u"Nivel:", u"Blancas:", u"Acerca de Tavisk", u"Versión 1.0"},  // Spanish
    {u"难度:", u"段位:", u"白方:", u"关于 Tavisk", u"版本 1.0"},                    // Chinese
    {u"Сложность:", u"Уровень:", u"Белые:", u"Об игре Tavisk", u"Версия 1.0"},      // Russian
};

// The five credit lines of the About dialog: the publisher, its home, the
// developers, the pictures, the rights notice.
enum { CreditLineCount = 5 };

inline constexpr const char16_t* creditTable[LanguageCount][CreditLineCount] = {
    {u"The Tavisk project", u"Home: the Tavisk source tree", u"The Tavisk developers",
     u"Pictures by the Tavisk developers", u"\u00a9 2026 The Tavisk developers, MIT licence"}, // English
    {u"Le projet Tavisk", u"Site : les sources de Tavisk", u"Les développeurs de Tavisk",
     u"Images : les développeurs de Tavisk",
     u"\u00a9 2026 Les développeurs de Tavisk, licence MIT"}, // French
    {u"Il progetto Tavisk", u"Sito: i sorgenti di Tavisk", u"Gli sviluppatori di Tavisk",
     u"Immagini: gli sviluppatori di Tavisk",
     u"\u00a9 2026 Gli sviluppatori di Tavisk, licenza MIT"}, // Italian
    {u"Das Tavisk-Projekt", u"Heimat: der Quelltext von Tavisk", u"Die Tavisk-Entwickler",
     u"Bilder: die Tavisk-Entwickler", u"\u00a9 2026 Die Tavisk-Entwickler, MIT-Lizenz"}, // German
    {u"El proyecto Tavisk", u"Sitio: el código fuente de Tavisk", u"Los desarrolladores de Tavisk",
     u"Imágenes: los desarrolladores de Tavisk",
     u"\u00a9 2026 Los desarrolladores de Tavisk, licencia MIT"}, // Spanish
    {u"Tavisk 项目", u"主页：Tavisk 源代码", u"Tavisk 开发者", u"图片：Tavisk 开发者",
     u"\u00a9 2026 Tavisk 开发者，MIT 许可证"}, // Chinese
    {u"Проект Tavisk", u"Сайт: исходный код Tavisk", u"Разработчики Tavisk", u"Рисунки: разработчики Tavisk",
     u"\u00a9 2026 Разработчики Tavisk, лицензия MIT"}, // Russian
};

// The boxes of a file that could not be written or read; %1 is the file's path.
enum FileProblem { FileNotSaved = 0, FileNotRead = 1, FileProblemCount = 2 };

inline constexpr const char16_t* fileProblemTable[LanguageCount][FileProblemCount] = {
    {u"Could not save the game to %1.", u"Could not read a game from %1."},                      // English
    {u"Impossible d'enregistrer la partie dans %1.", u"Impossible de lire une partie dans %1."}, // French
    {u"Impossibile salvare la partita in %1.", u"Impossibile leggere una partita da %1."},       // Italian
    {u"Die Partie konnte nicht in %1 gespeichert werden.",
     u"Aus %1 konnte keine Partie gelesen werden."},                                  // German
    {u"No se pudo guardar la partida en %1.", u"No se pudo leer una partida de %1."}, // Spanish
    {u"无法将棋局保存到 %1。", u"无法从 %1 读取棋局。"},                              // Chinese
    {u"Не удалось сохранить партию в %1.", u"Не удалось прочитать партию из %1."},    // Russian
};

// The Language dialog offers five of the seven languages, in this order.
struct LanguageChoice {
    int buttonId;
    const char16_t* name;
    int language;
};

inline constexpr LanguageChoice languageChoices[5] = {
    {1001, u"English", English}, {1002, u"Français", French}, {1004, u"Italiano", Italian},
    {1005, u"Deutsch", German},  {1006, u"Español", Spanish},
};

inline constexpr const char16_t* languageDialogTitle = u"Select Language";
inline constexpr const char16_t* applicationTitle = u"Tavisk";

// The tutorial page of a language is "tutorial/Tutorial" + suffix + ".html".
inline constexpr const char* tutorialSuffix[LanguageCount] = {"", "F", "I", "G", "S", "C", "R"};

// A language index read from anywhere, held to the tables' range.
constexpr int clampLanguage(int language) {
    return language >= 0 && language < LanguageCount ? language : English;
}

// The text of a menu key in a language; null for a key that has none.
constexpr const char16_t* menuText(int key, int language) {
    for (const MenuText& row : menuTextTable)
        if (row.key == key) return row.text[clampLanguage(language)];
    return nullptr;
}

constexpr const char16_t* uiWord(int entry, int language) {
    return entry >= 0 && entry < UiWordCount ? uiWordTable[clampLanguage(language)][entry] : u"";
}

constexpr const char16_t* barCaptionText(int entry, int language) {
    return entry >= 0 && entry < BarCaptionCount ? barCaptionTable[clampLanguage(language)][entry] : u"";
}

constexpr const char16_t* messageText(int message, int language) {
    return message >= 0 && message < MessageCount ? messageTable[clampLanguage(language)][message] : u"";
}

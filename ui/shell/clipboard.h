#pragma once
// The game through the clipboard: the position as FEN, the game as PGN, and a pasted
// FEN or PGN made into the game through the document's load path.

#include <QString>

class CTaviskDoc;
class QWidget;

void copyGameToClipboard();
void copyPositionToClipboard();

// What a pasted text is.
enum class PastedKind { Position, Game, Nothing };
// The text as the game text to load (a FEN becomes a game starting from it). A FEN that
// is no legal position gives Position with an empty `gameText`.
PastedKind readPastedText(const QString& text, QString& gameText);

// Paste: a FEN or PGN on the clipboard becomes the game (a game in progress may be saved
// first); anything else, or a FEN of an
// illegal position, is refused with a message. True when a game was loaded.
bool pasteFromClipboard(CTaviskDoc& document, QWidget* parent);

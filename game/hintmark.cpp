#include "game/hintmark.h"

#include <cstring>

#include "engine/core/gamerecord.h"
#include "engine/session/session.h"
#include "game/controller.h"

namespace {

struct ShownHint {
    bool shown = false;
    int squares[4] = {-1, -1, -1, -1};
    int ply = 0;
    int recordLength = 0;
    std::uint32_t key = 0;
};

ShownHint hint;

} // namespace

void rememberShownHint(GameController& game) {
    if (!game.hintAvailable()) return;
    hint.shown = true;
    for (int i = 0; i < 4; ++i) hint.squares[i] = game.hintMove[i];
    hint.ply = engineSession.gamePosition.ply;
    hint.recordLength = recordLength();
    hint.key = engineSession.gamePosition.hashKey;
}

bool shownHint(int squares[4]) {
    if (!hint.shown) return false;
    // The next move, a takeback, a new game or a load: the hint belongs to another position.
    if (engineSession.searchState != 0 || engineSession.gamePosition.ply != hint.ply ||
        recordLength() != hint.recordLength || engineSession.gamePosition.hashKey != hint.key) {
        hint.shown = false;
        return false;
    }
    std::memcpy(squares, hint.squares, sizeof hint.squares);
    return true;
}

void forgetShownHint() {
    hint.shown = false;
}

#include "ui/shell/desktopcommands.h"

#include <QMessageBox>
#include <QPushButton>

#include "engine/core/gamerecord.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/preferences.h"
#include "ui/shell/clipboard.h"
#include "ui/shell/localisation.h"
#include "ui/shell/preferences.h"
#include "ui/shell/taviskdoc.h"

namespace {

void togglePreference(bool& preference) {
    preference = !preference;
    saveDesktopPreferences();
    gameController().repaint();
}

} // namespace

bool desktopCommand(int command, CTaviskDoc& document, QWidget* parent) {
    GameController& game = gameController();
    DesktopPreferences& preferences = desktopPreferences();
    switch (command) {
    case CmdCopyGame:
        copyGameToClipboard();
        return true;
    case CmdCopyPosition:
        copyPositionToClipboard();
        return true;
    case CmdPaste:
        pasteFromClipboard(document, parent);
        return true;
    case CmdResign:
        game.resign(); // the game's own end box says who won
        return true;
    case CmdOfferDraw:
        if (!game.gameDecided() && !game.offerDraw())
            messageBox(localDesktopMessage(DesktopDrawDeclined), BoxType::Ok, parent);
        return true;
    case CmdSound:
        togglePreference(preferences.sound);
        return true;
    case CmdCoordinates:
        togglePreference(preferences.coordinates);
        return true;
    case CmdAutoTurn:
        togglePreference(preferences.autoTurn);
        return true;
    default:
        return false;
    }
}

bool confirmDiscardGame(CTaviskDoc& document, QWidget* parent) {
    GameController& game = gameController();
    // Nothing to lose: no move yet, or the game is over.
    if (recordLength() == 0 || game.gameDecided()) return true;
    QMessageBox box(QMessageBox::Question, fromTable(applicationTitle), localDesktopMessage(DesktopAskSave),
                    QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(localDesktopMessage(DesktopSaveButton), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(localDesktopMessage(DesktopDontSaveButton), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(localDesktopMessage(DesktopCancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == discard) return true;
    if (box.clickedButton() == save) return document.save();
    return false;
}

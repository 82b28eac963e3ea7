#pragma once
// The few things the game controller needs from the platform. The Qt shell
// implements this interface; tests use a fake, so the whole game runs
// without a window.

#include <cstdint>

// A loaded picture. The platform owns what stands behind the handle; the
// controller only keeps it and gives it back to be released.
struct PlatformImage;
using ImageHandle = PlatformImage*;

// Timer and message numbers the controller uses.
constexpr int ClockTimerIdentifier = 10; // the view's one-second clock timer
constexpr int ClockTimerPeriodMs = 1000;
constexpr int SlideFramePeriodMs = 50; // sleep between two frames of a slide

// Message numbers of the localised message table.
constexpr int MessageWeakMove = 0;     // "Your last move seems to be weak. Would you take back?"
constexpr int MessageFilesMissing = 1; // "Required files not found. Please, re-install the software."
constexpr int MessageYouMate = 2;          // checkmate, the user wins
constexpr int MessageComputerMates = 3;    // checkmate, the computer wins
constexpr int MessageStalemate = 4;        // stalemate: a draw
constexpr int MessageRepetition = 5;       // a draw by threefold repetition
constexpr int MessageFiftyMoves = 6;       // a draw by the fifty-move rule
constexpr int MessageNoMatingMaterial = 7; // a draw: neither side can mate
constexpr int MessageComputerResigns = 8;  // the computer resigns, the user wins
constexpr int MessageRecordFull = 9;       // the game record has no room for another move
constexpr int MessageYouResign = 10;       // the user resigned, the computer wins
constexpr int MessageDrawAgreed = 11;      // a draw offered and accepted
constexpr int MessageComputerOffersDraw = 12; // the computer offers a draw: does the user accept? (Yes, No)

class GamePlatform {
  public:
    virtual ~GamePlatform() = default;

    // Paints the whole game view at once, synchronously; nothing is queued.
    virtual void repaint() = 0;
    // Paints the status panel (score, clocks); a full repaint will do.
    virtual void repaintStatus() { repaint(); }

    virtual void sleepMs(int milliseconds) = 0;
    // Milliseconds of a steady clock: the clocks measure real time with it.
    virtual std::uint32_t tickMs();

    // Handles the engine's notifications that wait for the main thread now,
    // from within a command: a worker asked to stop while it waits for one
    // can stop only once it has been handled.
    virtual void serveEngineNotifications() {}

    // A periodic timer on the game view (`view`, may be null before the first
    // paint). Returns a handle, 0 when no timer could be started.
    virtual std::intptr_t startTimer(void* view, int identifier, int periodMs) = 0;
    virtual void stopTimer(std::intptr_t handle) = 0;

    // Message boxes with the localised text of the message table in the
    // current language and the caption "Tavisk".
    virtual void showMessage(int message, int language) = 0; // OK only
    virtual bool askYesNo(int message, int language) = 0;    // question icon; true on Yes

    // The main window is the foreground window.
    virtual bool isForeground() = 0;
    // The primary stylus button is held down right now.
    virtual bool stylusButtonDown() = 0;

    // The main window exists (the normal shut-down path is available).
    virtual bool hasMainWindow() = 0;
    // Asks the main window to close: the orderly end that saves everything.
    virtual void closeMainWindow() = 0;
    // Ends the process at once with the exit code (no main window yet).
    virtual void exitProcess(int code) = 0;

    // Loads a picture file named relative to the program folder (backslashes
    // stand for folder separators); null when missing or not a picture.
    virtual ImageHandle loadImage(const char* name) = 0;
    virtual void releaseImage(ImageHandle image) = 0;

    // The screen metrics the board layout reads.
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;
    // The game is shown in a resizable desktop window rather than on an emulated
    // screen: the screen metrics are then the window's view, in its logical pixels.
    virtual bool desktopLayout() { return false; }
};

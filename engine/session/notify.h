// Notifications from the engine to the main window. The shell installs the
// hook; it is null when there is no main window (tavisk-engine, tests), and
// then nothing is sent. Sending is synchronous: the call returns when the
// main thread has handled the message.
#pragma once

#include <atomic>
#include <cstdint>

constexpr unsigned EngineMovedMessage = 0x401;   // wParam 0, lParam 0: the engine played a move
constexpr unsigned IterationDoneMessage = 0x402; // wParam = depth just completed
constexpr unsigned DisambiguateMessage = 0x403;  // wParam = move, lParam = const Position*
// wParam 0, lParam 0: the worker is back in its wait (sent when idleNoticeWanted asks
// for it). The one message that is posted: the worker goes on without an answer.
constexpr unsigned WorkerIdleMessage = 0x404;

// The hook answers a message; for 0x403 it runs disambiguationNeeded on the
// main thread, which sets disambiguationFlag.
using NotifyHook = intptr_t (*)(unsigned message, intptr_t wParam, intptr_t lParam);

// The main window: null until the shell sets it.
extern std::atomic<NotifyHook> mainWindow;

// Sends the message if there is a main window; returns its answer, or 0.
intptr_t notifyMainWindow(unsigned message, intptr_t wParam, intptr_t lParam);

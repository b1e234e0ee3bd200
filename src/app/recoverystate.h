#pragma once

#include "sheets/recoverywriter.h"

#include <array>
#include <optional>

class QTimer;

// The main window's side of the recovery copies: the idle delay, the worker and what the
// status bar has already said.
struct RecoveryState {
    explicit RecoveryState(RecoveryCopies copies) : writer(std::move(copies)) {}

    RecoveryWriter writer;
    QTimer *idleTimer = nullptr;        // owned by the window
    bool failureShown = false;          // a failed copy is reported once, until one succeeds
    std::array<bool, 7> cp932Told{};    // per sheet: "Shift_JIS cannot hold this" was said
    std::optional<RecoveryWriter::Result> last; // the latest check of the current sheet
    QString heldNote;                   // a note kept back while the launcher box has the focus
};

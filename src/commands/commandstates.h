#pragma once

// Which commands can run, computed from what the window knows at one moment. One function
// decides for the menus, their shortcuts and the toolbar buttons that follow them.
namespace CommandStates {

struct Situation {
    bool hasSelection = false;     // the text box has a selection of at least one character
    bool textEmpty = true;         // the text box holds no text
    bool clipboardHasText = false;
    bool boxCanUndo = false;       // the text box's own undo has a step
    bool haveSnapshot = false;     // a rewrite left a whole-text undo snapshot
    bool hasSaveTarget = false;    // the sheet has an opened file that Ctrl+S writes to
    bool launcherHasText = false;  // the launcher box holds a command
    bool hasFileToReopen = false;  // the sheet has an opened file or a file of its own
};

struct Enabled {
    // Edit menu.
    bool undo = false;             // also toolbar button 13
    bool cut = false, copy = false, del = false;
    bool quoteCopy = false;        // quote and copy
    bool quoteSelection = false;   // add quote marks to the selection
    bool paste = false, quotePaste = false;
    bool selectAll = false, find = false;
    // Conversion menu: every conversion item.
    bool convert = false;
    // File menu.
    bool saveToOpened = false;     // Ctrl+S
    bool saveSelection = false;
    bool reopen = false;           // every item of the reopen menu, and the menu
    // The launcher's run button (Ctrl+R runs whatever the box holds).
    bool runLauncher = false;
};

Enabled enabled(const Situation &s);

} // namespace CommandStates

#include "commands/commandstates.h"

namespace CommandStates {

Enabled enabled(const Situation &s)
{
    Enabled e;
    e.undo = s.boxCanUndo || s.haveSnapshot;
    e.cut = e.copy = e.del = e.quoteCopy = e.quoteSelection = s.hasSelection;
    e.paste = e.quotePaste = s.clipboardHasText;
    e.selectAll = e.find = !s.textEmpty;
    e.convert = s.hasSelection;
    e.saveToOpened = s.hasSaveTarget;
    e.saveSelection = s.hasSelection;
    e.reopen = s.hasFileToReopen;
    e.runLauncher = s.launcherHasText;
    return e;
}

} // namespace CommandStates

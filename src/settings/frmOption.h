#pragma once

#include "settings/holders.h"

#include <QDialog>
#include <functional>

class CommonDialog;
class SettingsStore;

// Built as the dialog idiom in find/Find.h describes.
// The modal options dialog: the settings holders on four pages. It works on a copy of the
// holders and hands every applied state back through Env::apply; only the input-method key
// goes to the store at once.
class frmOption final : public QDialog {
    Q_OBJECT
public:
    enum Page { EnvironmentPage = 0, TabPage = 1, LauncherPage = 2, VersionPage = 3 };

    struct Env {
        Holders holders;                              // the main window's holders, copied
        SettingsStore *settings = nullptr;            // apply writes "IME"/"IME" here at once
        CommonDialog *commonDialog = nullptr;         // the font, colour and program pickers
        std::function<void(const Holders &)> apply;   // the main window takes applied holders
        QString version;                              // the program's version, "1.1.0"
    };

    frmOption(Env env, QWidget *owner);

    void selectPage(int page);
    int currentPage() const;
    // The holders as last applied (the copy given, before any apply).
    const Holders &holders() const;
};

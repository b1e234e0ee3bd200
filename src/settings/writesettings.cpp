// The exit writer: every holder back into the store, then the end.
#include "app/TabStrip.h"
#include "app/frmMain.h"
#include "launcher/LauncherController.h"
#include "phrases/DateController.h"
#include "settings/OptionsController.h"
#include "platform/dialogs.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QDir>
#include <QTimer>

void frmMain::WriteSettings()
{
    using namespace SettingsKeys;
    using SettingsText::fromNumber;
    SettingsStore &s = *env_.settings;

    // The date dialog's phrase list is the user's data: let it write its file before the end.
    dates_->closeDialog();

    const bool normalState = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const int left = windowLeft(), top = windowTop(), width = windowWidth(), height = windowHeight();
    hide();
    if (normalState) {
        s.write(Left, fromNumber(left));
        s.write(Top, fromNumber(top));
        s.write(Width, fromNumber(width));
        s.write(Height, fromNumber(height));
    }
    s.write(CurrentSheet, sheets_->caption());
    options_->save(s);
    launcher_->save(s);
    for (int sheet = 1; sheet <= SheetSession::SheetCount; ++sheet)
        s.write(OpenFile, sheets_->openedFile(sheet), sheet - 1);

    if (!s.sync() && !sessionEnding_)
        msgBox(QStringLiteral("%1 に書き込めません。").arg(QDir::toNativeSeparators(s.location())),
               MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);

    Timer1->stop();
    running_ = false;
    ending_ = true;
    if (env_.endProgram)
        env_.endProgram();
}

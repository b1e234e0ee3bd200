// The exit writer: every holder back into the store, in a fixed order, then the end.
#include "app/TabStrip.h"
#include "app/TextBox.h"
#include "app/frmMain.h"
#include "commands/clsText1.h"
#include "phrases/frmDate.h"
#include "platform/dialogs.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QComboBox>
#include <QDir>
#include <QTimer>

void frmMain::WriteSettings()
{
    using namespace SettingsText;
    SettingsStore &s = *env_.settings;
    const QString q7 = QStringLiteral("q7");
    const QString sizeSection = QStringLiteral("Size");

    // The date dialog's phrase list is the user's data: let it write its file before the end.
    if (frmDate_)
        frmDate_->close();

    const bool normalState = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const int left = windowLeft(), top = windowTop(), width = windowWidth(), height = windowHeight();
    hide();
    if (normalState) {
        s.WriteSetting(sizeSection, QStringLiteral("Left"), fromNumber(left));
        s.WriteSetting(sizeSection, QStringLiteral("Top"), fromNumber(top));
        s.WriteSetting(sizeSection, QStringLiteral("Width"), fromNumber(width));
        s.WriteSetting(sizeSection, QStringLiteral("Height"), fromNumber(height));
    }
    s.WriteSetting(q7, QStringLiteral("File"), label2_);

    const QFont font = Text1->font();
    s.WriteSetting(q7, QStringLiteral("FontName"), font.family());
    s.WriteSetting(q7, QStringLiteral("FontSize"), fromNumber(font.pointSizeF()));
    s.WriteSetting(q7, QStringLiteral("FontColor"), fromColour(Text1->ForeColor()));
    s.WriteSetting(q7, QStringLiteral("BackColor"), fromColour(Text1->BackColor()));
    s.WriteSetting(q7, QStringLiteral("FontB"), fromBool(font.bold()));
    s.WriteSetting(q7, QStringLiteral("FontI"), fromBool(font.italic()));

    s.WriteSetting(QStringLiteral("IME"), QStringLiteral("IME"), Label1[0]);
    s.WriteSetting(sizeSection, QStringLiteral("Size1"), Label1[1]);
    s.WriteSetting(sizeSection, QStringLiteral("Size2"), Label1[2]);
    s.WriteSetting(q7, QStringLiteral("Inyouhu"), Label1[3]);

    const QFont tabFont = TabStrip1->tabFont();
    s.WriteSetting(q7, QStringLiteral("XXX"), tabFont.family());
    s.WriteSetting(q7, QStringLiteral("XXXX"), fromTabFontSize(tabFont.pointSizeF()));
    s.WriteSetting(q7, QStringLiteral("X"), fromBool(tabFont.bold()));
    s.WriteSetting(q7, QStringLiteral("XX"), fromBool(tabFont.italic()));

    for (int i = 0; i < 3; ++i) {
        s.WriteSetting(QStringLiteral("Launch"), QStringLiteral("Bar%1").arg(i), Label1[4 + i]);
        s.WriteSetting(QStringLiteral("Launch"), QStringLiteral("Name%1").arg(i), Label1[7 + i]);
    }
    // All ten, so that entries that dropped out of the history are cleared in the store.
    for (int i = 0; i < 10; ++i)
        s.WriteSetting(QStringLiteral("Launch"), QStringLiteral("CMD%1").arg(i),
                       i < Combo1->count() ? Combo1->itemText(i) : QString());
    for (int k = 0; k < SheetCount; ++k) {
        s.WriteSetting(QStringLiteral("Open"), QStringLiteral("File%1").arg(k), lblRealFile[k]);
        s.WriteSetting(q7, QStringLiteral("q%1").arg(k + 1), TabStrip1->caption(k + 1));
    }

    if (!s.sync() && !sessionEnding_)
        msgBox(QStringLiteral("%1 に書き込めません。").arg(QDir::toNativeSeparators(s.location())),
               MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);

    Timer1->stop();
    textAdapter_.reset();
    ending_ = true;
    if (env_.endProgram)
        env_.endProgram();
}

// Recovery copies of unsaved text: written once typing pauses, offered back at the next start,
// removed when the sheet's file gets the text; and the encoding a sheet will be written in.
#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "app/recoverystate.h"
#include "platform/dialogs.h"
#include "launcher/LauncherController.h"
#include "sheets/encodingname.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace {

constexpr int NoteMs = 15000;

QString sheetName(int sheet)
{
    return QStringLiteral("シート %1").arg(sheet);
}

} // namespace

void frmMain::createRecovery()
{
    const QString stateDir = env_.stateDir.isEmpty() ? RecoveryCopies::defaultStateDir() : env_.stateDir;
    recovery_ = std::make_unique<RecoveryState>(RecoveryCopies(env_.programDir, stateDir));
    connect(&recovery_->writer, &RecoveryWriter::finished, this, &frmMain::recoveryCheckDone);
    recovery_->idleTimer = new QTimer(this);
    recovery_->idleTimer->setObjectName(QStringLiteral("recoveryTimer"));
    recovery_->idleTimer->setSingleShot(true);
    recovery_->idleTimer->setInterval(env_.idleDelayMs);
    connect(recovery_->idleTimer, &QTimer::timeout, this, &frmMain::recoveryTimer_Timer);
}

void frmMain::restoreRecoveryCopies()
{
    const RecoveryCopies &copies = recovery_->writer.copies();
    const QList<int> found = copies.sheets();
    if (found.isEmpty())
        return;
    QStringList names;
    for (int n : found)
        names << sheetName(n);
    const int answer = msgBox(QStringLiteral("前回終了時に保存されていない内容があります（%1）。復元しますか？").arg(names.join(QStringLiteral(", "))),
                              MsgBoxStyle::YesNo | MsgBoxStyle::Question, AppTitle);
    // A session that ends while asking has answered nothing: the copies wait for the next start.
    if (ending_ || sessionEnding_)
        return;
    for (int n : found) {
        if (answer == MsgBoxResult::Yes) {
            // A copy that cannot be read or put into its file stays for the next start.
            const TextFile::ReadResult read = copies.read(n);
            if (!read.ok) {
                msgBox(TextFile::readFailureMessage(read), MsgBoxStyle::OKOnly, AppTitle);
                continue;
            }
            const QString path = sheets_->sheetFilePath(n);
            const TextFile::WriteResult written = TextFile::write(path, read.text, TextFile::LineEndPolicy::CrLf, read.variants);
            if (!written.ok) {
                msgBox(TextFile::writeFailureMessage(path, written.error), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
                continue;
            }
        }
        copies.remove(n);
    }
}

void frmMain::restartRecoveryDelay()
{
    // Another sheet is shown: what was said of the last one no longer holds.
    if (recovery_->last && recovery_->last->sheet != sheets_->currentSheet()) {
        recovery_->last.reset();
        StatusPanel[2]->setToolTip(QString());
    }
    recovery_->idleTimer->start();
}

void frmMain::recoveryTimer_Timer()
{
    if (ending_)
        return;
    // Halfway through a long edit the text is neither the old nor the new: wait for its end.
    if (inLongEdit()) {
        recovery_->idleTimer->start();
        return;
    }
    const int sheet = sheets_->currentSheet();
    recovery_->writer.post({sheet, Text1->Text(), sheets_->sheetFilePath(sheet), sheets_->openedFile(sheet),
                            sheets_->changed(), sheets_->variants(sheet)});
}

void frmMain::recoveryCheckDone(const RecoveryWriter::Result &result)
{
    if (ending_ || result.sheet != sheets_->currentSheet())
        return;
    recovery_->last = result;
    if (!recovery_->heldNote.isEmpty())
        noteOnStatusBar(std::exchange(recovery_->heldNote, QString()));
    QString tip = QStringLiteral("保存時の文字コード: ") + encodingName(result.sheetEncoding);
    if (result.openedEncoding)
        tip += QStringLiteral("\n開いたファイル: ") + encodingName(*result.openedEncoding);
    StatusPanel[2]->setToolTip(tip);

    if (result.copyTried && !result.copy.ok && !recovery_->failureShown) {
        recovery_->failureShown = true;
        noteOnStatusBar(QStringLiteral("%1 の復元用コピーを書き込めません。%2").arg(sheetName(result.sheet), result.copy.error));
    } else if (result.copy.ok) {
        recovery_->failureShown = false;
    }
    if (result.preferred == TextCodec::Encoding::Cp932)
        tellUnicodeOnly(result.sheet, result.sheetEncoding != TextCodec::Encoding::Cp932);
}

void frmMain::tellUnicodeOnly(int sheet, bool beyondCp932)
{
    bool &told = recovery_->cp932Told.at(sheet - 1);
    if (beyondCp932 && !told)
        noteOnStatusBar(QStringLiteral("%1 には Shift_JIS で表せない文字があります。UTF-8 で保存します。").arg(sheetName(sheet)));
    told = beyondCp932;
}

void frmMain::recoverySheetSaved(const TextFile::WriteResult &written)
{
    const int sheet = sheets_->currentSheet();
    // Typing and the save may both come before the idle check: say it now, once.
    if (recovery_->last && recovery_->last->sheet == sheet && recovery_->last->preferred == TextCodec::Encoding::Cp932)
        tellUnicodeOnly(sheet, written.encoding != TextCodec::Encoding::Cp932);
    dropRecoveryCopy();
}

void frmMain::dropRecoveryCopy()
{
    const int sheet = sheets_->currentSheet();
    recovery_->writer.cancel(sheet);
    recovery_->writer.copies().remove(sheet);
}

void frmMain::endRecovery(bool keepCopy)
{
    recovery_->idleTimer->stop();
    const int sheet = sheets_->currentSheet();
    recovery_->writer.cancel(sheet);
    if (!keepCopy) {
        recovery_->writer.copies().remove(sheet);
        return;
    }
    // Nothing else can keep this text now; a failure has nobody left to tell.
    recovery_->writer.copies().write(sheet, Text1->Text(),
                                     TextFile::preferredEncoding(sheets_->sheetFilePath(sheet)), sheets_->variants(sheet));
}

void frmMain::noteOnStatusBar(const QString &text)
{
    // The whole bar for a while: the panels are too narrow for a sentence. The message hides the
    // launcher box, so while the user types there it waits for the next check.
    if (launcher_->hasFocus()) {
        recovery_->heldNote = text;
        return;
    }
    StatusBar1->showMessage(text, NoteMs);
}

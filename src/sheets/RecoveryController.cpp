#include "sheets/RecoveryController.h"

#include "editor/TextBox.h"
#include "editor/WindowHost.h"
#include "platform/dialogs.h"
#include "sheets/encodingname.h"

#include <QStringList>
#include <QTimer>

namespace {

QString sheetName(int sheet)
{
    return QStringLiteral("シート %1").arg(sheet);
}

} // namespace

RecoveryController::RecoveryController(WindowHost &host, SheetSession &sheets, const QString &programDir,
                                       const QString &stateDir, int idleDelayMs, QObject *parent)
    : QObject(parent)
    , host_(host)
    , sheets_(sheets)
    , writer_(RecoveryCopies(programDir, stateDir.isEmpty() ? RecoveryCopies::defaultStateDir() : stateDir))
    , idleTimer_(new QTimer(this))
{
    connect(&writer_, &RecoveryWriter::finished, this, &RecoveryController::onChecked);
    idleTimer_->setObjectName(QStringLiteral("idleTimer"));
    idleTimer_->setSingleShot(true);
    idleTimer_->setInterval(idleDelayMs);
    connect(idleTimer_, &QTimer::timeout, this, &RecoveryController::onIdle);
}

void RecoveryController::restore()
{
    const RecoveryCopies &copies = writer_.copies();
    const QList<int> found = copies.sheets();
    if (found.isEmpty())
        return;
    QStringList names;
    for (int n : found)
        names << sheetName(n);
    asking_ = true;
    const QMessageBox::StandardButton answer = host_.ask(QStringLiteral("前回終了時に保存されていない内容があります（%1）。復元しますか？").arg(names.join(QStringLiteral(", "))),
                                 {QMessageBox::Question, QMessageBox::Yes | QMessageBox::No}, AppTitle);
    asking_ = false;
    // A session that ends while asking has answered nothing: the copies wait for the next start.
    if (ended_)
        return;
    for (int n : found) {
        if (answer == QMessageBox::Yes) {
            // A copy that cannot be read or put into its file stays for the next start.
            const TextFile::ReadResult read = copies.read(n);
            if (!read.ok) {
                host_.ask(TextFile::readFailureMessage(read), {}, AppTitle);
                continue;
            }
            const QString path = sheets_.sheetFilePath(n);
            const TextFile::WriteResult written = TextFile::write(path, read.text, TextFile::LineEndPolicy::CrLf, read.variants);
            if (!written.ok) {
                host_.ask(TextFile::writeFailureMessage(path, written.error), {QMessageBox::Warning}, AppTitle);
                unwritten_.at(n - 1) = read;
                continue;
            }
        }
        copies.remove(n);
    }
}

void RecoveryController::sheetShown()
{
    std::optional<TextFile::ReadResult> &restored = unwritten_.at(sheets_.currentSheet() - 1);
    if (!restored)
        return;
    // Its copy stays until the sheet's file takes the text at a save point.
    host_.editor()->setText(restored->text);
    sheets_.setVariants(sheets_.currentSheet(), restored->variants);
    sheets_.setChanged(true);
    restored.reset();
}

void RecoveryController::textChanged()
{
    // Another sheet is shown: what was said of the last one no longer holds.
    if (last_ && last_->sheet != sheets_.currentSheet()) {
        last_.reset();
        emit encodingTipChanged(QString());
    }
    idleTimer_->start();
}

void RecoveryController::onIdle()
{
    if (ended_)
        return;
    // Halfway through a long edit the text is neither the old nor the new: wait for its end.
    if (host_.inLongEdit()) {
        idleTimer_->start();
        return;
    }
    const int sheet = sheets_.currentSheet();
    writer_.post({sheet, host_.editor()->Text(), sheets_.sheetFilePath(sheet), sheets_.openedFile(sheet),
                  sheets_.changed(), sheets_.variants(sheet)});
}

void RecoveryController::onChecked(const RecoveryWriter::Result &result)
{
    if (ended_ || result.sheet != sheets_.currentSheet())
        return;
    last_ = result;
    QString tip = QStringLiteral("保存時の文字コード: ") + encodingName(result.sheetEncoding);
    if (result.openedEncoding)
        tip += QStringLiteral("\n開いたファイル: ") + encodingName(*result.openedEncoding);
    emit encodingTipChanged(tip);

    if (result.copyTried && !result.copy.ok && !failureTold_) {
        failureTold_ = true;
        host_.note(QStringLiteral("%1 の復元用コピーを書き込めません。%2").arg(sheetName(result.sheet), result.copy.error));
    } else if (result.copy.ok) {
        failureTold_ = false;
    }
    if (result.preferred == TextCodec::Encoding::Cp932)
        tellBeyondCp932(result.sheet, result.sheetEncoding != TextCodec::Encoding::Cp932);
}

void RecoveryController::tellBeyondCp932(int sheet, bool beyondCp932)
{
    bool &told = beyondCp932Told_.at(sheet - 1);
    if (beyondCp932 && !told)
        host_.note(QStringLiteral("%1 には Shift_JIS で表せない文字があります。UTF-8 で保存します。").arg(sheetName(sheet)));
    told = beyondCp932;
}

void RecoveryController::sheetSaved(const TextFile::WriteResult &written)
{
    const int sheet = sheets_.currentSheet();
    // Typing and the save may both come before the idle check: say it now, once.
    if (last_ && last_->sheet == sheet && last_->preferred == TextCodec::Encoding::Cp932)
        tellBeyondCp932(sheet, written.encoding != TextCodec::Encoding::Cp932);
    writer_.cancel(sheet);
    writer_.copies().remove(sheet);
}

void RecoveryController::end(bool keepCopy)
{
    ended_ = true;
    idleTimer_->stop();
    // Ended while the start-up question is open: no sheet shows its text yet, and every copy,
    // the current sheet's too, waits for the next start.
    if (asking_)
        return;
    const int sheet = sheets_.currentSheet();
    writer_.cancel(sheet);
    if (!keepCopy) {
        writer_.copies().remove(sheet);
        return;
    }
    // Nothing else can keep this text now; a failure has nobody left to tell.
    writer_.copies().write(sheet, host_.editor()->Text(), TextFile::preferredEncoding(sheets_.sheetFilePath(sheet)),
                           sheets_.variants(sheet));
}

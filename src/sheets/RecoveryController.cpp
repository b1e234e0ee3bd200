#include "sheets/RecoveryController.h"

#include "editor/TextBox.h"
#include "editor/WindowHost.h"
#include "platform/dialogs.h"
#include "sheets/encodingname.h"

#include <QStringList>
#include <QTextDocument>
#include <QTimer>

namespace {

// So many edits replayed over a large text at a restore would take long: a new copy instead.
constexpr int MaxRecords = 256;
constexpr qint64 MinJournalLimit = 4096;

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
    connect(host_.editor()->document(), &QTextDocument::contentsChange, this, &RecoveryController::onContentsChange);
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
    journal_ = {};
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
    if (!sheets_.changed()) {
        check(sheet, false);
        return;
    }
    if (journal_.sheet == sheet && !journal_.changed)
        return;
    if (std::optional<RecoveryJournal::Record> edit = journalEdit(sheet)) {
        RecoveryWriter::Job job{sheet, {}, sheets_.sheetFilePath(sheet), sheets_.openedFile(sheet), true, {}, std::move(edit)};
        writer_.post(std::move(job));
        return;
    }
    check(sheet, true);
}

void RecoveryController::check(int sheet, bool writeCopy)
{
    const QString text = host_.editor()->Text();
    writer_.post({sheet, text, sheets_.sheetFilePath(sheet), sheets_.openedFile(sheet), writeCopy, sheets_.variants(sheet), {}});
    if (writeCopy)
        journal_ = {sheet, text.size(), RecoveryJournal::HeaderBytes, 0, std::nullopt};
}

void RecoveryController::onContentsChange(int position, int removed, int added)
{
    std::optional<std::pair<int, int>> &span = journal_.changed;
    if (!span) {
        span = {position, position + added};
        return;
    }
    // The stretch's end moves with the text after the change, or is swallowed by it.
    const int end = span->second;
    const int moved = end <= position ? end : end >= position + removed ? end + added - removed : position + added;
    span = {qMin(span->first, position), qMax(moved, position + added)};
}

std::optional<RecoveryJournal::Record> RecoveryController::journalEdit(int sheet)
{
    if (journal_.sheet != sheet || !journal_.changed)
        return std::nullopt;
    const TextBox &box = *host_.editor();
    const int last = box.document()->characterCount() - 1;
    const int from = qBound(0, journal_.changed->first, last);
    const int to = qBound(from, journal_.changed->second, last);
    // Everything outside the stretch is as it was: the numbers are exact, unless the changes
    // were not all seen.
    const qsizetype start = box.toModel(from), end = box.toModel(to), length = box.toModel(last);
    const qsizetype removed = journal_.length - (length - end) - start;
    if (start < 0 || end < start || end > length || removed < 0 || start + removed > journal_.length)
        return std::nullopt;
    RecoveryJournal::Record edit{start, removed, length, box.textBetween(from, to)};
    // Edits larger than the text (as UTF-16) would cost more to keep than a new copy; a small
    // text's journal may still take a few words.
    const qint64 size = journal_.size + RecoveryJournal::recordBytes(edit.inserted.size());
    if (journal_.records >= MaxRecords || size - RecoveryJournal::HeaderBytes > qMax(2 * qint64(length), MinJournalLimit))
        return std::nullopt;
    journal_.length = length;
    journal_.size = size;
    ++journal_.records;
    journal_.changed.reset();
    return edit;
}

void RecoveryController::onChecked(const RecoveryWriter::Result &result)
{
    if (ended_ || result.sheet != sheets_.currentSheet())
        return;
    if (!result.journal && journal_.sheet == result.sheet) {
        // The edits since the copy have nowhere to go: the whole text must, at once when an
        // edit could not be appended, else at the next pause.
        journal_.sheet = 0;
        if (!result.copyTried && sheets_.changed()) {
            check(result.sheet, true);
            return;
        }
    }
    if (!result.checked) {
        // Only the whole text tells the encodings now.
        check(result.sheet, false);
        return;
    }
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
    journal_ = {};
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

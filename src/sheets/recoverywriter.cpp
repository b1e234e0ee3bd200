#include "sheets/recoverywriter.h"

using TextCodec::Encoding;

namespace {

// What a file's write would start from, read again only when it is another file or changed.
void refresh(RecoveryWriter::Memory::File &file, const QString &path)
{
    if (path.isEmpty()) {
        file = {};
        return;
    }
    const TextFile::DiskStamp stamp = TextFile::stampOf(path);
    if (file.path == path && stamp.known && file.stamp == stamp)
        return;
    file = {path, stamp, TextFile::preferredEncoding(path)};
}

// The checks the encodings of these files need, those already made kept.
void keepChecksFor(std::vector<UnfitChars> &unfit, std::initializer_list<Encoding> preferred)
{
    std::vector<UnfitChars> kept;
    for (const Encoding e : preferred) {
        if (!UnfitChars::tracks(e) || std::any_of(kept.begin(), kept.end(), [e](const UnfitChars &u) { return u.encoding() == e; }))
            continue;
        const auto had = std::find_if(unfit.begin(), unfit.end(), [e](const UnfitChars &u) { return u.encoding() == e; });
        kept.push_back(had != unfit.end() ? *had : UnfitChars(e));
    }
    unfit = std::move(kept);
}

// The encoding a write would choose from preferred; nothing when only the whole text can tell
// and text is null.
std::optional<Encoding> chosenEncoding(const QString &text, Encoding preferred, const std::vector<UnfitChars> &unfit)
{
    if (UnfitChars::tracks(preferred)) {
        const auto check = std::find_if(unfit.begin(), unfit.end(), [preferred](const UnfitChars &u) { return u.encoding() == preferred; });
        const std::optional<bool> fits = check->fits();
        if (!fits)
            return std::nullopt;
        return *fits ? preferred : Encoding::Utf8Bom;
    }
    if (preferred == Encoding::Utf16LeNoBom || preferred == Encoding::Utf16BeNoBom) {
        // Whether it stays recognisable depends on the whole text.
        if (text.isNull())
            return std::nullopt;
        Encoding used = preferred;
        TextCodec::encodePreferring(text, preferred, &used);
        return used;
    }
    return preferred;
}

} // namespace

RecoveryWriter::RecoveryWriter(RecoveryCopies copies, QObject *parent)
    : QObject(parent)
    , copies_(std::move(copies))
{
    pool_.setMaxThreadCount(1);
}

RecoveryWriter::~RecoveryWriter()
{
    pool_.waitForDone();
}

void RecoveryWriter::post(Job job)
{
    // The whole text makes what waits of the same sheet needless; an edit must wait its turn.
    if (!job.edit)
        std::erase_if(waiting_, [&job](const Job &w) { return w.sheet == job.sheet && (job.writeCopy || !w.writeCopy); });
    if (running_)
        waiting_.push_back(std::move(job));
    else
        start(std::move(job));
}

void RecoveryWriter::cancel(int sheet)
{
    std::erase_if(waiting_, [sheet](const Job &w) { return w.sheet == sheet; });
    pool_.waitForDone();
}

void RecoveryWriter::start(Job job)
{
    running_ = true;
    pool_.start([this, job = std::move(job)] {
        const Result result = run(copies_, job, memory_);
        // Back on this object's thread; dropped if the object is gone by then.
        QMetaObject::invokeMethod(this, [this, result] { done(result); }, Qt::QueuedConnection);
    });
}

void RecoveryWriter::done(const Result &result)
{
    running_ = false;
    if (!waiting_.empty()) {
        Job next = std::move(waiting_.front());
        waiting_.pop_front();
        start(std::move(next));
    }
    emit finished(result);
}

RecoveryWriter::Result RecoveryWriter::run(const RecoveryCopies &copies, const Job &job, Memory &memory)
{
    if (memory.sheet != job.sheet) {
        memory = {};
        memory.sheet = job.sheet;
    }
    refresh(memory.sheetFile, job.sheetPath);
    refresh(memory.openedFile, job.openedPath);
    Result r;
    r.sheet = job.sheet;
    r.preferred = memory.sheetFile.preferred;
    const bool opened = !job.openedPath.isEmpty();
    const Encoding openedPreferred = opened ? memory.openedFile.preferred : r.preferred;
    keepChecksFor(memory.unfit, {r.preferred, openedPreferred});

    if (job.writeCopy && job.edit) {
        const QByteArray record = RecoveryJournal::record(*job.edit);
        // Without its journal (a write failed, the copy went or another took its place) the edit
        // waits for a whole copy.
        if (!memory.journalPath.isEmpty() && RecoveryCopies::journalPath(copies.path(job.sheet)) == memory.journalPath
            && RecoveryJournal::append(memory.journalPath, record, memory.journalSize))
            memory.journalSize += record.size();
        else
            memory.journalPath.clear();
    } else if (job.writeCopy) {
        r.copyTried = true;
        r.copy = copies.write(job.sheet, job.text, r.preferred, job.variants);
        memory.journalPath = r.copy.ok && r.copy.journal ? RecoveryCopies::journalPath(r.copy.path) : QString();
        memory.journalSize = RecoveryJournal::HeaderBytes;
    }
    r.journal = !memory.journalPath.isEmpty();

    for (UnfitChars &unfit : memory.unfit) {
        if (job.edit)
            unfit.edit(job.edit->position, job.edit->removed, job.edit->inserted);
        else
            unfit.scan(job.text, r.copy.ok && unfit.encoding() == r.preferred && r.copy.encoding == r.preferred);
    }
    const std::optional<Encoding> sheetEncoding = chosenEncoding(job.text, r.preferred, memory.unfit);
    if (opened)
        r.openedEncoding = chosenEncoding(job.text, openedPreferred, memory.unfit);
    r.checked = sheetEncoding && (!opened || r.openedEncoding);
    r.sheetEncoding = sheetEncoding.value_or(r.preferred);
    return r;
}

#include "sheets/recoverywriter.h"

using TextCodec::Encoding;

namespace {

// The encoding a write of text would choose from preferred; fitsCp932 remembers the one
// linear check that CP932 needs, for a second file of the same text.
Encoding chosenEncoding(const QString &text, Encoding preferred, std::optional<bool> &fitsCp932)
{
    switch (preferred) {
    case Encoding::Cp932:
        if (!fitsCp932) {
            Encoding used = Encoding::Cp932;
            TextCodec::encodePreferring(text, Encoding::Cp932, &used);
            fitsCp932 = used == Encoding::Cp932;
        }
        return *fitsCp932 ? Encoding::Cp932 : Encoding::Utf8Bom;
    case Encoding::EucJp:
    case Encoding::Iso2022Jp:
    case Encoding::Utf16LeNoBom:
    case Encoding::Utf16BeNoBom: {
        Encoding used = preferred;
        TextCodec::encodePreferring(text, preferred, &used);
        return used;
    }
    default:
        return preferred;
    }
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
    if (running_)
        waiting_ = std::move(job);
    else
        start(std::move(job));
}

void RecoveryWriter::cancel(int sheet)
{
    if (waiting_ && waiting_->sheet == sheet)
        waiting_.reset();
    pool_.waitForDone();
}

void RecoveryWriter::start(Job job)
{
    running_ = true;
    pool_.start([this, job = std::move(job)] {
        const Result result = run(copies_, job);
        // Back on this object's thread; dropped if the object is gone by then.
        QMetaObject::invokeMethod(this, [this, result] { done(result); }, Qt::QueuedConnection);
    });
}

void RecoveryWriter::done(const Result &result)
{
    running_ = false;
    if (waiting_)
        start(*std::exchange(waiting_, std::nullopt));
    emit finished(result);
}

RecoveryWriter::Result RecoveryWriter::run(const RecoveryCopies &copies, const Job &job)
{
    Result r;
    r.sheet = job.sheet;
    r.preferred = TextFile::preferredEncoding(job.sheetPath);
    std::optional<bool> fitsCp932;
    if (job.writeCopy) {
        r.copyTried = true;
        r.copy = copies.write(job.sheet, job.text, r.preferred, job.variants);
    }
    if (r.copy.ok) {
        r.sheetEncoding = r.copy.encoding;
        if (r.preferred == Encoding::Cp932)
            fitsCp932 = r.copy.encoding == Encoding::Cp932;
    } else {
        r.sheetEncoding = chosenEncoding(job.text, r.preferred, fitsCp932);
    }
    if (!job.openedPath.isEmpty())
        r.openedEncoding = chosenEncoding(job.text, TextFile::preferredEncoding(job.openedPath), fitsCp932);
    return r;
}

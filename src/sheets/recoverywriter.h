#pragma once

#include "sheets/recoverycopies.h"
#include "sheets/unfitchars.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <deque>
#include <optional>

// The work done once typing pauses, off the user-interface thread so that a large sheet never
// holds up the keyboard: which encoding the sheet's file (and the file opened into it) would
// be written in, and, while the sheet has unsaved changes, its recovery copy: the whole text
// when there is no copy to add to, else the pause's edit appended to the copy's journal.
// One job runs at a time, in the order asked; a job with the whole text makes those of the same
// sheet that wait before it needless, so copies never pile up.
class RecoveryWriter final : public QObject {
    Q_OBJECT
public:
    struct Job {
        int sheet = 1;
        QString text;        // the whole text (an implicitly shared copy); null with an edit
        QString sheetPath;   // the sheet's own file
        QString openedPath;  // the file opened into the sheet; empty when none
        bool writeCopy = false;
        Cp932Variants variants; // the codes the sheet's file uses, so that its copy does too
        std::optional<RecoveryJournal::Record> edit; // instead of the text: what changed since the last job
    };
    struct Result {
        int sheet = 1;
        bool checked = false; // the encodings below are known: false after an edit whose check needs the whole text
        TextCodec::Encoding preferred = TextCodec::Encoding::Cp932; // the sheet file's own
        TextCodec::Encoding sheetEncoding = TextCodec::Encoding::Cp932; // what its write would use
        std::optional<TextCodec::Encoding> openedEncoding;
        bool copyTried = false;
        RecoveryCopies::WriteResult copy;
        bool journal = false; // the sheet's copy has a journal that takes the next edit
    };
    // What the jobs of the current sheet learnt, for the next one: the journal, the files'
    // encodings and where the text does not fit them.
    struct Memory {
        struct File {
            QString path;
            TextFile::DiskStamp stamp;
            TextCodec::Encoding preferred = TextCodec::Encoding::Cp932;
        };
        int sheet = 0;
        QString journalPath; // empty when there is none to add to
        qint64 journalSize = 0;
        File sheetFile, openedFile;
        std::vector<UnfitChars> unfit; // one per encoding that a write would check
    };

    explicit RecoveryWriter(RecoveryCopies copies, QObject *parent = nullptr);
    ~RecoveryWriter() override;

    const RecoveryCopies &copies() const { return copies_; }
    void post(Job job);
    // Drops the waiting jobs of sheet and waits for the running one, so that nothing writes
    // sheet's copy after this returns.
    void cancel(int sheet);

    // The job itself, as the worker runs it.
    static Result run(const RecoveryCopies &copies, const Job &job, Memory &memory);

signals:
    void finished(const RecoveryWriter::Result &result);

private:
    void start(Job job);
    void done(const Result &result);

    RecoveryCopies copies_;
    QThreadPool pool_;
    bool running_ = false;
    std::deque<Job> waiting_;
    Memory memory_; // the worker's alone
};

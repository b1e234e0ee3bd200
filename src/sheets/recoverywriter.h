#pragma once

#include "sheets/recoverycopies.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <optional>

// The work done once typing pauses, off the user-interface thread so that a large sheet never
// holds up the keyboard: which encoding the sheet's file (and the file opened into it) would
// be written in, and, while the sheet has unsaved changes, its recovery copy. One job runs at a
// time; while it runs, only the latest job asked for waits, so copies never pile up.
class RecoveryWriter final : public QObject {
    Q_OBJECT
public:
    struct Job {
        int sheet = 1;
        QString text;        // an implicitly shared copy: the box's text is not copied
        QString sheetPath;   // the sheet's own file
        QString openedPath;  // the file opened into the sheet; empty when none
        bool writeCopy = false;
        Cp932Variants variants; // the codes the sheet's file uses, so that its copy does too
    };
    struct Result {
        int sheet = 1;
        TextCodec::Encoding preferred = TextCodec::Encoding::Cp932; // the sheet file's own
        TextCodec::Encoding sheetEncoding = TextCodec::Encoding::Cp932; // what its write would use
        std::optional<TextCodec::Encoding> openedEncoding;
        bool copyTried = false;
        RecoveryCopies::WriteResult copy;
    };

    explicit RecoveryWriter(RecoveryCopies copies, QObject *parent = nullptr);
    ~RecoveryWriter() override;

    const RecoveryCopies &copies() const { return copies_; }
    void post(Job job);
    // Drops a waiting job of sheet and waits for the running one, so that nothing writes sheet's
    // copy after this returns.
    void cancel(int sheet);

    // The job itself, as the worker runs it.
    static Result run(const RecoveryCopies &copies, const Job &job);

signals:
    void finished(const RecoveryWriter::Result &result);

private:
    void start(Job job);
    void done(const Result &result);

    RecoveryCopies copies_;
    QThreadPool pool_;
    bool running_ = false;
    std::optional<Job> waiting_;
};

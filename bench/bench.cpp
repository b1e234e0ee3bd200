// The main window on big sheets (bench_window.cpp): each operation against its floor and goal.
// --codec: reading and writing a large text through TextFile, as a ratio to moving the same
// bytes with a plain QFile, and the linearity of whole-text work; prints ratios, judges nothing.
//
//   q7bench [--quick | big-megabytes [middle-megabytes]]     (default 50 and 10)
//   q7bench --find-only MB | --replace-only MB    breakdowns to run under a profiler
//   q7bench --open-only MB [lf|crlf|cp932]        opening alone, against the bare widget (CPU too)
//   q7bench --codec [megabytes]     (default 50)

#include "bench_window.h"

#include "editor/textmodel.h"
#include "commands/quoting.h"
#include "sheets/textfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

// Lines of mixed Japanese and ASCII, like a memo file.
QString makeText(qsizetype approxBytes)
{
    const QStringList words = {
        QStringLiteral("今日は"), QStringLiteral("会議の議事録"), QStringLiteral("ＡＢＣ"),
        QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("①②③"), QStringLiteral("Meeting"),
        QStringLiteral("notes:"), QStringLiteral("12345"), QStringLiteral("東京都千代田区"),
        QStringLiteral("「引用」"), QStringLiteral("http://example.com/"), QStringLiteral("と"),
    };
    QRandomGenerator rng(1);
    QString text;
    text.reserve(approxBytes / 2 + 1024);
    qsizetype bytes = 0;
    while (bytes < approxBytes) {
        const int n = int(rng.bounded(2, 14));
        for (int k = 0; k < n; ++k) {
            const QString &w = words[rng.bounded(words.size())];
            text += w;
            text += u' ';
            bytes += w.toUtf8().size() + 1;
        }
        text += QStringLiteral("\r\n");
        bytes += 2;
    }
    text.chop(2);
    return text;
}

// Best of a few runs, in milliseconds.
double best(const std::function<void()> &run, int times = 3)
{
    double ms = 1e300;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        ms = std::min(ms, double(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

QByteArray plainRead(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void plainWrite(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// ends: the line ends of the file, which it is read with and written back with.
void measure(const char *name, const QString &file, const QString &plainFile, const QString &text,
             TextCodec::Encoding encoding, TextCodec::LineEnds ends = TextCodec::LineEnds::CrLf)
{
    const QByteArray bytes = TextCodec::encode(text + QStringLiteral("\r\n"), encoding, ends);
    plainWrite(file, bytes);
    plainWrite(plainFile, bytes);

    bool ok = true;
    const double plainR = best([&] { ok = plainRead(plainFile).size() == bytes.size() && ok; });
    const double ourR = best([&] {
        const TextFile::ReadResult r = TextFile::read(file);
        ok = r.ok && r.encoding == encoding && r.lineEnds == ends && r.text.size() == text.size() && ok;
    });
    const double plainW = best([&] { plainWrite(plainFile, bytes); });
    const double ourW = best([&] {
        const TextFile::WriteResult w = TextFile::write(file, text);
        ok = w.ok && w.encoding == encoding && w.lineEnds == ends && ok;
    });
    ok = ok && plainRead(file) == bytes;
    std::printf("%-6s %6.1f MB  read %7.1f ms / plain %6.1f ms = %5.2f   "
                "write %7.1f ms / plain %6.1f ms = %5.2f%s\n",
                name, double(bytes.size()) / 1e6, ourR, plainR, ourR / plainR, ourW, plainW,
                ourW / plainW, ok ? "" : "   (WRONG RESULT)");
}

// Whole-text work on a text and on twice that text: a ratio near 2 is linear.
void linearity(const char *name, const std::function<void(const QString &)> &work, const QString &text)
{
    const QString twice = text + text;
    const double one = best([&] { work(text); });
    const double two = best([&] { work(twice); });
    std::printf("%-24s %8.1f ms, twice the text %8.1f ms = %4.2f\n", name, one, two, two / one);
}

} // namespace

int codecRatios(qsizetype megabytes)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString text = makeText(megabytes * 1000 * 1000);
    std::printf("ratios: TextFile time / plain QFile time for the same bytes (best of 3)\n");
    measure("CP932", dir.filePath("cp932.txt"), dir.filePath("plain1"), text, TextCodec::Encoding::Cp932);
    measure("UTF-8", dir.filePath("utf8.txt"), dir.filePath("plain2"), text, TextCodec::Encoding::Utf8);
    // LF line ends: each becomes CR LF in the text on reading and LF again on writing.
    measure("LF", dir.filePath("lf.txt"), dir.filePath("plain3"), text, TextCodec::Encoding::Cp932,
            TextCodec::LineEnds::Lf);
    measure("EUC-JP", dir.filePath("eucjp.txt"), dir.filePath("plain4"), text, TextCodec::Encoding::EucJp,
            TextCodec::LineEnds::Lf);

    std::printf("\ndetection alone: time for twice the bytes / time for the bytes (best of 3)\n");
    for (const auto encoding : {TextCodec::Encoding::Cp932, TextCodec::Encoding::EucJp, TextCodec::Encoding::Utf16LeNoBom}) {
        const QByteArray bytes = TextCodec::encode(text, encoding);
        const QByteArray twice = bytes + bytes;
        bool ok = true;
        const double one = best([&] { ok = TextCodec::detect(bytes) == encoding && ok; });
        const double two = best([&] { ok = TextCodec::detect(twice) == encoding && ok; });
        std::printf("%-24s %8.1f ms, twice the bytes %8.1f ms = %4.2f%s\n",
                    qPrintable(TextCodec::statusLabel(encoding, TextCodec::LineEnds::CrLf)), one, two, two / one,
                    ok ? "" : "   (WRONG RESULT)");
    }

    std::printf("\nlinear work: time for twice the text / time for the text (best of 3)\n");
    linearity("quoting", [](const QString &t) { Quoting::quote(t, u"> "); }, text);
    // The whole text as one line: the text box shows it in pieces and gets it back.
    const QString oneLine = QString(text).remove(u'\r').remove(u'\n');
    linearity("one long line in and out", [](const QString &t) {
        const TextModel::Document d = TextModel::toDocument(t);
        TextModel::fromDocument(d.text, d.softBreaks);
    }, oneLine);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--codec") == 0)
        return codecRatios(argc > 2 ? qsizetype(std::atoi(argv[2])) : 50);
    return windowBench(argc, argv);
}

// Replace all on a large text: the one-pass replace-all against the obvious loop that edits the
// text match by match. Not a test: it prints times and a ratio and judges nothing.
//
//   q7bench_find [megabytes] [replacements] [--full]
//
// The loop moves the rest of the text at every replacement, so on the full problem it runs for
// minutes; unless --full is given it stops after a few seconds and its total is extrapolated
// from the tail lengths it has moved so far.

#include "find/search.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const QString What = QStringLiteral("検索語");
const QString With = QStringLiteral("置き換えた語");

// Lines of filler with the search string spread evenly through them.
QString makeText(qsizetype chars, qsizetype matches)
{
    const QString filler = QStringLiteral("今日の会議の議事録 Meeting notes 12345 ");
    QRandomGenerator rng(7);
    QString text;
    text.reserve(chars + 64);
    const qsizetype gap = chars / (matches + 1);
    qsizetype next = gap;
    while (text.size() < chars) {
        if (text.size() >= next && matches > 0) {
            text += What;
            --matches;
            next += gap;
        }
        text += filler[rng.bounded(filler.size())];
        if (rng.bounded(60) == 0)
            text += QStringLiteral("\r\n");
    }
    return text;
}

struct LoopRun {
    double ms;
    qsizetype done;
    bool finished;
    QString text;
};

// Replace all as an editor that only has "search" and "replace the selection" would do it.
LoopRun naiveLoop(QString t, qsizetype foundPos, double budgetMs, std::vector<qsizetype> &tails)
{
    QElapsedTimer timer;
    timer.start();
    qsizetype done = 0;
    qsizetype pos = Search::find(t, What, foundPos + 1, Qt::CaseSensitive);
    while (pos >= 1) {
        tails.push_back(t.size() - pos);
        t.replace(pos - 1, What.size(), With);
        ++done;
        pos = Search::find(t, What, pos + With.size(), Qt::CaseSensitive);
        if (budgetMs > 0 && (done & 63) == 0 && double(timer.nsecsElapsed()) / 1e6 > budgetMs)
            return {double(timer.nsecsElapsed()) / 1e6, done, false, {}};
    }
    return {double(timer.nsecsElapsed()) / 1e6, done, true, t};
}

} // namespace

int main(int argc, char **argv)
{
    const qsizetype megabytes = argc > 1 ? qsizetype(std::atoi(argv[1])) : 10;
    const qsizetype replacements = argc > 2 ? qsizetype(std::atoi(argv[2])) : 100000;
    const bool full = argc > 3 && std::strcmp(argv[3], "--full") == 0;

    const QString text = makeText(megabytes * 1000 * 1000, replacements);
    const qsizetype first = Search::find(text, What, 1, Qt::CaseSensitive);

    double linearMs = 1e300;
    Search::ReplaceAllResult r;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        // As the dialog runs it: the first match is selected and foundPos points at it.
        r = Search::replaceAll(text, first - 1, What.size(), first, What, With, Qt::CaseSensitive);
        linearMs = std::min(linearMs, double(t.nsecsElapsed()) / 1e6);
    }

    std::vector<qsizetype> tails;
    QString afterFirst = text;
    afterFirst.replace(first - 1, What.size(), With);
    const LoopRun loop = naiveLoop(afterFirst, first, full ? 0 : 3000, tails);

    double loopMs = loop.ms;
    if (!loop.finished) {
        // Each replacement costs about the length of the text behind it; the tails still to come
        // follow from the positions of the remaining matches.
        double movedSoFar = 0, movedInAll = 0;
        for (qsizetype len : tails)
            movedSoFar += double(len);
        for (qsizetype p = Search::find(afterFirst, What, first + 1, Qt::CaseSensitive); p > 0;
             p = Search::find(afterFirst, What, p + What.size(), Qt::CaseSensitive))
            movedInAll += double(afterFirst.size() - p);
        loopMs = loop.ms * movedInAll / movedSoFar;
    }

    std::printf("text %.1f M characters, %lld replacements (plus the selected match)\n",
                double(text.size()) / 1e6, static_cast<long long>(r.count));
    std::printf("one pass:   %9.1f ms (best of 3)\n", linearMs);
    std::printf("naive loop: %9.1f ms %s\n", loopMs,
                loop.finished ? "(measured)"
                              : qPrintable(QStringLiteral("(extrapolated from %1 replacements in %2 ms; --full to run it all)")
                                               .arg(loop.done)
                                               .arg(loop.ms, 0, 'f', 0)));
    std::printf("ratio naive / one pass: %.0f\n", loopMs / linearMs);
    if (loop.finished && loop.text != r.text)
        std::printf("RESULTS DIFFER\n");
    return 0;
}

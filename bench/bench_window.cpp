// The real window on big sheets: each operation as a user starts it, against a floor measured in
// the same run (what Qt and the codec alone cost for the same text), with the goal for the ratio.
// With --quick (1 MB, one run) it checks every result instead and judges no time.

#include "bench_window.h"

#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "editor/textmodel.h"
#include "app/MainWindow.h"
#include "find/FindDialog.h"
#include "find/search.h"
#include "platform/dialogs.h"
#include "settings/settingsstore.h"
#include "sheets/RecoveryController.h"
#include "sheets/recoverycopies.h"
#include "sheets/textcodec.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QAbstractTextDocumentLayout>
#include <QTemporaryDir>
#include <QTimer>
#include <QPaintEvent>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// Every message box answered with its first button, as a user clicking OK would.
class OkDialogs final : public Dialogs {
public:
    QMessageBox::StandardButton MsgBox(QWidget *, const QString &, const MessageStyle &style, const QString &) override
    {
        return style.buttons & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok;
    }
    QString InputBox(QWidget *, const QString &, const QString &) override { return {}; }
};

const QString Needle = QStringLiteral("検索語");
const QString Replacement = QStringLiteral("置換後の語");

// Japanese memo lines of 20 to 120 characters, CR LF, fixed seed; matches lines carry Needle,
// spread evenly. About bytes of CP932.
QString makeText(qsizetype bytes, qsizetype matches, quint32 seed = 15)
{
    static const QStringList words = {
        QStringLiteral("今日は"), QStringLiteral("会議の議事録"), QStringLiteral("ＡＢＣ"), QStringLiteral("ｶﾀｶﾅ"),
        QStringLiteral("東京都千代田区"), QStringLiteral("「引用」"), QStringLiteral("と"), QStringLiteral("です。"),
        QStringLiteral("予定"), QStringLiteral("12345"), QStringLiteral("memo"), QStringLiteral("ひらがな"),
        QStringLiteral("確認しました"), QStringLiteral("、"),
    };
    std::vector<qsizetype> wordBytes;
    for (const QString &w : words)
        wordBytes.push_back(TextCodec::encode(w, TextCodec::Encoding::Cp932).size());
    QRandomGenerator rng(seed);
    QString text;
    text.reserve(bytes / 2 + 256);
    qsizetype size = 0;
    while (size < bytes) {
        const int length = int(rng.bounded(20, 121));
        const qsizetype lineStart = text.size();
        while (text.size() - lineStart < length) {
            const int w = int(rng.bounded(words.size()));
            text += words[w];
            size += wordBytes[w];
        }
        text.truncate(lineStart + length);
        text += QStringLiteral("\r\n");
        size += 2;
    }
    text.chop(2); // a sheet's last line break belongs to the file, not to the text
    if (matches > 0) {
        // Needle overwrites the start of evenly spaced lines.
        const qsizetype step = text.size() / (matches + 1);
        for (qsizetype k = 1; k <= matches; ++k) {
            qsizetype at = text.indexOf(u'\n', k * step) + 1;
            if (at <= 0 || at + Needle.size() >= text.size())
                break;
            text.replace(at, Needle.size(), Needle);
        }
    }
    return text;
}

struct Result {
    const char *name;
    std::vector<double> ms;
    std::vector<double> floorMs;
    double goal;             // ratio of medians
    const char *floorName;
    bool correct = true;
    std::vector<double> stallMs = {};
    // CPU time, of every thread, where it is measured: then the goal is on it.
    std::vector<double> cpuMs = {};
    std::vector<double> floorCpuMs = {};
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The longest stretch of the last timed run in which the event loop did not turn: how long the
// window did not answer. A long edit lets events through now and then; a timer that fires at
// every turn tells when.
double lastStallMs = 0;

double timed(const std::function<void()> &run)
{
    QElapsedTimer t;
    t.start();
    qint64 lastTurn = 0;
    qint64 stall = 0;
    QTimer beat;
    beat.setInterval(0);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = t.nsecsElapsed();
        stall = std::max(stall, now - lastTurn);
        lastTurn = now;
    });
    beat.start();
    lastTurn = t.nsecsElapsed();
    run();
    const qint64 end = t.nsecsElapsed();
    lastStallMs = double(std::max(stall, end - lastTurn)) / 1e6;
    return double(end) / 1e6;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The find dialog as a user works it: the two fields typed into, its buttons clicked.
struct FindControls {
    FindDialog *dialog;
    QLineEdit *what, *with;
    QPushButton *find, *next, *replace, *replaceAll;
    void close() const { dialog->close(); }
};

// The window on a temporary program directory: sheet 1 holds the text, sheet 2 one line.
struct Window {
    QTemporaryDir dir;
    OkDialogs dialogs;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<MainWindow> w;
    TextBox *box = nullptr;

    // idleDelayMs: how long a pause in changes is before the recovery check runs (on a thread).
    explicit Window(QByteArray sheet1, int idleDelayMs = MainWindowEnv{}.idleDelayMs)
    {
        const QString prog = dir.filePath(QStringLiteral("prog"));
        QDir().mkpath(prog);
        write(prog + QStringLiteral("/q1.txt"), sheet1);
        sheet1 = QByteArray(); // only the file holds the text now
        write(prog + QStringLiteral("/q2.txt"), "a\r\n");
        store = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("config/q7Zibo.conf")));
        MainWindowEnv env;
        env.programDir = prog;
        env.settings = store.get();
        env.dialogs = &dialogs;
        env.endProgram = [] {};
        env.idleDelayMs = idleDelayMs;
        w = std::make_unique<MainWindow>(env);
        w->start();
        box = w->findChild<TextBox *>(QStringLiteral("textBox"));
        settle();
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    QString sheetPath(int n) const { return dir.filePath(QStringLiteral("prog/q%1.txt").arg(n)); }
    void trigger(const char *name) { w->findChild<QAction *>(QLatin1String(name))->trigger(); }
    void tab(int n)
    {
        w->findChild<TabStrip *>(QStringLiteral("tabStrip"))->bar()->setCurrentIndex(n - 1);
        box->viewport()->repaint();
    }
    FindControls find()
    {
        trigger("findAction");
        auto *d = w->findChild<FindDialog *>();
        const auto button = [d](const char *name) { return d->findChild<QPushButton *>(QLatin1String(name)); };
        const auto field = [d](const char *name) { return d->findChild<QLineEdit *>(QLatin1String(name)); };
        return {d, field("findEdit"), field("replaceEdit"), button("findButton"), button("findNextButton"),
                button("replaceButton"), button("replaceAllButton")};
    }
};

// The CPU time of this process so far (every thread), in milliseconds.
double cpuMs()
{
    return double(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

// A sheet file of text: UTF-8 with LF or CR LF line ends, or CP932 (with CR LF).
QByteArray sheetBytes(const QString &text, const QString &form)
{
    if (form == QStringLiteral("cp932"))
        return TextCodec::encode(text, TextCodec::Encoding::Cp932);
    const auto ends = form == QStringLiteral("crlf") ? TextCodec::LineEnds::CrLf : TextCodec::LineEnds::Lf;
    return TextCodec::encode(text, TextCodec::Encoding::Utf8, ends);
}

// What the bare widget costs to show a file: read, decoded (QString::fromUtf8, or the CP932
// converter), setPlainText, first paint; the wall time, and the CPU time in *cpu.
double bareOpen(const QString &path, bool cp932, double *cpu)
{
    QPlainTextEdit edit;
    edit.resize(800, 600);
    edit.show();
    settle();
    const double before = cpuMs();
    const double ms = timed([&] {
        const QByteArray bytes = fileBytes(path);
        edit.setPlainText(cp932 ? TextCodec::decodeAs(bytes, TextCodec::Encoding::Cp932) : QString::fromUtf8(bytes));
        edit.viewport()->repaint();
    });
    *cpu = cpuMs() - before;
    return ms;
}

// Showing the big sheet, from the small one to the first paint, against the bare widget
// showing the same file; wall and CPU time (the worker thread's included) of both.
void showSheet(Result &r, Window &w, const QString &text, bool cp932)
{
    w.tab(2);
    const double cpu = cpuMs();
    r.ms.push_back(timed([&] { w.tab(1); }));
    r.cpuMs.push_back(cpuMs() - cpu);
    r.stallMs.push_back(lastStallMs);
    r.correct = r.correct && w.box->Text() == text;
    double bareCpu = 0;
    r.floorMs.push_back(bareOpen(w.sheetPath(1), cp932, &bareCpu));
    r.floorCpuMs.push_back(bareCpu);
}

double bareSetPlainText(const QString &text)
{
    QPlainTextEdit edit;
    edit.resize(800, 600);
    edit.show();
    settle();
    return timed([&] {
        edit.setPlainText(text);
        edit.viewport()->repaint();
    });
}

// The view's paints, timed from when the watch is made.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(QWidget *view) : view_(view)
    {
        clock_.start();
        view_->installEventFilter(this);
    }
    ~PaintWatch() override { view_->removeEventFilter(this); }
    double lastPaintMs() const { return double(lastPaint_) / 1e6; }
    int paints() const { return paints_; }
    // The area painted, in views.
    double views() const { return double(area_) / (double(view_->width()) * view_->height()); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            lastPaint_ = clock_.nsecsElapsed();
            ++paints_;
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                area_ += qint64(r.width()) * r.height();
        }
        return false;
    }

private:
    QWidget *view_;
    QElapsedTimer clock_;
    qint64 lastPaint_ = 0;
    int paints_ = 0;
    qint64 area_ = 0;
};

// Lets the event loop run, idle between events, for ms or until done says so.
void runEvents(int ms, const std::function<bool()> &done = {})
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QTimer check;
    if (done) {
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        check.start(1);
    }
    loop.exec();
}

// A press of a dialog's button as a user makes it: the click makes the dialog the active window
// if it is not, then presses; everything the press sets off (activations, which come back from
// the window system a while later, focus, repaints) runs before it counts as done. The time to
// the view's last repaint; CPU time and paints added up.
double press(QPushButton *button, QWidget *view, double &cpu, int &paints, double &views)
{
    const double cpuBefore = cpuMs();
    PaintWatch watch(view);
    QWidget *dialog = button->window();
    if (!dialog->isActiveWindow()) {
        dialog->activateWindow();
        runEvents(1000, [dialog] { return dialog->isActiveWindow(); });
    }
    button->click();
    runEvents(150);
    cpu += cpuMs() - cpuBefore;
    paints += watch.paints();
    views += watch.views();
    return watch.lastPaintMs();
}

// The text as lines of the length the box cuts a long line into: what a bare widget shows of it.
QString inPieces(const QString &line)
{
    QString cut;
    cut.reserve(line.size() + line.size() / TextModel::SoftLineLength + 1);
    for (qsizetype i = 0; i < line.size(); i += TextModel::SoftLineLength) {
        if (i > 0)
            cut += u'\n';
        cut += QStringView(line).sliced(i, qMin(TextModel::SoftLineLength, line.size() - i));
    }
    return cut;
}

// The peak resident size of this process so far, in MB.
double peakMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// A name padded to 44 columns as a terminal shows it: full-width characters take two.
QByteArray padded(const char *name)
{
    const QString s = QString::fromUtf8(name);
    int width = 0;
    for (const QChar c : s)
        width += c.unicode() >= 0x3000 && !(c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 2 : 1;
    return (s + QString(qMax(0, 44 - width), u' ')).toUtf8();
}

// Pauses in typing on the big sheet as the recovery copy takes them: the first after the sheet
// was shown writes the whole copy, each later one appends what was typed to the copy's journal.
// Each timed on this thread (until the job is handed over) and in all (until the copy or the
// journal's record is on disk and the check is back).
struct PauseTimes {
    double firstMs = 0, firstTotalMs = 0;
    std::vector<double> typedMs, typedTotalMs;
    bool correct = true;
};

PauseTimes pausesInTyping(Window &win, int runs)
{
    PauseTimes times;
    // Shown afresh: no copy yet.
    win.tab(2);
    win.tab(1);
    settle();
    auto *idle = win.w->findChild<QTimer *>(QStringLiteral("idleTimer"));
    auto *recovery = win.w->findChild<RecoveryController *>();
    idle->stop();
    QTextDocument *document = win.box->document();
    // The start of a line in the middle: typing there splits no word of the text.
    const int place = document->findBlock(document->characterCount() / 2).position();
    const auto pause = [&](int keys, double &ms, double &totalMs) {
        QTextCursor typing(document);
        typing.setPosition(place);
        for (int k = 0; k < keys; ++k)
            typing.insertText(QStringLiteral("x"));
        // The pause itself is not waited for: the timer fires at once.
        const int delay = idle->interval();
        idle->stop();
        idle->setInterval(0);
        QElapsedTimer t;
        bool checked = false;
        const auto handedOver = QObject::connect(idle, &QTimer::timeout, [&] { ms = double(t.nsecsElapsed()) / 1e6; });
        const auto back = QObject::connect(recovery, &RecoveryController::encodingTipChanged, [&] { checked = true; });
        t.start();
        idle->start();
        while (!checked)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        totalMs = double(t.nsecsElapsed()) / 1e6;
        QObject::disconnect(handedOver);
        QObject::disconnect(back);
        idle->setInterval(delay);
    };
    pause(1, times.firstMs, times.firstTotalMs);
    for (int run = 0; run < runs; ++run)
        pause(100, times.typedMs.emplace_back(), times.typedTotalMs.emplace_back());
    const RecoveryCopies copies(win.dir.filePath(QStringLiteral("prog")), win.dir.filePath(QStringLiteral("state")));
    times.correct = copies.read(1).text == win.box->Text();
    return times;
}

void print(const Result &r, int &met, int &missed, bool quick)
{
    if (quick) {
        std::printf("%s %s\n", padded(r.name).constData(), r.correct ? "correct" : "WRONG");
        return;
    }
    const bool byCpu = !r.cpuMs.empty();
    const std::vector<double> &ms = byCpu ? r.cpuMs : r.ms;
    const double m = median(ms);
    const double f = median(byCpu ? r.floorCpuMs : r.floorMs);
    const double ratio = m / f;
    const bool ok = ratio <= r.goal && r.correct;
    (ok ? met : missed)++;
    std::printf("%s %8.1f ms (%7.1f-%7.1f)  floor %8.1f ms %-26s ratio %6.3f  goal <= %-5.2f %s%s\n", padded(r.name).constData(), m,
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()), f,
                r.floorName, ratio, r.goal, ok ? "met" : "MISSED", r.correct ? "" : " (WRONG RESULT)");
    if (byCpu)
        std::printf("%s %8.1f ms                    floor %8.1f ms %-26s ratio %6.3f\n", padded("    the same, wall time").constData(),
                    median(r.ms), median(r.floorMs), "", median(r.ms) / median(r.floorMs));
    std::fflush(stdout);
}

} // namespace

int windowBench(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool quick = args.contains(QStringLiteral("--quick"));
    // A child process measuring one peak: the bare widget or the window's session.
    if (args.size() >= 3 && (args[1] == QStringLiteral("--peak-bare") || args[1] == QStringLiteral("--peak-session"))) {
        // Both start from the file alone, as the window does.
        const qsizetype mb = args[2].toLongLong();
        QByteArray bytes = TextCodec::encode(makeText(mb * 1000 * 1000, 150), TextCodec::Encoding::Cp932);
        if (args[1] == QStringLiteral("--peak-bare")) {
            QTemporaryDir dir;
            Window::write(dir.filePath(QStringLiteral("bare.txt")), bytes);
            bytes = QByteArray();
            QPlainTextEdit edit;
            edit.show();
            edit.setPlainText(TextCodec::decodeAs(fileBytes(dir.filePath(QStringLiteral("bare.txt"))), TextCodec::Encoding::Cp932));
            edit.viewport()->repaint();
        } else {
            // Each step's peak goes to stderr, to see which step sets it.
            const auto step = [](const char *name) { std::fprintf(stderr, "%-16s peak %7.1f MB\n", name, peakMb()); };
            Window win(std::move(bytes));
            win.tab(1);
            step("open");
            win.box->select(win.box->toModel(win.box->document()->findBlockByNumber(1000).position()), 40);
            win.trigger("toKatakanaAction");
            step("convert");
            win.trigger("undoAction");
            step("undo");
            FindControls f = win.find();
            f.what->setText(QStringLiteral("予定"));
            f.with->setText(Replacement);
            f.find->click();
            f.replaceAll->click();
            f.close();
            step("replace all");
            win.trigger("undoAction");
            step("undo");
            win.tab(2);
            step("switch");
        }
        std::printf("%.1f\n", peakMb());
        return 0;
    }

    // For a profiler: only opening the big sheet, three times, against the bare widget reading
    // the same file; UTF-8 with LF line ends unless crlf or cp932 is given. oneline: a CP932
    // sheet of one line, opened twenty times without the bare widget (which would lay out the
    // line whole).
    if (args.size() >= 3 && args[1] == QStringLiteral("--open-only")) {
        const QString form = args.size() > 3 ? args[3] : QStringLiteral("lf");
        const qint64 size = args[2].toLongLong() * 1000 * 1000;
        if (form == QStringLiteral("oneline")) {
            const QString line = makeText(size, 0, 17).remove(u'\r').remove(u'\n');
            Window win(TextCodec::encode(line, TextCodec::Encoding::Cp932), 24 * 3600 * 1000);
            for (int run = 0; run < 20; ++run) {
                win.tab(2);
                std::printf("open %.1f ms\n", timed([&] { win.tab(1); }));
            }
            return win.box->Text() == line ? 0 : 1;
        }
        const QString text = makeText(size, 150);
        Window win(sheetBytes(text, form), 24 * 3600 * 1000); // no recovery check's thread beside it
        for (int run = 0; run < 3; ++run) {
            win.tab(2);
            double cpu = cpuMs();
            const double ms = timed([&] { win.tab(1); });
            cpu = cpuMs() - cpu;
            double bareCpu = 0;
            const double bare = bareOpen(win.sheetPath(1), form == QStringLiteral("cp932"), &bareCpu);
            std::printf("open %.1f ms, %.1f ms CPU; bare widget %.1f ms, %.1f ms CPU; CPU ratio %.3f\n", ms, cpu, bare,
                        bareCpu, cpu / bareCpu);
        }
        return win.box->Text() == text ? 0 : 1;
    }
    // For a profiler: only Find Next on the big text, 100 clicks (or as many as asked, starting
    // from the top again after the last match, so that a profile sees mostly the clicks).
    if (args.size() >= 3 && args[1] == QStringLiteral("--find-only")) {
        Window win(TextCodec::encode(makeText(args[2].toLongLong() * 1000 * 1000, 150), TextCodec::Encoding::Cp932));
        const int clicks = args.size() > 3 && args[3].toInt() > 0 ? args[3].toInt() : 100;
        FindControls f = win.find();
        f.what->setText(Needle);
        f.find->click();
        std::printf("%d clicks %.1f ms\n", clicks, timed([&] {
            for (int k = 0; k < clicks; ++k)
                (k % 100 == 0 ? f.find : f.next)->click();
        }));
        // What of it is the widget laying out the paragraphs it scrolled to (those shown, and
        // what it measured on its way): the same paragraphs laid out once more, alone.
        {
            QTextDocument *doc = win.box->document();
            std::vector<QTextBlock> laidOut;
            for (QTextBlock b = doc->firstBlock(); b.isValid(); b = b.next())
                if (b.layout()->lineCount() > 0)
                    laidOut.push_back(b);
            for (QTextBlock &b : laidOut)
                b.clearLayout();
            auto *layout = doc->documentLayout();
            const double ms = timed([&] {
                for (const QTextBlock &b : laidOut)
                    layout->blockBoundingRect(b);
            });
            std::printf("  of it laying out the %lld paragraphs laid out: %.1f ms (%.1f a click; the view is %d px high)\n",
                        qlonglong(laidOut.size()), ms, double(laidOut.size()) / std::min(clicks, 100),
                        win.box->viewport()->height());
        }
        qsizetype pos = 0;
        std::printf("Search::find %.1f ms\n", timed([&] {
            for (int k = 0; k < 100; ++k)
                pos = Search::find(win.box->Text(), Needle, pos + 1, Qt::CaseSensitive);
        }));
        pos = 0;
        std::printf("select %.1f ms\n", timed([&] {
            for (int k = 0; k < 100; ++k) {
                pos = Search::find(win.box->Text(), Needle, pos + 1, Qt::CaseSensitive);
                win.box->select(pos - 1, Needle.size());
            }
        }));
        return 0;
    }
    // For a profiler: replace-all of 10 matches (or as many as asked), the click against the
    // computation alone.
    if (args.size() >= 3 && args[1] == QStringLiteral("--replace-only")) {
        const qsizetype matches = args.size() > 3 && args[3].toLongLong() > 0 ? args[3].toLongLong() : 10;
        const QString t = makeText(args[2].toLongLong() * 1000 * 1000, matches, 16);
        Window win(TextCodec::encode(t, TextCodec::Encoding::Cp932));
        for (int run = 0; run < 3; ++run) {
            FindControls f = win.find();
            f.what->setText(Needle);
            f.with->setText(Replacement);
            f.find->click();
            const qsizetype at = win.box->SelStart();
            std::size_t edits = 0;
            std::printf("edits alone %.1f ms, ", timed([&] {
                edits = Search::replaceAllEdits(win.box->Text(), at, Needle.size(), at + 1, Needle, Replacement, Qt::CaseSensitive)
                            .edits.size();
            }));
            std::printf("%zu edits, ", edits);
            std::printf("the click %.1f ms, ", timed([&] { f.replaceAll->click(); }));
            f.close();
            settle();
            std::printf("undo %.1f ms, ", timed([&] { win.trigger("undoAction"); }));
            std::printf("the text afresh %.1f ms\n", timed([&] { win.box->Text(); }));
        }
        return 0;
    }
    const int runs = quick ? 1 : 5;
    // q7bench [big MB [middle MB]]: the sizes of the two texts.
    const qsizetype big = quick ? 1 : args.size() > 1 ? args[1].toLongLong() : 50;
    const qsizetype mid = quick ? 1 : args.size() > 2 ? args[2].toLongLong() : 10;
    const qsizetype many = quick ? 10000 : 100000;
    std::vector<Result> results;
    int met = 0;
    int missed = 0;
    QElapsedTimer all;
    all.start();

    // Big sheet: show, Find Next, one-line and whole conversions and their undo, save.
    // 150 lines start with the needle: Find Next searches about a 150th of the text per click.
    const QString text = makeText(big * 1000 * 1000, 150);
    const QByteArray bytes = TextCodec::encode(text + QString(), TextCodec::Encoding::Cp932);
    std::printf("%s: %.1f MB CP932, %lld characters, %lld lines; %d run(s) each\n", quick ? "quick" : "full",
                double(bytes.size()) / 1e6, qlonglong(text.size()), qlonglong(text.count(u'\n') + 1), runs);
    std::fflush(stdout);
    const auto edit = [](Result &r, double ms) {
        r.ms.push_back(ms);
        r.stallMs.push_back(lastStallMs);
    };
    // A sheet of one long line, no line end at all: opening it, against the bare widget showing
    // the same characters cut where the box cuts them (as one line it would lay out all of it).
    Result oneLine{"open a one-line sheet (to first paint)", {}, {}, 1.2, "(decode+setPlainText+paint)"};
    const qsizetype lineMb = quick ? 1 : 5;
    double oneLineStall = 0;
    {
        QString line = makeText(lineMb * 1000 * 1000, 0, 17);
        line.remove(u'\r').remove(u'\n');
        const QString cut = inPieces(line);
        Window lw(TextCodec::encode(line, TextCodec::Encoding::Cp932));
        for (int run = 0; run < runs; ++run) {
            const double bare = bareSetPlainText(cut);
            lw.tab(2);
            edit(oneLine, timed([&] { lw.tab(1); }));
            oneLineStall = std::max(oneLineStall, lastStallMs);
            oneLine.correct = oneLine.correct && lw.box->Text() == line;
            oneLine.floorMs.push_back(
                timed([&] { TextCodec::decodeAs(fileBytes(lw.sheetPath(1)), TextCodec::Encoding::Cp932); }) + bare);
        }
        // Scrolled to its end and typed into, it still reads back as the one line.
        lw.box->moveCursor(QTextCursor::End);
        lw.box->viewport()->repaint();
        lw.box->insertPlainText(QStringLiteral("末"));
        oneLine.correct = oneLine.correct && lw.box->Text() == line + QStringLiteral("末");
    }

    // Showing the big sheet as UTF-8 with CR LF and with LF line ends, each against the bare
    // widget reading the same file with QString::fromUtf8, and as CP932; the goal is on CPU time.
    // Each in a window of its own whose recovery check never comes: its thread would run beside
    // the opening or the bare widget, and the CPU time counts every thread.
    Result show{"show a sheet, UTF-8 CR LF (CPU to paint)", {}, {}, 1.05, "(readAll+fromUtf8+bare)"};
    Result showLf{"  the same with LF line ends", {}, {}, 1.05, "(readAll+fromUtf8+bare)"};
    Result showCp932{"  the same in CP932", {}, {}, 1.1, "(readAll+CP932+bare)"};
    for (const auto &[r, form] : {std::pair{&show, QStringLiteral("crlf")}, std::pair{&showLf, QStringLiteral("lf")},
                                  std::pair{&showCp932, QStringLiteral("cp932")}}) {
        Window sw(sheetBytes(text, form), 24 * 3600 * 1000);
        for (int run = 0; run < runs; ++run)
            showSheet(*r, sw, text, r == &showCp932);
    }

    Window win(bytes);
    Result next{"Find Next, 100 clicks", {}, {}, 1.5, "(100 indexOf)"};
    Result nextPress{"Find Next, a press to its last repaint", {}, {}, 1.5, "(bare find+select+paint)"};
    double nextPressCpu = 0;
    int nextPressPaints = 0;
    double nextPressViews = 0;
    int nextPresses = 0;
    Result line{"one line to katakana (ｶﾀｶﾅに変換)", {}, {}, 0.02, "(bare setPlainText)"};
    Result lineUndo{"  and its Undo", {}, {}, 0.02, "(bare setPlainText)"};
    Result whole{"select all + ｶﾀｶﾅに変換", {}, {}, 1.2, "(bare setPlainText)"};
    Result wholeUndo{"  and its Undo", {}, {}, 1.2, "(bare setPlainText)"};
    Result save{"leave a changed sheet (SaveSheet)", {}, {}, 1.3, "(encode+write)"};
    for (int run = 0; run < runs; ++run) {
        const double bare = bareSetPlainText(text);
        win.tab(1); // the big sheet again: the last run left it for the save

        // Find Next: 100 clicks from the top.
        win.box->setSelStart(0);
        FindControls f = win.find();
        f.what->setText(Needle);
        f.find->click();
        std::vector<qsizetype> found;
        next.ms.push_back(timed([&] {
            for (int k = 0; k < 100; ++k) {
                f.next->click();
                found.push_back(win.box->SelStart());
            }
        }));
        std::vector<qsizetype> expected;
        next.floorMs.push_back(timed([&] {
            qsizetype at = text.indexOf(Needle);
            for (int k = 0; k < 100; ++k)
                expected.push_back(at = text.indexOf(Needle, at + 1));
        }));
        next.correct = next.correct && found == expected;

        // Find Next pressed as a user presses it, ten times, each to the view's last repaint;
        // the floor is the bare widget finding, selecting and painting the same matches.
        double pressMs = 0;
        for (int k = 0; k < 10; ++k) {
            pressMs += press(f.next, win.box->viewport(), nextPressCpu, nextPressPaints, nextPressViews);
            found.push_back(win.box->SelStart());
            ++nextPresses;
        }
        nextPress.ms.push_back(pressMs / 10);
        {
            QPlainTextEdit bareEdit;
            bareEdit.resize(win.box->viewport()->size());
            bareEdit.setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            bareEdit.show();
            settle();
            bareEdit.setTextCursor(bareEdit.document()->find(Needle, 0, QTextDocument::FindCaseSensitively));
            for (int k = 0; k < 100; ++k)
                bareEdit.setTextCursor(bareEdit.document()->find(Needle, bareEdit.textCursor(), QTextDocument::FindCaseSensitively));
            settle();
            double bareMs = 0;
            for (int k = 0; k < 10; ++k) {
                QElapsedTimer t;
                t.start();
                bareEdit.setTextCursor(bareEdit.document()->find(Needle, bareEdit.textCursor(), QTextDocument::FindCaseSensitively));
                bareEdit.viewport()->repaint();
                bareMs += double(t.nsecsElapsed()) / 1e6;
            }
            nextPress.floorMs.push_back(bareMs / 10);
        }
        for (int k = 0; k < 10; ++k) {
            qsizetype at = expected.back();
            expected.push_back(text.indexOf(Needle, at + 1));
        }
        nextPress.correct = nextPress.correct && found == expected;
        f.close();
        settle();

        // One line in the middle.
        const qsizetype start = text.indexOf(u'\n', text.size() / 2) + 1;
        const qsizetype length = text.indexOf(u'\r', start) - start;
        win.box->select(start, length);
        edit(line, timed([&] { win.trigger("toKatakanaAction"); }));
        line.floorMs.push_back(bare);
        const QString converted = win.box->Text();
        line.correct = line.correct && converted.size() >= text.size() - length && converted.first(start) == text.first(start)
                       && converted != text;
        edit(lineUndo, timed([&] { win.trigger("undoAction"); }));
        lineUndo.floorMs.push_back(bare);
        lineUndo.correct = lineUndo.correct && win.box->Text() == text;

        // The whole text.
        win.trigger("selectAllAction");
        edit(whole, timed([&] { win.trigger("toKatakanaAction"); }));
        whole.floorMs.push_back(bare);
        whole.correct = whole.correct && win.box->Text() != text;
        edit(wholeUndo, timed([&] { win.trigger("undoAction"); }));
        wholeUndo.floorMs.push_back(bare);
        wholeUndo.correct = wholeUndo.correct && win.box->Text() == text;

        // Save: the sheet is changed; leaving it writes it. The window has shown the Undo first,
        // as it would have long before a user leaves the sheet: a save lets the window paint, and
        // the paint held back since would be counted to it.
        settle();
        const QString saved = win.box->Text();
        edit(save, timed([&] { win.tab(2); }));
        save.floorMs.push_back(timed([&] {
            QFile out(win.dir.filePath(QStringLiteral("plain.txt")));
            if (out.open(QIODevice::WriteOnly))
                out.write(TextCodec::encode(saved, TextCodec::Encoding::Cp932));
        }));
        const QString written = TextCodec::decodeAs(fileBytes(win.sheetPath(1)), TextCodec::Encoding::Cp932);
        // A sheet file ends with a line break.
        save.correct = save.correct && written == saved + QStringLiteral("\r\n");
        std::fflush(stdout);
    }

    // The stall test also takes replace-all of a common word on the big text, and its Undo.
    double bigReplaceMs = 0, bigReplaceStall = 0;
    double bigUndoMs = 0, bigUndoStall = 0;
    PauseTimes pauses;
    double replaceClickMs = 0;
    qsizetype bigMatches = 0;
    {
        win.tab(1);
        const QString word = QStringLiteral("予定");
        bigMatches = text.count(word);
        FindControls f = win.find();
        f.what->setText(word);
        f.with->setText(Replacement);
        f.find->click();
        bigReplaceMs = timed([&] { f.replaceAll->click(); });
        bigReplaceStall = lastStallMs;
        f.close();
        settle();
        bigUndoMs = timed([&] { win.trigger("undoAction"); });
        bigUndoStall = lastStallMs;
        showCp932.correct = showCp932.correct && win.box->Text() == text;
        pauses = pausesInTyping(win, runs);

        // Replace, one match at a time: each click searches on in the kept text.
        f = win.find();
        f.what->setText(word);
        f.with->setText(Replacement);
        f.find->click();
        replaceClickMs = timed([&] {
            for (int k = 0; k < 10; ++k)
                f.replace->click();
        }) / 10;
        showCp932.correct = showCp932.correct && win.box->Text().count(word) == bigMatches - 10;
        f.close();
        settle();
    }

    // Replace all in the middle-sized text: many matches, then few.
    Result many_{"replace all, many matches", {}, {}, 0.5, "(bare setPlainText)"};
    Result manyUndo{"  Undo after replace all", {}, {}, 0.5, "(bare setPlainText)"};
    Result few{"replace all, 10 matches", {}, {}, 0.05, "(bare setPlainText)"};
    for (auto [matches, result, undo] : {std::tuple{many, &many_, &manyUndo}, std::tuple{qsizetype(10), &few, (Result *)nullptr}}) {
        const QString t = makeText(mid * 1000 * 1000, matches, 16);
        // As a user does: Find selects the first match, Replace All goes on from it.
        const qsizetype firstMatch = t.indexOf(Needle);
        const QString reference =
            Search::replaceAll(t, firstMatch, Needle.size(), firstMatch + 1, Needle, Replacement, Qt::CaseSensitive).text;
        Window rw(TextCodec::encode(t, TextCodec::Encoding::Cp932));
        rw.tab(1);
        for (int run = 0; run < runs; ++run) {
            const double bare = bareSetPlainText(t);
            rw.box->setSelStart(0);
            FindControls f = rw.find();
            f.what->setText(Needle);
            f.with->setText(Replacement);
            f.find->click();
            edit(*result, timed([&] { f.replaceAll->click(); }));
            result->floorMs.push_back(bare);
            result->correct = result->correct && rw.box->Text() == reference;
            f.close();
            settle();
            const double u = timed([&] { rw.trigger("undoAction"); });
            const bool back = rw.box->Text() == t;
            if (undo) {
                edit(*undo, u);
                undo->floorMs.push_back(bare);
                undo->correct = undo->correct && back;
            } else {
                result->correct = result->correct && back;
            }
        }
    }
    if (!quick)
        std::printf("\n%-44s %8s    %-17s  %-36s %-12s  %s\n", "operation", "median", "(min-max)", "floor, median",
                    "ratio", "goal");
    const auto longestStall = [](const Result &r) { return *std::max_element(r.stallMs.begin(), r.stallMs.end()); };
    double longestBig = 0;
    for (const Result *r : {&line, &lineUndo, &whole, &wholeUndo})
        longestBig = std::max(longestBig, longestStall(*r));
    for (const Result *r : {&show, &showLf, &showCp932, &oneLine, &next, &nextPress, &many_, &few, &manyUndo, &line, &lineUndo, &whole, &wholeUndo, &save})
        print(*r, met, missed, quick);
    bool allCorrect = true;
    for (const Result *r : {&show, &showLf, &showCp932, &oneLine, &next, &nextPress, &many_, &few, &manyUndo, &line, &lineUndo, &whole, &wholeUndo, &save})
        allCorrect = allCorrect && r->correct;
    allCorrect = allCorrect && pauses.correct;
    if (!quick) {
        // Peak memory, each in a fresh process.
        const auto child = [&](const char *mode) {
            QProcess p;
            p.start(QCoreApplication::applicationFilePath(),
                    {QLatin1String(mode), QString::number(big), QStringLiteral("-platform"), QStringLiteral("offscreen")});
            p.waitForFinished(-1);
            return p.readAllStandardOutput().trimmed().toDouble();
        };
        const double bareMb = child("--peak-bare");
        const double sessionMb = child("--peak-session");
        const double ratio = sessionMb / bareMb;
        const bool ok = ratio <= 1.2;
        (ok ? met : missed)++;
        std::printf("%-44s %8.1f MB                       bare widget %6.1f MB            ratio %6.3f  goal <= 1.2   %s\n",
                    "peak memory, open+convert+undo+replace+undo+switch", sessionMb, bareMb, ratio, ok ? "met" : "MISSED");
        std::printf("\nthe window unresponsive on the %lld MB text (longest stretch without an event-loop turn):\n",
                    qlonglong(big));
        std::printf("  %s %6.0f ms of %6.0f ms\n", padded("replace all (one run)").constData(), bigReplaceStall, bigReplaceMs);
        std::printf("    (%lld matches)\n", qlonglong(bigMatches));
        std::printf("  %s %6.0f ms of %6.0f ms\n", padded("  its Undo").constData(), bigUndoStall, bigUndoMs);
        for (const Result *r : {&line, &lineUndo, &whole, &wholeUndo, &show, &showLf, &showCp932, &save})
            std::printf("  %s %6.0f ms of %6.0f ms\n", padded(r->name).constData(), longestStall(*r),
                        *std::max_element(r->ms.begin(), r->ms.end()));
        std::printf("  %s %6.0f ms, on disk after %6.0f ms\n", padded("the first pause in typing (whole copy)").constData(),
                    pauses.firstMs, pauses.firstTotalMs);
        const double typedTotal = median(pauses.typedTotalMs);
        const bool typedOk = typedTotal < 5 && pauses.correct;
        (typedOk ? met : missed)++;
        std::printf("  %s %6.1f ms, on disk after %6.1f ms; goal < 5 ms: %s%s\n",
                    padded("a pause after 100 typed characters").constData(), median(pauses.typedMs), typedTotal,
                    typedOk ? "met" : "MISSED", pauses.correct ? "" : " (WRONG RESULT)");
        const bool oneLineOk = oneLineStall <= 250;
        (oneLineOk ? met : missed)++;
        std::printf("  %s %6.0f ms of %6.0f ms; limit 250 ms: %s\n", padded("open the one-line sheet").constData(), oneLineStall,
                    *std::max_element(oneLine.ms.begin(), oneLine.ms.end()), oneLineOk ? "met" : "MISSED");
        std::printf("  (%lld MB of one line)\n", qlonglong(lineMb));
        std::printf("  %s %6.1f ms\n", padded("Replace, one click").constData(), replaceClickMs);
        std::printf("Find Next, a press: %.1f ms of CPU, %.1f repaints of the view covering %.2f of it\n",
                    nextPressCpu / nextPresses, double(nextPressPaints) / nextPresses, nextPressViews / nextPresses);
        const double longest = std::max({longestBig, bigReplaceStall, bigUndoStall, pauses.firstMs});
        std::printf("longest for an edit command: %.0f ms; limit 250 ms: %s\n", longest, longest <= 250 ? "met" : "MISSED");
        std::printf("total %.0f s\n", double(all.elapsed()) / 1000);
        std::printf("goals: %d met, %d missed\n", met, missed);
    } else {
        std::printf("%s %s\n", padded("pauses in typing, the recovery copy").constData(), pauses.correct ? "correct" : "WRONG");
        std::printf("%s\n", allCorrect ? "all results correct" : "SOME RESULTS WRONG");
    }
    return allCorrect ? 0 : 1;
}

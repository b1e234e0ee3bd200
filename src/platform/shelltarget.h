#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// What "open" makes of a whole text where the desktop has no such call of its own: a program to
// start, a file, folder or URL for the desktop's handlers, or nothing. The text is never split
// into a program and its arguments and never given to a shell, so "/usr/bin/gedit memo.txt"
// names nothing.
namespace ShellTarget {

enum class Kind { Execute, OpenLocal, OpenUrl, NotFound };

struct Target {
    Kind kind = Kind::NotFound;
    QString program;  // Execute: the program's absolute path
    QUrl url;         // OpenLocal, OpenUrl: what the desktop's handler is given
};

// In order: an existing path (absolute, or relative to the current folder; an executable
// regular file is started unless its type is a document's, anything else opened), then "scheme:..." with a scheme of two or
// more characters (so "C:" is none), then a name without '/' that is an executable file in one
// of searchPath's folders. Blanks around the text, which a typed command easily picks up, are
// dropped unless the text names an existing file as it stands.
Target classify(const QString &text, const QStringList &searchPath);

// The folders of PATH as it is now. Empty entries, which a shell takes as the current folder,
// are left out: classify() has tried the current folder already.
QStringList searchPath();

// Starts programs and hands URLs to the desktop, each reporting whether that worked.
class Starter {
public:
    virtual ~Starter() = default;
    virtual bool startDetached(const QString &program) = 0;  // without arguments
    virtual bool openUrl(const QUrl &url) = 0;
};

// Returned when the text was handed on: above 32, like the Windows desktop's own successes,
// so that a caller testing either way reads it the same.
inline constexpr int Opened = 33;

// Classifies the text and hands it to the starter: Opened, or ShellOpen::NotFound when the
// text names nothing or the start fails.
int open(const QString &text, const QStringList &searchPath, Starter &starter);

} // namespace ShellTarget

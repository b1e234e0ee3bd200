#pragma once

#include <QString>

// Where a copy of the program keeps its sheets and phrases, and where its manual lies. A copy
// whose folder the user may write to keeps everything beside itself (a portable copy, the build
// folder). An installed copy (its folder not writable, or its manual installed under
// ../share/q7zibo rather than beside it, as an install as root leaves it) keeps them in the
// user's own data folder, so that nothing is ever written beside a shared program.
struct DataDir {
    QString dir;       // sheet files and the phrase file; also what one running copy is kept per
    QString helpFile;  // the manual: beside the program, else in ../share/q7zibo
    bool perUser = false;

    // The rule, with the writability of exeDir given (so that it can be tried by anyone, root
    // included). userDataHome is the user's data folder ($XDG_DATA_HOME, %LOCALAPPDATA%).
    static DataDir choose(const QString &exeDir, bool exeDirWritable, const QString &userDataHome);
    // The rule as it applies to this user now.
    static DataDir locate(const QString &exeDir);
    // Whether this user may create files in dir.
    static bool isWritable(const QString &dir);
    // Creates the per-user folder on first use; false (with a warning) when that fails.
    bool create() const;
    // Gives the per-user folder its seven empty sheet files where they are missing, as the
    // build does beside the program; a file that exists is never touched.
    void createSheetFiles() const;
};

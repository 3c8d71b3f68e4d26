#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// Exit codes shared by every command.
enum ExitCode { Ok = 0, SomeFailed = 1, UsageError = 2 };

/// Output streams of one run, so tests and callers can capture them.
struct Io {
    QTextStream& out;
    QTextStream& err;
};

/// Expands folders into the supported audio files below them, recursively and sorted by
/// path; files are taken as given.
QStringList collectAudioFiles(const QStringList& paths);

/// Reads the value of --tag-mode at args[i + 1]; false (with a message) when it is not 1-3.
bool takeTagMode(const QStringList& args, int& i, int& tagMode, const QString& command,
                 QTextStream& err);

int runShow(const QStringList& args, Io io);
int runSet(const QStringList& args, Io io);
int runCacheText(const QStringList& args, Io io);
int runFrames(const QStringList& args, Io io);
int runList(const QStringList& args, Io io);
int runLng(const QStringList& args, Io io);
int runRename(const QStringList& args, Io io);
int runRestructure(const QStringList& args, Io io);
int runGenerate(const QStringList& args, Io io);
int runExtract(const QStringList& args, Io io);

} // namespace cli

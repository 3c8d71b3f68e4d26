#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTest>

/// Skips the current test row when a sample file is missing: the peer samples live beside
/// the checkout and may not be there in every environment.
#define VARLO_REQUIRE_FILE(path)                                                                   \
    do {                                                                                           \
        if (!QFileInfo::exists(path))                                                              \
            QSKIP(qPrintable(QStringLiteral("sample not available: %1").arg(path)));               \
    } while (false)

/// What one run of varlo-cli printed.
struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

/// Runs varlo-cli with `args` as a script would, waiting at most a minute.
inline CliRun runCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(VARLO_CLI_PATH), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

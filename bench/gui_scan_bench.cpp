// Main window scan benchmark (figures, not a test): opens a folder in TFormMain, offscreen,
// and prints how soon the rows come, how long the event loop was held up, the memory each
// file costs and how quickly a scan stops.
//
// usage: gui-scan-bench [--cache] FOLDER
//   plain:   the folder scanner reads every file (the tag cache is off);
//   --cache: the tag cache is on; the folder is opened twice, the first run fills the cache.
// Settings, cache database and the rest live in a temporary home that is removed at the end.
#include "app/commandset.h"
#include "app/filelistmodel.h"
#include "app/mainwindow.h"
#include "app/prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <ctime>
#include <functional>
#include <memory>

namespace {

/// Answers nothing: the benchmark opens folders without unsaved changes, so no question
/// should come; one that does is counted and shows up in the output.
class SilentPrompter : public app::TPrompter {
public:
    int questions = 0;
    Answer askSaveChanges(const QString&) override {
        ++questions;
        return Answer::No;
    }
    void inform(const QString&, const QString&) override { ++questions; }
    void showProblems(const QString&, const QString&, const QStringList&) override { ++questions; }
    bool confirm(const QString&) override {
        ++questions;
        return true;
    }
    QString chooseFolder(const QString&) override { return {}; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override {
        return {};
    }
    operations::DuplicateAnswer askDuplicateName(const operations::DuplicateQuestion&) override {
        return {};
    }
};

/// A value of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when unknown.
long statusKiB(const QByteArray& key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

/// Sets the peak RSS back to the current RSS, so each run measures its own peak.
bool resetPeakRss() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

/// CPU time the calling thread has used, in nanoseconds.
qint64 threadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

/// Measures the longest gap between the ticks of a 5 ms timer: how long the GUI thread was
/// kept from its event loop. The CPU time the GUI thread used during that gap tells whether
/// it was busy (our work) or waiting for a processor (other load on the machine).
class StallMeter {
public:
    StallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        m_longestNs = 0;
        m_longestCpuNs = 0;
        m_clock.start();
        m_lastNs = 0;
        m_lastCpuNs = threadCpuNs();
        m_timer.start();
    }
    /// Counts the gap up to now as well (the loop may have been held up until the end).
    void stop() {
        tick();
        m_timer.stop();
    }
    double longestMs() const { return m_longestNs / 1e6; }
    /// The GUI thread's CPU time during the longest gap.
    double longestCpuMs() const { return m_longestCpuNs / 1e6; }

private:
    void tick() {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 cpu = threadCpuNs();
        if (now - m_lastNs > m_longestNs) {
            m_longestNs = now - m_lastNs;
            m_longestCpuNs = cpu - m_lastCpuNs;
        }
        m_lastNs = now;
        m_lastCpuNs = cpu;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
    qint64 m_lastCpuNs = 0;
    qint64 m_longestCpuNs = 0;
};

struct ScanFigures {
    double openReturnedMs = -1; ///< how long openPath() held the GUI thread
    double firstRowMs = -1;
    double lastRowMs = -1;
    double finishedMs = -1;
    int rows = 0;
    double longestStallMs = 0;
    double longestStallCpuMs = 0;
    long peakGrowthKiB = -1;
};

double elapsedMs(const QElapsedTimer& clock) {
    return clock.nsecsElapsed() / 1e6;
}

/// Runs the event loop until `done` is true or `timeoutMs` has passed.
void spinUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

/// Opens `folder` and waits for the end of its scan.
ScanFigures measureOpen(app::TFormMain& window, const QString& folder) {
    window.closeCurrentFolder(); // openPath ignores the folder that is open already
    app::TFileListModel& files = window.folderFiles();
    ScanFigures figures;
    QElapsedTimer clock;
    bool finished = false;
    const auto rowsAdded = QObject::connect(&files, &QAbstractItemModel::rowsInserted, [&] {
        if (files.fileCount() == figures.rows)
            return; // the "Scanning..." line
        figures.rows = files.fileCount();
        figures.lastRowMs = elapsedMs(clock);
        if (figures.firstRowMs < 0)
            figures.firstRowMs = figures.lastRowMs;
    });
    const auto ended = QObject::connect(&window, &app::TFormMain::scanFinished, [&] {
        figures.finishedMs = elapsedMs(clock);
        finished = true;
    });
    const bool peakReset = resetPeakRss();
    const long rssBefore = statusKiB("VmRSS");
    StallMeter stalls;
    clock.start();
    stalls.start();
    window.openPath(folder);
    figures.openReturnedMs = elapsedMs(clock);
    spinUntil([&] { return finished; }, 30 * 60 * 1000);
    stalls.stop();
    figures.longestStallMs = stalls.longestMs();
    figures.longestStallCpuMs = stalls.longestCpuMs();
    if (peakReset)
        figures.peakGrowthKiB = statusKiB("VmHWM") - rssBefore;
    QObject::disconnect(rowsAdded);
    QObject::disconnect(ended);
    return figures;
}

void printScan(QTextStream& out, const QString& title, const ScanFigures& f) {
    out << title << ": " << f.rows << " files\n";
    out << QStringLiteral("  openPath() returned after %1 ms\n").arg(f.openReturnedMs, 0, 'f', 1);
    out << QStringLiteral("  first row %1 ms, last row %2 ms (%3 rows/s), scan finished %4 ms\n")
               .arg(f.firstRowMs, 0, 'f', 1)
               .arg(f.lastRowMs, 0, 'f', 1)
               .arg(f.lastRowMs > 0 ? qRound(f.rows * 1000.0 / f.lastRowMs) : 0)
               .arg(f.finishedMs, 0, 'f', 1);
    out << QStringLiteral(
               "  longest event-loop stall %1 ms (GUI thread on the CPU for %2 ms of it)\n")
               .arg(f.longestStallMs, 0, 'f', 1)
               .arg(f.longestStallCpuMs, 0, 'f', 1);
    if (f.peakGrowthKiB >= 0 && f.rows > 0)
        out << QStringLiteral("  peak RSS growth %1 KiB, %2 bytes per file\n")
                   .arg(f.peakGrowthKiB)
                   .arg(f.peakGrowthKiB * 1024 / f.rows);
    else
        out << "  peak RSS growth unknown (/proc/self/clear_refs not writable)\n";
    out.flush();
}

/// Starts a scan of `folder`, stops it after 200 ms and watches for a second whether
/// anything of it still arrives.
void measureStop(QTextStream& out, app::TFormMain& window, const QString& folder) {
    window.closeCurrentFolder();
    app::TFileListModel& files = window.folderFiles();
    window.openPath(folder);
    QElapsedTimer clock;
    clock.start();
    StallMeter stalls;
    stalls.start();
    spinUntil([&] { return clock.elapsed() >= 200; }, 200);
    const bool wasScanning = window.isScanning();
    const int rowsBefore = files.fileCount();
    QElapsedTimer stopClock;
    stopClock.start();
    window.stopScan();
    const double stopMs = stopClock.nsecsElapsed() / 1e6;
    const bool stillScanning = window.isScanning();
    const int rowsAtStop = files.fileCount(); // stop() hands over the files held back
    int lateSignals = 0;
    const auto late =
        QObject::connect(&window, &app::TFormMain::scanFinished, [&] { ++lateSignals; });
    spinUntil([] { return false; }, 1000);
    stalls.stop();
    QObject::disconnect(late);
    out << QStringLiteral("stop after 200 ms%1: stop() returned in %2 ms with %3 rows listed "
                          "(%4 of them handed over by stop()); in the second after it %5 rows "
                          "and %6 scanFinished arrived; still scanning: %7; longest stall %8 ms "
                          "(%9 ms on the CPU)\n")
               .arg(wasScanning ? QString() : QStringLiteral(" (the scan had already ended)"))
               .arg(stopMs, 0, 'f', 3)
               .arg(rowsAtStop)
               .arg(rowsAtStop - rowsBefore)
               .arg(files.fileCount() - rowsAtStop)
               .arg(lateSignals)
               .arg(stillScanning ? "yes" : "no")
               .arg(stalls.longestMs(), 0, 'f', 1)
               .arg(stalls.longestCpuMs(), 0, 'f', 1);
    out.flush();
}

/// Points HOME and the XDG folders at `home` so no setting of the user is read or written.
void useHome(const QTemporaryDir& home) {
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qputenv(name, QFile::encodeName(home.filePath(QString::fromLatin1(name))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    useHome(home);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setOrganizationName(QStringLiteral("Halvern"));
    QApplication::setApplicationName(QStringLiteral("Varlo"));
    QApplication application(argc, argv);

    QStringList args = QApplication::arguments().mid(1);
    const bool cache = args.removeAll(QStringLiteral("--cache")) > 0;
    QTextStream out(stdout);
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: gui-scan-bench [--cache] FOLDER\n";
        return 2;
    }
    const QString folder = args.first();

    auto prompter = std::make_unique<SilentPrompter>();
    const SilentPrompter* questions = prompter.get();
    app::TFormMain window(nullptr, std::move(prompter));
    window.options().setValue(QStringLiteral("chkCache"), cache);
    window.commands().setShowChangeWarning(false);
    window.show();
    window.setReady();
    spinUntil([] { return false; }, 200); // let the window settle

    if (cache) {
        printScan(out, QStringLiteral("cache on, first opening (fills the cache)"),
                  measureOpen(window, folder));
        printScan(out, QStringLiteral("cache on, second opening (from the cache)"),
                  measureOpen(window, folder));
    } else {
        printScan(out, QStringLiteral("cache off, folder scanner"), measureOpen(window, folder));
    }
    measureStop(out, window, folder);
    if (questions->questions > 0)
        out << questions->questions << " question(s) or notice(s) were shown\n";
    return 0;
}

#pragma once

#include <QMainWindow>

#include <memory>

namespace app {

class PlayerHandOff;

/// The main window: folder tree, file list and the commands that work on it.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    /// Opens a folder or a playlist file (".m3u", ".pls", ".fls") in the file list. Ignored
    /// until the window is ready and when the path is already open.
    void openPath(const QString& path);
    /// The folder or playlist file now shown; empty when nothing is open.
    QString currentFolder() const { return m_currentFolder; }

    /// Set at the first idle moment after start; before it, tree selections open nothing.
    void setReady() { m_ready = true; }
    bool isReady() const { return m_ready; }

    /// The player that files handed over at start or by a second start go to.
    PlayerHandOff& player() { return *m_player; }

private:
    QString m_currentFolder;
    bool m_ready = false;
    std::unique_ptr<PlayerHandOff> m_player;
};

} // namespace app

#pragma once

#include <QMainWindow>

namespace app {

/// The main window: folder tree, file list and the commands that work on it.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
};

} // namespace app

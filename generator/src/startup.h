#pragma once

#include <QString>
#include <functional>
#include <memory>

class QApplication;

namespace numbrook::gui {

class MainWindow;
class MessagePresenter;

using MainWindowFactory = std::function<std::unique_ptr<MainWindow>()>;

// The message shown when the main window cannot be built.
QString startupFailureText();
inline constexpr int kStartupFailureExitCode = -1;

// Builds the main window, shows it and runs the event loop until it closes.
// When the window cannot be built, tells the user through `messages` and
// returns kStartupFailureExitCode; otherwise returns the event loop's code.
int runNumbrook(QApplication& app, const MainWindowFactory& createWindow,
                MessagePresenter& messages);

}  // namespace numbrook::gui

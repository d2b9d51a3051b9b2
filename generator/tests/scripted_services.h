#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "main_window.h"

namespace numbrook::gui::testing {

// Answers the file dialog from a script: each display takes the next answer
// (a path, or nothing for Cancel). A display with no answer left is counted
// and cancelled, so a test never waits for a real dialog.
class ScriptedFilePrompt final : public FilePrompt {
public:
    struct Display {
        DialogKind kind;
        QString proposedFileName;
    };

    std::optional<QString> ask(DialogKind kind, const QString& proposedFileName) override {
        displays.push_back({kind, proposedFileName});
        if (whileShown) whileShown();
        if (answers.empty()) {
            ++unanswered;
            return std::nullopt;
        }
        const bool confirmed = answers.front().has_value();
        const QString path = confirmed ? *answers.front() : QString();
        answers.pop_front();
        if (!confirmed) return std::nullopt;
        return path;
    }

    std::deque<std::optional<QString>> answers;
    std::vector<Display> displays;
    int unanswered = 0;
    // Runs while the dialog is "open", that is in the middle of a handler.
    std::function<void()> whileShown;
};

class RecordingMessages final : public MessagePresenter {
public:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
    };

    void show(const QString& text, const QString& title, MessageIcon icon) override {
        shown.push_back({text, title, icon});
    }

    std::vector<Message> shown;
};

// A main window whose dialogs and message boxes are answered by the test.
struct ScriptedWindow {
    std::unique_ptr<MainWindow> window;
    ScriptedFilePrompt* files = nullptr;
    RecordingMessages* messages = nullptr;

    static ScriptedWindow create() {
        ScriptedWindow scripted;
        auto files = std::make_unique<ScriptedFilePrompt>();
        auto messages = std::make_unique<RecordingMessages>();
        scripted.files = files.get();
        scripted.messages = messages.get();
        scripted.window = MainWindow::create({std::move(files), std::move(messages)});
        return scripted;
    }

    // Shows the window and waits until it can take keyboard focus.
    bool show() {
        window->show();
        QApplication::setActiveWindow(window.get());
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    template <typename Widget>
    Widget* get(std::string_view name) const {
        return window->control<Widget>(name);
    }
};

}  // namespace numbrook::gui::testing

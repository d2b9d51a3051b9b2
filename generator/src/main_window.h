#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string_view>

#include "file_dialog.h"
#include "message_box.h"
#include "numbrook/engine.h"
#include "numbrook/window_ops.h"

class QAbstractButton;
class QButtonGroup;
class QProgressDialog;

namespace numbrook::gui {

class EditBox;
class UpDownControl;

// What the window asks the user through; the defaults are the real Qt
// dialogs, tests pass scripted stand-ins.
struct WindowServices {
    std::unique_ptr<FilePrompt> files;           // null: a QFileDialog
    std::unique_ptr<MessagePresenter> messages;  // null: QMessageBox
};

// The generator's one window. It is built from the static window definition,
// hands every bound control event to the number engine and gives the engine
// its view of the controls.
class MainWindow final : public QWidget, public WindowOps {
    Q_OBJECT
public:
    // Builds the window and raises its created event. Returns null when the
    // window cannot be built (no screen to place it on, artwork missing).
    static std::unique_ptr<MainWindow> create(WindowServices services = {});
    ~MainWindow() override;

    Engine& engine() { return engine_; }
    CommonFileDialog& fileDialog() { return *fileDialog_; }

    // A control by the name it is addressed with; null for an unknown name.
    QWidget* control(std::string_view name) const;
    template <typename Widget>
    Widget* control(std::string_view name) const {
        return qobject_cast<Widget*>(control(name));
    }
    UpDownControl* spinnerOf(std::string_view editBoxName) const;

    // True while a handler runs; clicks on the action buttons are ignored then.
    bool isRunningHandler() const { return runningHandler_; }

    // WindowOps
    std::string editText(std::string_view controlName) const override;
    void setCheckDisplay(const std::string& gbText) override;
    bool isChecked(std::string_view controlName) const override;
    void setStartInputMode(InputMode mode) override;
    void setDialogKind(DialogKind kind) override;
    bool showDialog() override;
    QString dialogFileName() const override;
    void showMessage(const QString& text, const QString& title, MessageIcon icon) override;
    void reportProgress(std::uint64_t done, std::uint64_t total) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit MainWindow(WindowServices services);

    bool build();
    void wireEvents();
    void placeOnPrimaryScreen();
    void onCreated();
    // Runs one action handler to its end; a second one asked for meanwhile
    // (possible while a long run keeps the window painting) is dropped.
    template <typename Handler>
    void runHandler(Handler handler);
    void finishProgress();

    Engine engine_;
    std::unique_ptr<MessagePresenter> messages_;
    CommonFileDialog* fileDialog_ = nullptr;
    QHash<QString, QWidget*> controls_;
    QHash<QString, UpDownControl*> spinners_;
    QButtonGroup* modeGroup_ = nullptr;
    QButtonGroup* directionGroup_ = nullptr;

    bool runningHandler_ = false;
    bool closeRequestedWhileRunning_ = false;
    QPointer<QProgressDialog> progress_;
    QElapsedTimer progressRefresh_;
    int progressValue_ = -1;
};

// Maps the Windows font faces the window names to the CJK fonts installed on
// Linux. Safe to call more than once.
void installFontSubstitutes();

}  // namespace numbrook::gui

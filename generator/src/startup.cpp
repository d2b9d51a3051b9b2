#include "startup.h"

#include <QApplication>
#include <cfenv>

#include "main_window.h"
#include "message_box.h"

namespace numbrook::gui {

QString startupFailureText() {
    return QStringLiteral("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
}

int runNumbrook(QApplication& app, const MainWindowFactory& createWindow,
                MessagePresenter& messages) {
    // Round to nearest with every floating-point exception masked, whatever
    // the environment the process was started from.
    std::fenv_t startEnvironment;
    std::feholdexcept(&startEnvironment);
    std::fesetround(FE_TONEAREST);

    std::unique_ptr<MainWindow> window = createWindow ? createWindow() : nullptr;
    if (!window) {
        messages.show(startupFailureText(), QStringLiteral("错误"), MessageIcon::Error);
        return kStartupFailureExitCode;
    }
    app.setWindowIcon(window->windowIcon());
    window->show();
    window->activateWindow();
    return app.exec();
}

}  // namespace numbrook::gui

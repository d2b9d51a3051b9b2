#include <QApplication>

#include "main_window.h"
#include "message_box.h"
#include "startup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Numbrook"));
    QApplication::setApplicationVersion(QStringLiteral(NUMBROOK_VERSION));
    numbrook::gui::QtMessagePresenter messages;
    return numbrook::gui::runNumbrook(
        app, [] { return numbrook::gui::MainWindow::create(); }, messages);
}

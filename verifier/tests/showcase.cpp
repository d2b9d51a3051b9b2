// Shows both windows with sample input, for the README screenshots: the main window first, the
// help window after the given delay in milliseconds, then quits. See take-screenshots.sh.
#include <QApplication>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "appearance.h"
#include "form1.h"
#include "qt_user_channel.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(tallisk::programPixmap()));
    tallisk::installFontSubstitutes();
    const int delay = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 2000;

    tallisk::QtUserChannel user;
    tallisk::Form1 form1(user);
    form1.show();
    const std::pair<const char*, const char*> sample[] = {{"Text1", "49015420323751"},
                                                          {"Text3", "35693803"},
                                                          {"Text4", "000001"},
                                                          {"Text5", "000100"}};
    for (const auto& [name, text] : sample) {
        form1.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
    }

    QTimer::singleShot(delay, &form1, [&form1] {
        form1.findChild<QPushButton*>(QStringLiteral("Help"))->click();
    });
    QTimer::singleShot(2 * delay, &app, &QApplication::quit);
    return app.exec();
}

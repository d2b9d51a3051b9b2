#include <QApplication>
#include <QIcon>

#include "appearance.h"
#include "form1.h"
#include "qt_user_channel.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallisk"));
    QApplication::setApplicationVersion(QStringLiteral(TALLISK_VERSION));
    QApplication::setWindowIcon(QIcon(tallisk::programPixmap()));
    tallisk::installFontSubstitutes();

    tallisk::QtUserChannel user;
    tallisk::Form1 form1(user);
    form1.show();
    return app.exec();
}

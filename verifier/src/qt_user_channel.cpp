#include "qt_user_channel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>

namespace tallisk {

void QtUserChannel::showMessage(const QString& text) {
    // No owner window: the box is modal for the whole program.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tallisk"), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QString QtUserChannel::clipboardText() {
    return QGuiApplication::clipboard()->text();
}

void QtUserChannel::replaceClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

}  // namespace tallisk

#include "message_box.h"

#include <QMessageBox>

namespace numbrook::gui {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtMessagePresenter::show(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(toQtIcon(icon), title, text, QMessageBox::Ok, nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace numbrook::gui

#include "form3.h"

#include <QIcon>
#include <QLabel>
#include <QPixmap>

#include "appearance.h"
#include "help_text.h"

namespace tallisk {

Form3::Form3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowIcon(QIcon(programPixmap()));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(twips(5460), twips(4950));
    // The window names no font, so it takes the usual dialog font of a Chinese desktop.
    setFont(windowsFont(kSongTi, 9, 400));
    setAutoFillBackground(true);
    setRoleColour(*this, QPalette::Window, Qt::black);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(twipsRect(3960, 4200, 1110, 225));
    image1->setPixmap(QPixmap(QStringLiteral(":/tallisk/signature.png")));
    image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The program has no menu; its signature tells which version this is.
    image1->setToolTip(QStringLiteral("Tallisk " TALLISK_VERSION));

    auto* label1 = new QLabel(helpTextForDisplay(), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twipsRect(120, 120, 5175, 4695));
    label1->setTextFormat(Qt::PlainText);
    label1->setWordWrap(true);
    label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1->setAutoFillBackground(true);
    setRoleColour(*label1, QPalette::Window, QColor(192, 192, 192));

    // The signature lies in front of the text label.
    image1->raise();
    centreOnScreen(*this);
}

}  // namespace tallisk

#pragma once

#include <QDialog>

namespace tallisk {

// The help window: the help text on a grey label and a signature in its lower right corner.
// Modeless; it deletes itself when closed and is closed together with its main window.
class Form3 final : public QDialog {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
};

}  // namespace tallisk

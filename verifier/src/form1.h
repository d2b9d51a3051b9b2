#pragma once

#include <QPointer>
#include <QWidget>

#include "handlers.h"

class QLineEdit;
class QPushButton;

namespace tallisk {

class Form3;

// The main window: the single-number band above the line, the batch band below it.
class Form1 final : public QWidget, private FormView {
    Q_OBJECT
public:
    explicit Form1(UserChannel& user, QWidget* parent = nullptr);
    ~Form1() override;

    // The help window while it exists.
    Form3* helpWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString boxText(Box box) const override;
    void setBoxText(Box box, const QString& text) override;
    void moveFocus(FocusTarget target) override;

    QLineEdit* lineEdit(Box box) const;
    void showHelp();

    Handlers handlers_;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLineEdit* text5_ = nullptr;
    QLineEdit* text8_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPointer<Form3> form3_;
};

}  // namespace tallisk

#pragma once

#include <QString>

namespace tallisk {

enum class Box { Text1, Text2, Text3, Text4, Text5, Text8 };
enum class FocusTarget { Text4, Text5, Command3 };

// What the handlers need of the main window. The window must call Handlers::boxChanged whenever
// a box's text really changes, whether the user typed it or setBoxText wrote it.
class FormView {
public:
    virtual QString boxText(Box box) const = 0;
    virtual void setBoxText(Box box, const QString& text) = 0;
    virtual void moveFocus(FocusTarget target) = 0;

protected:
    ~FormView() = default;
};

// Everything that reaches outside the window: message boxes and the system clipboard. Tests
// answer it with a scripted stand-in so that nothing blocks.
class UserChannel {
public:
    // A modal message with only an OK button, no icon, titled "Tallisk".
    virtual void showMessage(const QString& text) = 0;
    virtual QString clipboardText() = 0;
    // Empties the clipboard, then puts `text` on it as plain text.
    virtual void replaceClipboardText(const QString& text) = 0;

protected:
    ~UserChannel() = default;
};

QString tacFacMessage();
QString endBelowStartMessage();
QString completionMessage(qint64 entries);
QString writeFailureMessage(const QString& path, const QString& reason);

// The batch file, always in the current working directory.
QString csvFileName();

// The behaviour of the main window, one member per control event.
class Handlers {
public:
    Handlers(FormView& form, UserChannel& user) : form_(form), user_(user) {}

    void boxChanged(Box box);
    void command7Clicked();  // paste into Text1
    void command5Clicked();  // copy Text2
    void command3Clicked();  // write the batch into imei.csv of the current directory

private:
    void applyBoxRule(Box box, qsizetype length, FocusTarget next);
    void zeroFill(Box box);

    FormView& form_;
    UserChannel& user_;
};

}  // namespace tallisk

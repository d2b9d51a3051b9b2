#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "handlers.h"

namespace tallisk::testing_support {

// The main window reduced to its box texts: a real change of a text reaches the handlers, as it
// does in the window, and focus moves are recorded.
class FakeForm final : public FormView {
public:
    void attach(Handlers& handlers) { handlers_ = &handlers; }

    QString boxText(Box box) const override {
        const auto it = texts_.find(box);
        return it == texts_.end() ? QString() : it->second;
    }
    void setBoxText(Box box, const QString& text) override {
        if (boxText(box) == text) return;
        texts_[box] = text;
        if (handlers_) handlers_->boxChanged(box);
    }
    void moveFocus(FocusTarget target) override { focusMoves.push_back(target); }

    std::vector<FocusTarget> focusMoves;

private:
    Handlers* handlers_ = nullptr;
    std::map<Box, QString> texts_{{Box::Text8, QStringLiteral("1")}};
};

// Answers every message box at once and keeps what it was shown.
class ScriptedUser final : public UserChannel {
public:
    void showMessage(const QString& text) override { messages << text; }
    QString clipboardText() override { return clipboard; }
    void replaceClipboardText(const QString& text) override {
        clipboard.clear();
        clipboard = text;
        ++clipboardWrites;
    }

    QStringList messages;
    QString clipboard;
    int clipboardWrites = 0;
};

}  // namespace tallisk::testing_support

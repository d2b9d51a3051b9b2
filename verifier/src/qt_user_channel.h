#pragma once

#include "handlers.h"

namespace tallisk {

// Message boxes and the clipboard of the running desktop.
class QtUserChannel final : public UserChannel {
public:
    void showMessage(const QString& text) override;
    QString clipboardText() override;
    void replaceClipboardText(const QString& text) override;
};

}  // namespace tallisk

#pragma once

#include <QString>

#include "numbrook/window_ops.h"

namespace numbrook::gui {

// Shows a message with a single OK button and waits until it is closed.
// Tests replace the Qt implementation with a recorder so no test waits on a
// modal window.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void show(const QString& text, const QString& title, MessageIcon icon) = 0;
};

// Message boxes without an owner window, modal for the whole program, so no
// window of the program takes input until the user has answered.
class QtMessagePresenter final : public MessagePresenter {
public:
    void show(const QString& text, const QString& title, MessageIcon icon) override;
};

}  // namespace numbrook::gui

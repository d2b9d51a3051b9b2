#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <string>

#include "numbrook/window_ops.h"

namespace numbrook::cli {

// Stands in for the main window: the edit boxes, radio buttons and the
// check box hold what the command line gave (or the window's initial
// contents), and the file dialog answers with the paths given. Messages are
// collected for the caller to print.
class CliWindow final : public WindowOps {
public:
    CliWindow();

    void setEditText(std::string_view controlName, const QString& text);
    void setChecked(std::string_view controlName, bool checked);
    void setDialogAnswer(DialogKind kind, const QString& path);
    void setProgressShown(bool shown) { progressShown_ = shown; }

    const QStringList& messages() const { return messages_; }
    const std::string& checkDisplay() const { return checkDisplay_; }

    std::string editText(std::string_view controlName) const override;
    void setCheckDisplay(const std::string& gbText) override { checkDisplay_ = gbText; }
    bool isChecked(std::string_view controlName) const override;
    void setStartInputMode(InputMode) override {}
    void setDialogKind(DialogKind kind) override { dialogKind_ = kind; }
    bool showDialog() override;
    QString dialogFileName() const override { return dialogFileName_; }
    void showMessage(const QString& text, const QString& title, MessageIcon icon) override;
    void reportProgress(std::uint64_t done, std::uint64_t total) override;

private:
    std::map<std::string, QString, std::less<>> editTexts_;
    std::map<std::string, bool, std::less<>> checked_;
    std::map<DialogKind, QString> dialogAnswers_;
    DialogKind dialogKind_ = DialogKind::Save;
    QString dialogFileName_;
    std::string checkDisplay_;
    QStringList messages_;
    bool progressShown_ = false;
    int lastPercent_ = -1;
};

}  // namespace numbrook::cli

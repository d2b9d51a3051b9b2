#include "cli_window.h"

#include <QStringEncoder>
#include <cstdio>

namespace numbrook::cli {

CliWindow::CliWindow() {
    // The main window's initial contents.
    for (auto name :
         {control::kCountBox, control::kStepBox, control::kCopiesBox, control::kColumnsBox}) {
        setEditText(name, QStringLiteral("1"));
    }
    setEditText(control::kStartBox, QString());
    setChecked(control::kImeiRadio, true);
    setChecked(control::kMeidRadio, false);
    setChecked(control::kIncreaseRadio, true);
    setChecked(control::kDecreaseRadio, false);
    setChecked(control::kShuffleCheck, false);
}

void CliWindow::setEditText(std::string_view controlName, const QString& text) {
    editTexts_[std::string(controlName)] = text;
}

void CliWindow::setChecked(std::string_view controlName, bool checked) {
    checked_[std::string(controlName)] = checked;
}

void CliWindow::setDialogAnswer(DialogKind kind, const QString& path) {
    dialogAnswers_[kind] = path;
}

std::string CliWindow::editText(std::string_view controlName) const {
    const auto it = editTexts_.find(controlName);
    if (it == editTexts_.end()) return {};
    QStringEncoder toCodePage("GB18030");
    const QByteArray bytes = toCodePage(it->second);
    return bytes.toStdString();
}

bool CliWindow::isChecked(std::string_view controlName) const {
    const auto it = checked_.find(controlName);
    return it != checked_.end() && it->second;
}

bool CliWindow::showDialog() {
    const auto it = dialogAnswers_.find(dialogKind_);
    if (it == dialogAnswers_.end()) return false;
    dialogFileName_ = it->second;
    return true;
}

void CliWindow::showMessage(const QString& text, const QString&, MessageIcon) {
    messages_ << text;
}

void CliWindow::reportProgress(std::uint64_t done, std::uint64_t total) {
    if (!progressShown_ || total == 0) return;
    const int percent = static_cast<int>(std::min<std::uint64_t>(100, done * 100 / total));
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    std::fprintf(stderr, "progress: %d%%\n", percent);
    std::fflush(stderr);
}

}  // namespace numbrook::cli

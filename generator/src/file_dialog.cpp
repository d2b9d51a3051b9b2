#include "file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace numbrook::gui {

QtFilePrompt::QtFilePrompt(QWidget* owner) : owner_(owner) {}

QtFilePrompt::~QtFilePrompt() {
    delete dialog_.data();
}

QString QtFilePrompt::nameFilter() {
    // Qt takes the last parenthesised group as the pattern list and shows
    // the whole entry, so this one string gives both the visible
    // description and the *.txt pattern.
    return QStringLiteral("文本文件(*.txt)");
}

std::optional<QString> QtFilePrompt::ask(DialogKind kind, const QString& proposedFileName) {
    if (!dialog_) {
        dialog_ = new QFileDialog(owner_);
        dialog_->setNameFilter(nameFilter());
        dialog_->setDefaultSuffix(QStringLiteral("txt"));
        dialog_->setWindowModality(Qt::WindowModal);
    }
    QFileDialog& dialog = *dialog_;
    if (kind == DialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    dialog.selectNameFilter(nameFilter());
    const QFileInfo proposed(proposedFileName);
    if (proposedFileName.isEmpty()) {
        dialog.selectFile(QString());
    } else if (proposed.isDir()) {
        dialog.setDirectory(proposed.absoluteFilePath());
        dialog.selectFile(QString());
    } else {
        if (proposed.dir().exists()) dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QFileInfo(chosen.first()).absoluteFilePath();
}

CommonFileDialog::CommonFileDialog(std::unique_ptr<FilePrompt> prompt, QObject* parent)
    : QObject(parent), prompt_(std::move(prompt)) {}

bool CommonFileDialog::show() {
    std::optional<QString> chosen = prompt_->ask(kind_, fileName_);
    if (!chosen) return false;
    fileName_ = *chosen;
    return true;
}

}  // namespace numbrook::gui

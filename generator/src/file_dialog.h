#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

#include "numbrook/window_ops.h"

class QFileDialog;
class QWidget;

namespace numbrook::gui {

// Asks the user for one file. Returns the chosen full path, or nothing when
// the user cancelled. Tests answer it with a script instead of a real dialog.
class FilePrompt {
public:
    virtual ~FilePrompt() = default;
    virtual std::optional<QString> ask(DialogKind kind, const QString& proposedFileName) = 0;
};

// One QFileDialog, kept and reused for every display so it remembers the
// folder the user browsed to.
class QtFilePrompt final : public FilePrompt {
public:
    explicit QtFilePrompt(QWidget* owner);
    ~QtFilePrompt() override;

    std::optional<QString> ask(DialogKind kind, const QString& proposedFileName) override;

    // The single filter entry; its visible description is "文本文件(*.txt)".
    static QString nameFilter();

private:
    QWidget* owner_;
    QPointer<QFileDialog> dialog_;
};

// The window's file dialog object: callers set the kind, show it and read the
// file name. The kind and the last confirmed path survive between displays,
// so the next display proposes the path confirmed last, whichever handler
// confirmed it.
class CommonFileDialog final : public QObject {
    Q_OBJECT
public:
    CommonFileDialog(std::unique_ptr<FilePrompt> prompt, QObject* parent);

    DialogKind kind() const { return kind_; }
    void setKind(DialogKind kind) { kind_ = kind; }
    const QString& fileName() const { return fileName_; }

    // True when the user confirmed a file; the file name is then its full path.
    bool show();

private:
    std::unique_ptr<FilePrompt> prompt_;
    DialogKind kind_ = DialogKind::Save;
    QString fileName_;
};

}  // namespace numbrook::gui
